#include "simhost/scene/number_text.h"

#include "simhost/text/printable_text.h"

namespace sim {

namespace {

// Error messages quote at most this many bytes of a line.
const size_t kQuotedBytes = 60;

}  // namespace

std::string formatNumber(double value) {
    char text[64];
    auto result = std::to_chars(text, text + sizeof text, value);
    return std::string(text, result.ptr);
}

std::string quotedLine(std::string_view line) {
    if (line.size() <= kQuotedBytes) return "\"" + std::string(line) + "\"";
    const std::string text(line.substr(0, kQuotedBytes + 4));
    return "\"" + text.substr(0, characterCut(text, kQuotedBytes)) + "...\"";
}

}  // namespace sim
