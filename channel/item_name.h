// The room an item's name takes in an instance: the item lists copy names
// into it and the references keep them there, cut where they must be on a
// UTF-8 character's end.
#pragma once

#include <cstddef>

namespace kelto {

// 255 bytes and the NUL: the most a scene file's name line holds.
const size_t kNameSize = 256;

// The length of the first `length` bytes of `text` without a last UTF-8
// character that they hold in part: a lead byte whose continuation bytes
// fall past `length` goes with them. Text that is no UTF-8 there is kept.
size_t wholeCharactersLength(const char* text, size_t length);

// The bytes of `text` that fit in `capacity` with a NUL, ending on a whole
// UTF-8 character.
size_t fittingLength(const char* text, size_t capacity);

}  // namespace kelto
