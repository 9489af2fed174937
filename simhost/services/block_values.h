// How the load and save states store one number: in a binary file as its bytes, big-endian; in a text
// file as a word, signed integers in decimal, unsigned ones in hex of their full width, floating ones as
// the shortest text that reads back to the same value ("nan", "inf" and "-inf" included).
#pragma once

#include <charconv>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string>
#include <type_traits>

namespace sim {

template <size_t kBytes>
struct BitsOf;
template <>
struct BitsOf<1> {
    typedef uint8_t Type;
};
template <>
struct BitsOf<2> {
    typedef uint16_t Type;
};
template <>
struct BitsOf<4> {
    typedef uint32_t Type;
};
template <>
struct BitsOf<8> {
    typedef uint64_t Type;
};

const unsigned kBitsPerByte = 8;
const int kDecimalBase = 10, kHexBase = 16;

template <typename T>
void appendBytes(std::string& out, T value) {
    typename BitsOf<sizeof(T)>::Type bits;
    std::memcpy(&bits, &value, sizeof bits);
    for (size_t n = sizeof bits; n-- > 0;) out.push_back(static_cast<char>(bits >> (n * kBitsPerByte) & 0xFF));
}

// The value whose big-endian bytes begin at `bytes` (sizeof(T) of them).
template <typename T>
T valueOfBytes(const char* bytes) {
    typename BitsOf<sizeof(T)>::Type bits = 0;
    for (size_t n = 0; n < sizeof bits; ++n)
        bits = static_cast<decltype(bits)>(bits << kBitsPerByte | static_cast<unsigned char>(bytes[n]));
    T value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

template <typename T>
void appendWord(std::string& out, T value) {
    const size_t kLongest = 40;  // a double's shortest text is 24 bytes at most
    char text[kLongest];
    char* end;
    if constexpr (std::is_floating_point_v<T>) {
        end = std::to_chars(text, text + kLongest, value).ptr;
    } else if constexpr (std::is_signed_v<T>) {
        end = std::to_chars(text, text + kLongest, static_cast<long long>(value)).ptr;
    } else {
        // Every digit of the width, so that a byte is always its two digits.
        end = text + 2 * sizeof(T);
        unsigned long long bits = value;
        for (char* at = end; at-- > text; bits >>= 4) at[0] = "0123456789ABCDEF"[bits & 0xF];
    }
    out.append(text, end);
}

// Reads one word's value from [begin, end), which holds nothing but the word. False, `value` unchanged,
// when it is no number of T's kind or lies outside T's range.
template <typename T>
bool readWord(const char* begin, const char* end, T& value) {
    if constexpr (std::is_floating_point_v<T>) {
        T read;
        std::from_chars_result result = std::from_chars(begin, end, read);
        if (result.ec != std::errc() || result.ptr != end) return false;
        value = read;
    } else {
        typedef std::conditional_t<std::is_signed_v<T>, long long, unsigned long long> Wide;
        Wide read;
        const int base = std::is_signed_v<T> ? kDecimalBase : kHexBase;
        std::from_chars_result result = std::from_chars(begin, end, read, base);
        if (result.ec != std::errc() || result.ptr != end) return false;
        if (read < static_cast<Wide>(std::numeric_limits<T>::min()) ||
            read > static_cast<Wide>(std::numeric_limits<T>::max()))
            return false;
        value = static_cast<T>(read);
    }
    return true;
}

}  // namespace sim
