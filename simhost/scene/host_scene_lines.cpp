#include "simhost/scene/host_scene_lines.h"

namespace sim {

namespace {

// Blanks separate words: the host writes spaces, editors may write tabs.
bool isBlank(char c) { return c == ' ' || c == '\t'; }
const char kCarriageReturn = '\r';
const char kLineFeed = '\n';
const char kBlockOpen = '{';
const char kBlockClose[] = "}";

}  // namespace

bool SceneLines::peek(SceneLine& line) const {
    if (at_ >= text_.size()) return false;
    // A byte at a time: find_first_of would search the two line ends for
    // every byte of the file.
    size_t end = at_;
    while (end < text_.size() && text_[end] != kLineFeed && text_[end] != kCarriageReturn) ++end;
    size_t endingSize = 0;
    if (end < text_.size())
        endingSize = text_[end] == kCarriageReturn && end + 1 < text_.size() && text_[end + 1] == kLineFeed ? 2 : 1;
    line.text = text_.substr(at_, end - at_);
    line.ending = text_.substr(end, endingSize);
    line.begin = at_;
    line.number = number_ + 1;
    return true;
}

bool SceneLines::next(SceneLine& line) {
    if (!peek(line)) return false;
    at_ = line.end();
    ++number_;
    return true;
}

std::string_view trimmed(std::string_view text) {
    size_t start = 0, end = text.size();
    while (start < end && isBlank(text[start])) ++start;
    while (end > start && isBlank(text[end - 1])) --end;
    return text.substr(start, end - start);
}

size_t indentation(std::string_view text) {
    const size_t start = text.find_first_not_of(' ');
    return start == std::string_view::npos ? text.size() : start;
}

std::string_view firstWord(std::string_view text, std::string_view& rest) {
    size_t start = 0;
    while (start < text.size() && isBlank(text[start])) ++start;
    size_t end = start;
    while (end < text.size() && !isBlank(text[end])) ++end;
    size_t restStart = end;
    while (restStart < text.size() && isBlank(text[restStart])) ++restStart;
    const std::string_view word = text.substr(start, end - start);
    rest = text.substr(restStart);
    return word;
}

void splitWords(std::string_view text, std::vector<std::string_view>& words) {
    words.clear();
    std::string_view rest = text;
    while (true) {
        std::string_view word = firstWord(rest, rest);
        if (word.empty()) return;
        words.push_back(word);
    }
}

bool isBlockOpening(std::string_view line) {
    const std::string_view text = trimmed(line);
    return !text.empty() && text.front() == kBlockOpen;
}

bool isBlockClosing(std::string_view line) { return trimmed(line) == kBlockClose; }

std::string_view blockName(std::string_view line) {
    std::string_view text = trimmed(line), rest;
    if (text.empty() || text.front() != kBlockOpen) return {};
    return firstWord(text.substr(1), rest);
}

}  // namespace sim
