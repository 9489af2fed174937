// Numbers as the scene files write them, and their lines as error messages
// quote them: what both scene formats share.
#pragma once

#include <charconv>
#include <cmath>
#include <string>
#include <string_view>
#include <system_error>
#include <type_traits>

namespace sim {

enum class NumberText { Number, Malformed, OutOfRange, NotFinite };

// The whole text as one number of type T (decimal; no sign "+", no
// blanks).
template <typename T>
NumberText readNumber(std::string_view text, T& value) {
    const char* end = text.data() + text.size();
    auto result = std::from_chars(text.data(), end, value);
    if (result.ptr != end) return NumberText::Malformed;
    if (result.ec == std::errc::result_out_of_range) return NumberText::OutOfRange;
    if (result.ec != std::errc()) return NumberText::Malformed;
    if constexpr (std::is_floating_point_v<T>)
        if (!std::isfinite(value)) return NumberText::NotFinite;
    return NumberText::Number;
}

// The shortest text that reads back as the same double.
std::string formatNumber(double value);

// The start of a line for an error message, in double quotes, cut before a
// UTF-8 character that would not fit whole.
std::string quotedLine(std::string_view line);

}  // namespace sim
