// The start and end lines of Kelto's block, known to Kelto Focus too, which
// reads the references of a scene moved from Kelto.
#pragma once

namespace kelto {

extern const char kBlockStart[];  // "KELTO_START"
extern const char kBlockEnd[];    // "KELTO_END"

}  // namespace kelto
