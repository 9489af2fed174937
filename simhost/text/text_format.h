// Small text helpers that the simulated host's reports share.
#pragma once

#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <string>

namespace sim {

// "0x" and the value in upper-case hex, at least `digits` digits.
inline std::string hexText(unsigned long long value, int digits = 1) {
    char text[24];
    std::snprintf(text, sizeof text, "0x%0*llX", digits, value);
    return text;
}

// printf into a string as long as the text needs: a value wider than its
// column is printed in full, never cut off.
#if defined(__GNUC__)
__attribute__((format(printf, 1, 2)))
#endif
inline std::string
formattedText(const char* format, ...) {
    va_list arguments, again;
    va_start(arguments, format);
    va_copy(again, arguments);
    int length = std::vsnprintf(nullptr, 0, format, arguments);
    va_end(arguments);
    std::string text(length > 0 ? static_cast<size_t>(length) : 0, '\0');
    if (length > 0) std::vsnprintf(&text[0], text.size() + 1, format, again);
    va_end(again);
    return text;
}

// A server as messages name it, e.g. ChannelHandler "Kelto".
inline std::string serverText(const std::string& className, const std::string& serverName) {
    return className + " \"" + serverName + "\"";
}

}  // namespace sim
