// BlockReader: a block's lines or bytes served to load, as block_states.h describes.
#include <algorithm>
#include <cstring>

#include "simhost/services/block_states.h"
#include "simhost/services/block_text.h"
#include "simhost/services/block_values.h"
#include "simhost/text/printable_text.h"

namespace sim {

namespace {

bool matches(const host::BlockIdent& ident, const std::string& token) {
    return ident.token != nullptr && token == ident.token;
}

// The id of the entry of `idents` that `found` picks, or kNoBlock.
template <typename Found>
host::IdCode pick(const host::BlockIdent* idents, Found found) {
    for (const host::BlockIdent* ident = idents; ident->id != host::kNoBlock; ++ident)
        if (found(*ident)) return ident->id;
    return host::kNoBlock;
}

}  // namespace

size_t BlockReader::openPlainBlocks() const {
    return static_cast<size_t>(std::count_if(open_.begin(), open_.end(), [](const OpenBlock& b) { return !b.leaf; }));
}

std::string BlockReader::withoutIndent(const std::string& line) const {
    size_t indent = std::min(line.find_first_not_of(' '), kBlockIndent.size() * openPlainBlocks());
    return line.substr(std::min(indent, line.size()));
}

bool BlockReader::atBlockClose() const {
    return openPlainBlocks() > 0 && next_ < lines_.size() && isBlockClose(lines_[next_]);
}

std::string* BlockReader::currentLine() {
    if (hasLine_) return &line_;
    if (!open_.empty() && open_.back().leaf) return nullptr;  // a leaf block is its one line
    if (next_ >= lines_.size() || atBlockClose()) return nullptr;
    line_ = withoutIndent(lines_[next_++]);
    hasLine_ = true;
    return &line_;
}

void BlockReader::skipToClose() {
    for (size_t depth = 1; next_ < lines_.size();) {
        const std::string& line = lines_[next_++];
        if (isBlockOpen(line))
            ++depth;
        else if (isBlockClose(line) && --depth == 0)
            return;
    }
}

size_t BlockReader::limit() const { return open_.empty() ? bytes_.size() : open_.back().end; }

bool BlockReader::unusable(const void* pointer, int count, const char* what) {
    if (count <= 0) return true;
    if (pointer != nullptr) return false;
    violations_.push_back(std::string(what) + " was given no buffer for " + std::to_string(count));
    return true;
}

BlockReader::Place BlockReader::place() const { return {next_, hasLine_, line_, open_.size()}; }

void BlockReader::goBack(const Place& from) {
    next_ = from.next;
    hasLine_ = from.hasLine;
    line_ = from.line;
    open_.resize(from.openCount);
}

int BlockReader::read(char* buffer, int maxLength) {
    ++reads_;
    size_t copied;
    if (ascii()) {
        std::string* line = currentLine();
        if (line == nullptr) return host::kReadEndOfData;
        std::string text = std::move(*line);
        hasLine_ = false;
        if (buffer == nullptr || maxLength <= 0) return 0;
        copied = characterCut(text, static_cast<size_t>(maxLength - 1));
        std::memcpy(buffer, text.data(), copied);
        buffer[copied] = '\0';
    } else {
        if (next_ >= limit()) return host::kReadEndOfData;
        if (buffer == nullptr || maxLength <= 0) return 0;
        copied = std::min(limit() - next_, static_cast<size_t>(maxLength));
        std::memcpy(buffer, bytes_.data() + next_, copied);
        next_ += copied;
    }
    return static_cast<int>(copied);
}

template <typename T>
int BlockReader::readValues(T* values, int count) {
    if (unusable(values, count, "a read of numbers")) return 0;
    size_t wanted = static_cast<size_t>(count), read = 0;
    if (!ascii()) {
        read = std::min(wanted, (limit() - std::min(next_, limit())) / sizeof(T));
        for (size_t n = 0; n < read; ++n, next_ += sizeof(T)) values[n] = valueOfBytes<T>(bytes_.data() + next_);
        return static_cast<int>(read);
    }
    std::string* line = currentLine();
    if (line == nullptr) return 0;
    WordCursor words(*line);
    for (; read < wanted; ++read) {
        T value;
        if (!words.next(value)) break;
        values[read] = value;
    }
    // The rest stays for the next read; a line read through is left behind.
    line->erase(0, words.used());
    if (line->empty()) hasLine_ = false;
    return static_cast<int>(read);
}

template int BlockReader::readValues(signed char*, int);
template int BlockReader::readValues(short*, int);
template int BlockReader::readValues(int*, int);
template int BlockReader::readValues(unsigned char*, int);
template int BlockReader::readValues(unsigned short*, int);
template int BlockReader::readValues(unsigned int*, int);
template int BlockReader::readValues(float*, int);
template int BlockReader::readValues(double*, int);

int BlockReader::readString(char* buffer, int maxLength) {
    if (unusable(buffer, maxLength, "readStr")) return 0;
    std::string text;
    if (ascii()) {
        std::string* line = currentLine();
        if (line != nullptr) {
            WordCursor words(*line);
            text = words.nextString();
            line->erase(0, words.used());
            if (line->empty()) hasLine_ = false;
        }
    } else {
        size_t end = limit(), at = std::min(next_, end);
        size_t nul = bytes_.find('\0', at);
        size_t stop = nul == std::string::npos || nul >= end ? end : nul;
        text = bytes_.substr(at, stop - at);
        next_ = std::min(stop + 1, end);
    }
    size_t copied = characterCut(text, static_cast<size_t>(maxLength - 1));
    std::memcpy(buffer, text.data(), copied);
    buffer[copied] = '\0';
    return static_cast<int>(copied);
}

host::IdCode BlockReader::readId(const host::BlockIdent* idents) {
    if (idents == nullptr) {
        violations_.push_back("readID was given no list of labels");
        return host::kNoBlock;
    }
    if (ascii()) {
        std::string* line = currentLine();
        if (line == nullptr) return host::kNoBlock;
        WordCursor words(*line);
        std::string token = words.nextWord();
        line->erase(0, words.used());
        if (line->empty()) hasLine_ = false;
        return pick(idents, [&](const host::BlockIdent& ident) { return matches(ident, token); });
    }
    if (limit() - std::min(next_, limit()) < sizeof(host::IdCode)) return host::kNoBlock;
    host::IdCode id = valueOfBytes<host::IdCode>(bytes_.data() + next_);
    next_ += sizeof id;
    return pick(idents, [&](const host::BlockIdent& ident) { return ident.id == id; });
}

host::IdCode BlockReader::findBlock(const host::BlockIdent* idents) {
    if (idents == nullptr) {
        violations_.push_back("findBlk was given no list of labels");
        return host::kNoBlock;
    }
    return ascii() ? findAsciiBlock(idents) : findBinaryBlock(idents);
}

host::IdCode BlockReader::findBinaryBlock(const host::BlockIdent* idents) {
    size_t end = limit();
    for (size_t at = std::min(next_, end); end - at >= kBinaryBlockHeader;) {
        host::IdCode id = valueOfBytes<host::IdCode>(bytes_.data() + at);
        size_t blockEnd = at + kBinaryBlockHeader + valueOfBytes<uint16_t>(bytes_.data() + at + sizeof id);
        if (blockEnd > end) break;  // a size past its enclosing block: no block
        if (pick(idents, [&](const host::BlockIdent& ident) { return ident.id == id; }) != host::kNoBlock) {
            next_ = at + kBinaryBlockHeader;
            open_.push_back({false, blockEnd});
            return id;
        }
        at = blockEnd;
    }
    return host::kNoBlock;
}

host::IdCode BlockReader::findAsciiBlock(const host::BlockIdent* idents) {
    if (!open_.empty() && open_.back().leaf) return host::kNoBlock;  // a leaf holds no block
    Place from = place();
    hasLine_ = false;  // the rest of a line read partly is no block
    while (next_ < lines_.size() && !atBlockClose()) {
        std::string line = withoutIndent(lines_[next_++]);
        bool opens = isBlockOpen(line);
        WordCursor words(line);
        if (opens) words.nextWord();
        std::string token = words.nextWord();
        host::IdCode id = pick(idents, [&](const host::BlockIdent& ident) { return matches(ident, token); });
        if (id == host::kNoBlock) {
            if (opens) skipToClose();
            continue;
        }
        open_.push_back({!opens, 0});
        if (!opens) {
            line_ = line.substr(words.used());
            hasLine_ = !line_.empty();
        }
        return id;
    }
    goBack(from);
    return host::kNoBlock;
}

void BlockReader::endBlock() {
    if (open_.empty()) return;
    OpenBlock block = open_.back();
    if (!ascii()) {
        next_ = block.end;
    } else {
        hasLine_ = false;
        if (!block.leaf) {
            while (next_ < lines_.size() && !atBlockClose())
                if (isBlockOpen(lines_[next_++])) skipToClose();
            if (next_ < lines_.size()) ++next_;  // its "}"
        }
    }
    open_.pop_back();
}

}  // namespace sim
