#include "simhost/scene/host_scene_lines.h"

namespace sim {

namespace {

const char kBlanks[] = " \t";
const char kLineEnds[] = "\r\n";
const char kCarriageReturn = '\r';
const char kLineFeed = '\n';
const char kBlockOpen = '{';
const char kBlockClose[] = "}";

}  // namespace

bool SceneLines::peek(SceneLine& line) const {
    if (at_ >= text_.size()) return false;
    size_t end = text_.find_first_of(kLineEnds, at_);
    if (end == std::string_view::npos) end = text_.size();
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
    const size_t start = text.find_first_not_of(kBlanks);
    if (start == std::string_view::npos) return {};
    return text.substr(start, text.find_last_not_of(kBlanks) - start + 1);
}

size_t indentation(std::string_view text) {
    const size_t start = text.find_first_not_of(' ');
    return start == std::string_view::npos ? text.size() : start;
}

std::string_view firstWord(std::string_view text, std::string_view& rest) {
    const size_t start = text.find_first_not_of(kBlanks);
    if (start == std::string_view::npos) {
        rest = {};
        return {};
    }
    size_t end = text.find_first_of(kBlanks, start);
    if (end == std::string_view::npos) end = text.size();
    const size_t restStart = text.find_first_not_of(kBlanks, end);
    rest = restStart == std::string_view::npos ? std::string_view() : text.substr(restStart);
    return text.substr(start, end - start);
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
