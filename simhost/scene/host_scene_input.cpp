#include "simhost/scene/host_scene_input.h"

#include <cmath>

#include "simhost/scene/number_text.h"
#include "simhost/scene/scene_file.h"

namespace sim {

namespace {

const int kHex = 16;

std::string withUsage(const std::string& what, std::string_view usage) {
    return usage.empty() ? what : what + " (" + std::string(usage) + ")";
}

}  // namespace

bool HostSceneInput::fail(int line, const std::string& what) {
    if (fault_.empty()) {
        fault_ = what;
        faultLine_ = line;
    }
    return false;
}

bool HostSceneInput::number(std::string_view word, int line, double& value, std::string_view usage) {
    switch (readNumber(word, value)) {
        case NumberText::Number: break;
        case NumberText::Malformed: return fail(line, withUsage(quotedLine(word) + " is not a number", usage));
        case NumberText::OutOfRange: return fail(line, quotedLine(word) + " is out of range");
        case NumberText::NotFinite: return fail(line, quotedLine(word) + " is not a finite number");
    }
    // So that the difference of two, and its square, stays finite.
    if (std::fabs(value) > kMaxKeyNumber)
        return fail(line, quotedLine(word) + " lies outside -" + formatNumber(kMaxKeyNumber) + " to " +
                              formatNumber(kMaxKeyNumber));
    return true;
}

bool HostSceneInput::wholeNumber(std::string_view word, int line, long long least, long long most, long long& value,
                                 std::string_view usage) {
    if (readNumber(word, value) == NumberText::Number && value >= least && value <= most) return true;
    return fail(line, withUsage(quotedLine(word) + " is not a whole number from " + std::to_string(least) + " to " +
                                    std::to_string(most),
                                usage));
}

bool HostSceneInput::itemNumber(std::string_view word, int line, uint32_t& value) {
    const char* end = word.data() + word.size();
    auto result = std::from_chars(word.data(), end, value, kHex);
    if (!word.empty() && result.ptr == end && result.ec == std::errc()) return true;
    return fail(line, quotedLine(word) + " is not an item number (eight hexadecimal digits)");
}

bool HostSceneInput::skipBlock(const SceneLine& opening) {
    size_t depth = 1;
    SceneLine line;
    while (depth > 0) {
        if (!lines.next(line))
            return fail(opening.number, "the block " + quotedLine(trimmed(opening.text)) + " has no closing \"}\"");
        if (isBlockOpening(line.text)) ++depth;
        if (isBlockClosing(line.text)) --depth;
    }
    return true;
}

bool HostSceneInput::addKey(int line) {
    if (++keys_ <= maxKeys_) return true;
    return fail(line, "more than " + std::to_string(maxKeys_) + " keys");
}

bool HostSceneInput::addBlockLine(int line) {
    if (++blockLines_ <= kMaxBlockLines) return true;
    return fail(line, "more than " + std::to_string(kMaxBlockLines) + " lines in channel modifiers' blocks");
}

}  // namespace sim
