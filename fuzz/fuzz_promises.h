// Promises the fuzz targets hold the module to after each input; a broken
// one aborts, which libFuzzer reports with the input that broke it.
#pragma once

#include <cstddef>
#include <cstdlib>
#include <cstring>

namespace fuzz {

inline void require(bool promise) {
    if (!promise) std::abort();
}

// A fixed buffer that lost its NUL would be read past its end by the host.
inline void requireTerminated(const char* text, size_t size) { require(std::memchr(text, '\0', size) != nullptr); }

}  // namespace fuzz
