// A host's block reads chosen by the fuzzer's input: any length returned,
// text with or without a NUL, the end of the data at any point.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "host/scene_file_states.h"

namespace fuzz {

// Each read takes a control byte: the top bit ends the data; the rest is how
// many of the following bytes to copy, with no NUL added.
struct UnrulyReader {
    const uint8_t* data;
    size_t size;

    static int HOST_CALL read(void* self, char* buffer, int maxLength) {
        UnrulyReader& r = *static_cast<UnrulyReader*>(self);
        if (r.size == 0) return host::kReadEndOfData;
        uint8_t control = *r.data++;
        --r.size;
        if (control & kEndBit) return host::kReadEndOfData;
        size_t count = control;
        if (count > r.size) count = r.size;
        if (count > static_cast<size_t>(maxLength)) count = static_cast<size_t>(maxLength);
        std::memcpy(buffer, r.data, count);
        r.data += count;
        r.size -= count;
        return static_cast<int>(count);
    }

    static const uint8_t kEndBit = 0x80;
};

}  // namespace fuzz
