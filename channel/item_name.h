// The room an item's name takes in an instance: the item lists copy names
// into it and the references keep them there.
#pragma once

#include <cstddef>

namespace kelto {

// 255 bytes and the NUL: the most a scene file's name line holds.
const size_t kNameSize = 256;

}  // namespace kelto
