// Small text helpers that the simulated host's reports share.
#pragma once

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

}  // namespace sim
