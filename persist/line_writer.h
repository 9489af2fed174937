// Writing a block into the host's scene file, one line at a time.
#pragma once

#include "host/scene_file_states.h"

namespace kelto {

// Writes `text` as one unit whose length counts its NUL; nothing when the
// host gave no write function.
void writeLine(const host::SaveState& state, const char* text);

}  // namespace kelto
