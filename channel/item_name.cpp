#include "channel/item_name.h"

#include <cstring>

namespace kelto {

namespace {

const unsigned char kContinuationMask = 0xC0, kContinuation = 0x80;
// The longest UTF-8 character's bytes.
const size_t kLongestCharacter = 4;

bool isContinuation(unsigned char byte) { return (byte & kContinuationMask) == kContinuation; }

// How many bytes a character that begins with `lead` takes; 1 for a byte that
// begins none, which nothing then follows.
size_t characterBytes(unsigned char lead) {
    const unsigned char kTwoBytes = 0xC0, kThreeBytes = 0xE0, kFourBytes = 0xF0, kPastFourBytes = 0xF8;
    if (lead >= kFourBytes && lead < kPastFourBytes) return 4;
    if (lead >= kThreeBytes && lead < kFourBytes) return 3;
    if (lead >= kTwoBytes && lead < kThreeBytes) return 2;
    return 1;
}

}  // namespace

size_t wholeCharactersLength(const char* text, size_t length) {
    const unsigned char* bytes = reinterpret_cast<const unsigned char*>(text);
    for (size_t back = 1; back <= kLongestCharacter && back <= length; ++back) {
        size_t at = length - back;
        if (isContinuation(bytes[at])) continue;
        return characterBytes(bytes[at]) > back ? at : length;
    }
    return length;
}

size_t fittingLength(const char* text, size_t capacity) {
    if (capacity == 0) return 0;
    size_t length = std::strlen(text);
    return length < capacity ? length : wholeCharactersLength(text, capacity - 1);
}

}  // namespace kelto
