#include "focus/number_lines.h"

#include <charconv>
#include <cstring>

#include "persist/line_writer.h"
#include "persist/token.h"

namespace kelto {

namespace {

const int kSignificantDigits = 17;
const char kSeparator = ' ';

const char* skipSeparators(const char* text) {
    while (isBlank(*text)) ++text;
    return text;
}

// Appends " value" to the line at `end`, within `last`; the new end, or null
// when it does not fit.
template <typename Number, typename... Format>
char* appendValue(char* end, char* last, Number value, Format... format) {
    if (end == nullptr || end == last) return nullptr;
    *end++ = kSeparator;
    std::to_chars_result written = std::to_chars(end, last, value, format...);
    return written.ec == std::errc() ? written.ptr : nullptr;
}

// Copies the keyword into a fresh line; the end of its text.
char* startLine(char (&line)[kLineSize], const char* keyword) {
    size_t length = std::strlen(keyword);
    if (length >= sizeof line) return nullptr;
    std::memcpy(line, keyword, length);
    return line + length;
}

// Ends the line and writes it; a line whose values did not fit is not written.
void finishLine(const host::SaveState& state, char (&line)[kLineSize], char* end) {
    if (end == nullptr || end == line + sizeof line) return;
    *end = '\0';
    writeLine(state, line);
}

}  // namespace

void writeNumberLine(const host::SaveState& state, const char* keyword, const double* values, int count) {
    char line[kLineSize];
    char* end = startLine(line, keyword);
    for (int index = 0; index < count; ++index)
        end = appendValue(end, line + sizeof line, values[index], std::chars_format::general, kSignificantDigits);
    finishLine(state, line, end);
}

void writeIntegerLine(const host::SaveState& state, const char* keyword, int32_t value) {
    char line[kLineSize];
    finishLine(state, line, appendValue(startLine(line, keyword), line + sizeof line, value));
}

bool parseNumbers(const char* text, double* values, int count) {
    if (count <= 0 || count > kMostValuesPerLine) return false;
    double read[kMostValuesPerLine];
    const char* end = text + std::strlen(text);
    const char* at = text;
    for (int index = 0; index < count; ++index) {
        at = skipSeparators(at);
        std::from_chars_result parsed = std::from_chars(at, end, read[index]);
        if (parsed.ec != std::errc()) return false;
        // Values must stand apart: "1 2" is two values, "1-2" none.
        if (!isBlank(*parsed.ptr) && parsed.ptr != end) return false;
        at = parsed.ptr;
    }
    if (*skipSeparators(at) != '\0') return false;
    std::memcpy(values, read, sizeof *values * static_cast<size_t>(count));
    return true;
}

bool parseInteger(const char* text, int32_t& value) {
    const char* end = text + std::strlen(text);
    const char* at = skipSeparators(text);
    int32_t read = 0;
    std::from_chars_result parsed = std::from_chars(at, end, read);
    if (parsed.ec != std::errc() || *skipSeparators(parsed.ptr) != '\0') return false;
    value = read;
    return true;
}

}  // namespace kelto
