#include "simhost/text/printable_text.h"

#include <cstdio>
#include <string>

namespace sim {

namespace {

const unsigned char kDelete = 0x7F;
const char32_t kFirstC1 = 0x80, kLastC1 = 0x9F;
const char32_t kFirstSurrogate = 0xD800, kLastSurrogate = 0xDFFF;
const char32_t kNonCharacterFFFE = 0xFFFE, kNonCharacterFFFF = 0xFFFF;
const char32_t kLastCodePoint = 0x10FFFF;

// The bidirectional controls: invisible, they reorder the text around them,
// so that a name could show as another or hide what follows it.
const char32_t kArabicLetterMark = 0x061C;
const char32_t kLeftToRightMark = 0x200E, kRightToLeftMark = 0x200F;
const char32_t kFirstEmbedding = 0x202A, kLastEmbedding = 0x202E;  // LRE RLE PDF LRO RLO
const char32_t kFirstIsolate = 0x2066, kLastIsolate = 0x2069;      // LRI RLI FSI PDI

bool isBidirectionalControl(char32_t code) {
    return code == kArabicLetterMark || code == kLeftToRightMark || code == kRightToLeftMark ||
           (code >= kFirstEmbedding && code <= kLastEmbedding) || (code >= kFirstIsolate && code <= kLastIsolate);
}

bool isContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }
// A UTF-8 character's lead byte has at most this many after it.
const size_t kMostContinuationBytes = 3;

// The length of the well-formed, printable UTF-8 character at `at`, or 0
// when the byte there has to be escaped.
size_t printableLength(const std::string& text, size_t at) {
    unsigned char lead = static_cast<unsigned char>(text[at]);
    if (lead < 0x20 || lead == kDelete) return 0;
    if (lead < 0x80) return 1;
    size_t length;
    char32_t code;
    char32_t smallest;  // below it the sequence is overlong
    if ((lead & 0xE0) == 0xC0)
        length = 2, code = lead & 0x1F, smallest = 0x80;
    else if ((lead & 0xF0) == 0xE0)
        length = 3, code = lead & 0x0F, smallest = 0x800;
    else if ((lead & 0xF8) == 0xF0)
        length = 4, code = lead & 0x07, smallest = 0x10000;
    else
        return 0;
    if (at + length > text.size()) return 0;
    for (size_t k = 1; k < length; ++k) {
        unsigned char byte = static_cast<unsigned char>(text[at + k]);
        if (!isContinuation(byte)) return 0;
        code = (code << 6) | (byte & 0x3F);
    }
    if (code < smallest || code > kLastCodePoint) return 0;
    if (code >= kFirstC1 && code <= kLastC1) return 0;
    if (code >= kFirstSurrogate && code <= kLastSurrogate) return 0;
    if (code == kNonCharacterFFFE || code == kNonCharacterFFFF) return 0;
    if (isBidirectionalControl(code)) return 0;
    return length;
}

std::string escaped(const std::string& text, bool keepLineBreaks) {
    std::string out;
    out.reserve(text.size());
    size_t at = 0;
    while (at < text.size()) {
        size_t length = printableLength(text, at);
        if (length == 0 && keepLineBreaks && text[at] == '\n') length = 1;
        if (length > 0) {
            out.append(text, at, length);
            at += length;
            continue;
        }
        char code[5];
        std::snprintf(code, sizeof code, "\\x%02X", static_cast<unsigned char>(text[at]));
        out += code;
        ++at;
    }
    return out;
}

}  // namespace

std::string printableText(const std::string& text) { return escaped(text, false); }

std::string printableLines(const std::string& text) { return escaped(text, true); }

size_t characterCut(const std::string& text, size_t most) {
    if (text.size() <= most) return text.size();
    size_t cut = most;
    while (cut > 0 && most - cut < kMostContinuationBytes && isContinuation(static_cast<unsigned char>(text[cut])))
        --cut;
    // More continuation bytes than a character has: no UTF-8, cut where it may.
    return isContinuation(static_cast<unsigned char>(text[cut])) ? most : cut;
}

std::string shownText(const std::string& text, size_t most) {
    if (text.size() <= most) return printableText(text);
    return printableText(text.substr(0, characterCut(text, most))) + "... (" + std::to_string(text.size()) + " bytes)";
}

std::string xmlText(const std::string& text) {
    std::string out;
    for (char c : printableText(text)) {
        if (c == '&')
            out += "&amp;";
        else if (c == '<')
            out += "&lt;";
        else if (c == '>')
            out += "&gt;";
        else if (c == '"')
            out += "&quot;";
        else if (c == '\'')
            out += "&apos;";
        else
            out += c;
    }
    return out;
}

}  // namespace sim
