// The shapes of a block in each mode, which the reader and the writer share: an ASCII block's lines and
// words, and a binary block's header.
#pragma once

#include <cstdint>
#include <string>

#include "host/scene_file_states.h"
#include "simhost/services/block_values.h"

namespace sim {

// ASCII: each block that is not a leaf indents its lines by this much more, and is opened by a line of
// kBlockOpen and its token, and closed by a line of kBlockClose.
const std::string kBlockIndent = "  ";
const char kBlockOpen = '{', kBlockClose = '}', kQuote = '"';
// BINARY: a block's id and its 16-bit size come before its bytes.
const size_t kBinaryBlockHeader = sizeof(host::IdCode) + sizeof(uint16_t);
const size_t kLargestBinaryBlock = UINT16_MAX;

inline bool isBlank(char c) { return c == ' ' || c == '\t'; }

inline std::string trimmed(const std::string& line) {
    size_t begin = 0, end = line.size();
    while (begin < end && isBlank(line[begin])) ++begin;
    while (end > begin && isBlank(line[end - 1])) --end;
    return line.substr(begin, end - begin);
}

// "{ TOKEN": opens a block that is not a leaf.
inline bool isBlockOpen(const std::string& line) {
    std::string text = trimmed(line);
    return !text.empty() && text[0] == kBlockOpen && (text.size() == 1 || isBlank(text[1]));
}

inline bool isBlockClose(const std::string& line) { return trimmed(line) == std::string(1, kBlockClose); }

// Reads the words of one ASCII line from its start, keeping how far it has read.
class WordCursor {
public:
    explicit WordCursor(const std::string& line) : line_(line) { skipBlanks(); }

    // The next word as a number of T's kind; false, with nothing read, when it is none.
    template <typename T>
    bool next(T& value) {
        size_t end = wordEnd();
        if (end == at_ || !readWord(line_.data() + at_, line_.data() + end, value)) return false;
        at_ = end;
        skipBlanks();
        return true;
    }

    std::string nextWord() {
        size_t end = wordEnd();
        std::string word = line_.substr(at_, end - at_);
        at_ = end;
        skipBlanks();
        return word;
    }

    // A string between double quotes, which ends at the line's last quote that a blank or the line's end
    // follows, so that any quote inside it survives (and two strings on one line read as one); or else
    // the rest of the line.
    std::string nextString() {
        std::string text;
        if (at_ < line_.size() && line_[at_] == kQuote) {
            size_t close = line_.size();
            for (size_t at = line_.size(); at-- > at_ + 1 && close == line_.size();)
                if (line_[at] == kQuote && (at + 1 == line_.size() || isBlank(line_[at + 1]))) close = at;
            text = line_.substr(at_ + 1, close - at_ - 1);
            at_ = std::min(close + 1, line_.size());
        } else {
            text = trimmed(line_.substr(at_));
            at_ = line_.size();
        }
        skipBlanks();
        return text;
    }

    // How many bytes from the line's start have been read, with the blanks after them.
    size_t used() const { return at_; }

private:
    size_t wordEnd() const {
        size_t end = at_;
        while (end < line_.size() && !isBlank(line_[end])) ++end;
        return end;
    }
    void skipBlanks() {
        while (at_ < line_.size() && isBlank(line_[at_])) ++at_;
    }

    const std::string& line_;
    size_t at_ = 0;
};

}  // namespace sim
