#include "simhost/command/option_numbers.h"

#include <charconv>
#include <climits>

#include "simhost/platform/time_limit_range.h"

namespace sim {

namespace {

// `text` as one whole number, without blanks or a "+"; false when it is
// none or lies outside the type's range.
template <typename Number>
bool readWhole(const std::string& text, Number& value, bool& outOfRange) {
    const char* end = text.data() + text.size();
    auto result = std::from_chars(text.data(), end, value);
    outOfRange = result.ec == std::errc::result_out_of_range;
    return !text.empty() && result.ptr == end && result.ec == std::errc();
}

}  // namespace

std::string readTimeLimit(const std::string& option, const std::string& value, unsigned& seconds) {
    bool outOfRange;
    if (!readWhole(value, seconds, outOfRange) || seconds < 1 || seconds > kMostTimeLimitSeconds)
        return option + " takes a whole number of seconds from 1 to " + std::to_string(kMostTimeLimitSeconds);
    return "";
}

std::string readSeed(const std::string& option, const std::string& value, uint32_t& seed) {
    bool outOfRange;
    if (!readWhole(value, seed, outOfRange))
        return option + " takes a whole number from 0 to " + std::to_string(UINT32_MAX);
    return "";
}

std::string readClassVersion(const std::string& option, const std::string& value, int& version) {
    bool outOfRange;
    if (readWhole(value, version, outOfRange)) return version == 0 ? option + " takes a version other than 0" : "";
    if (outOfRange)
        return option + " takes a whole number from " + std::to_string(INT_MIN) + " to " + std::to_string(INT_MAX);
    return option + " takes a whole number";
}

}  // namespace sim
