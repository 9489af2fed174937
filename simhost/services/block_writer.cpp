// BlockWriter: what save writes, kept as block_states.h describes.
#include <algorithm>
#include <cstring>

#include "simhost/services/block_states.h"
#include "simhost/services/block_text.h"
#include "simhost/services/block_values.h"

namespace sim {

namespace {

// What a line can hold of `text`: its bytes from 32 up, the SDK leaving the others undefined.
std::string lineText(const char* text) {
    std::string kept;
    for (; *text != '\0'; ++text)
        if (static_cast<unsigned char>(*text) >= ' ') kept.push_back(*text);
    return kept;
}

}  // namespace

std::string BlockWriter::indent() const {
    std::string text;
    for (const OpenBlock& block : open_)
        if (!block.leaf) text += kBlockIndent;
    return text;
}

void BlockWriter::addLine(const std::string& text) {
    std::string line = indent() + text;
    units_.push_back({line + '\0', static_cast<int>(line.size() + 1)});
}

void BlockWriter::putWords(const std::string& words) {
    if (!open_.empty() && open_.back().leaf)
        leafLine_ += " " + words;
    else
        addLine(words);
}

bool BlockWriter::unusable(const void* pointer, int count, const char* what) {
    if (count <= 0) return true;
    if (pointer != nullptr) return false;
    violations_.push_back(std::string(what) + " was given no values for " + std::to_string(count));
    return true;
}

void BlockWriter::write(const char* bytes, int length) {
    if (!ascii()) {
        if (bytes != nullptr && length > 0) bytes_.append(bytes, static_cast<size_t>(length));
        return;
    }
    // The SDK's ASCII write takes its string up to the NUL, whatever the length given: a line.
    putWords(bytes != nullptr ? bytes : "");
}

template <typename T>
void BlockWriter::writeValues(const T* values, int count) {
    if (unusable(values, count, "a write of numbers")) return;
    std::string words;
    for (int n = 0; n < count; ++n) {
        if (!ascii()) {
            appendBytes(bytes_, values[n]);
            continue;
        }
        if (n > 0) words += ' ';
        appendWord(words, values[n]);
    }
    if (ascii()) putWords(words);
}

template void BlockWriter::writeValues(const signed char*, int);
template void BlockWriter::writeValues(const short*, int);
template void BlockWriter::writeValues(const int*, int);
template void BlockWriter::writeValues(const unsigned char*, int);
template void BlockWriter::writeValues(const unsigned short*, int);
template void BlockWriter::writeValues(const unsigned int*, int);
template void BlockWriter::writeValues(const float*, int);
template void BlockWriter::writeValues(const double*, int);

void BlockWriter::writeString(const char* text) {
    if (text == nullptr) {
        violations_.push_back("writeStr was given no string");
        return;
    }
    if (ascii())
        putWords(kQuote + lineText(text) + kQuote);
    else
        bytes_.append(text, std::strlen(text) + 1);
}

void BlockWriter::writeId(const host::BlockIdent* ident) {
    if (ident == nullptr || (ascii() && ident->token == nullptr)) {
        violations_.push_back("writeID was given no label");
        return;
    }
    if (ascii())
        putWords(lineText(ident->token));
    else
        appendBytes(bytes_, ident->id);
}

void BlockWriter::beginBlock(const host::BlockIdent* ident, int leaf) {
    // A block without a label is still opened, so that its endBlk finds it.
    if (ident == nullptr || (ascii() && ident->token == nullptr)) violations_.push_back("beginBlk was given no label");
    std::string token = ident != nullptr && ident->token != nullptr ? lineText(ident->token) : "";
    bool inLeaf = !open_.empty() && open_.back().leaf;
    if (ascii() && inLeaf) violations_.push_back("beginBlk inside a leaf block");
    if (!ascii()) {
        appendBytes(bytes_, ident != nullptr ? ident->id : host::kNoBlock);
        open_.push_back({leaf != 0, bytes_.size()});
        appendBytes(bytes_, uint16_t(0));  // its size, once endBlk knows it
    } else if (inLeaf) {
        leafLine_ += " " + token;  // kept on the leaf's line; nothing reads it back as a block
        open_.push_back({true, 0});
    } else if (leaf != 0) {
        leafLine_ = indent() + token;
        open_.push_back({true, 0});
    } else {
        addLine(std::string(1, kBlockOpen) + " " + token);
        open_.push_back({false, 0});
    }
}

void BlockWriter::endBlock() {
    if (open_.empty()) {
        violations_.push_back("endBlk with no block open");
        return;
    }
    OpenBlock block = open_.back();
    open_.pop_back();
    if (!ascii()) {
        size_t size = bytes_.size() - block.start - sizeof(uint16_t);
        if (size > kLargestBinaryBlock)
            violations_.push_back("a binary block of " + std::to_string(size) + " bytes, more than its size can say (" +
                                  std::to_string(kLargestBinaryBlock) + ")");
        std::string sizeBytes;
        appendBytes(sizeBytes, static_cast<uint16_t>(std::min(size, kLargestBinaryBlock)));
        bytes_.replace(block.start, sizeBytes.size(), sizeBytes);
    } else if (!block.leaf) {
        addLine(std::string(1, kBlockClose));
    } else if (open_.empty() || !open_.back().leaf) {
        units_.push_back({leafLine_ + '\0', static_cast<int>(leafLine_.size() + 1)});
        leafLine_.clear();
    }
}

void BlockWriter::finish() {
    if (open_.empty()) return;
    violations_.push_back("save returned with " + std::to_string(open_.size()) + " block" +
                          (open_.size() == 1 ? "" : "s") + " open");
    while (!open_.empty()) endBlock();
}

}  // namespace sim
