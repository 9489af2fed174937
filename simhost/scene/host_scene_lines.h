// The host's scene file as lines and words, read in place: the text stays
// one string, and a line or a word is a view into it, so that reading costs
// no copy of a line and no memory per line.
//
// A line ends in a line feed, a carriage return and a line feed, or a
// carriage return alone (each as the file has it: the host wrote all three
// over the years). Words are separated by blanks (spaces and tabs).
#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

namespace sim {

struct SceneLine {
    std::string_view text;    // without its ending
    std::string_view ending;  // "\n", "\r\n", "\r", or "" for a last line without one
    size_t begin = 0;         // the offset of its first byte in the file
    int number = 0;           // counted from 1

    // The offset of the line after it.
    size_t end() const { return begin + text.size() + ending.size(); }
};

class SceneLines {
public:
    explicit SceneLines(std::string_view text, size_t from = 0) : text_(text), at_(from) {}

    // The next line, if there is one; `next` moves past it, `peek` does not.
    bool next(SceneLine& line);
    bool peek(SceneLine& line) const;
    // The offset where the next line begins, and the bytes from there on.
    size_t offset() const { return at_; }
    size_t remaining() const { return text_.size() - at_; }

private:
    std::string_view text_;
    size_t at_;
    int number_ = 0;
};

// The text without blanks before and after.
std::string_view trimmed(std::string_view text);
// The number of spaces the text begins with.
size_t indentation(std::string_view text);
// The first word of the text, and in `rest` what follows it, its blanks
// before taken off.
std::string_view firstWord(std::string_view text, std::string_view& rest);
// The words of the text, into `words` (emptied first).
void splitWords(std::string_view text, std::vector<std::string_view>& words);

// A multi-line block opens on a line "{ NAME" and closes on a line "}",
// blanks aside.
bool isBlockOpening(std::string_view line);
bool isBlockClosing(std::string_view line);
// The NAME of a block's opening line.
std::string_view blockName(std::string_view line);

}  // namespace sim
