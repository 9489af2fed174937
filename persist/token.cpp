#include "persist/token.h"

#include <cstring>

namespace kelto {

namespace {

const char kKeywordEnd = ' ';

// A binary block's size is 16 bits, so no unit in it is longer; a host that
// reads on past that without a NUL ends the line there.
const long kMostBinaryUnitBytes = 65535;

// A binary unit: its bytes up to the NUL, the first `size` - 1 kept. False
// when the data ends before a byte of it.
bool readBinaryLine(const host::LoadState& state, char* buffer, int size) {
    const int kOneByte = 1;
    int kept = 0;
    for (long read = 0; read < kMostBinaryUnitBytes; ++read) {
        char byte = '\0';
        if (state.read(state.readData, &byte, kOneByte) < kOneByte) return read > 0;
        if (byte == '\0') return true;
        if (kept < size - 1) buffer[kept++] = byte;
    }
    return true;
}

}  // namespace

bool readLine(const host::LoadState& state, char* buffer, int size) {
    if (buffer == nullptr || size <= 0) return false;
    std::memset(buffer, 0, static_cast<size_t>(size));
    if (state.read == nullptr) return false;
    if (state.ioMode != host::kIoModeAscii) return readBinaryLine(state, buffer, size);
    int result = state.read(state.readData, buffer, size);
    // Whatever the host wrote, the text ends inside the buffer.
    buffer[size - 1] = '\0';
    return result >= 0;
}

bool readToken(const host::LoadState& state, Token& token) {
    char line[kLineSize];
    bool read = readLine(state, line, kLineSize);
    size_t length = 0;
    while (line[length] != '\0' && line[length] != kKeywordEnd) ++length;
    std::memcpy(token.text, line, length);
    token.text[length] = '\0';
    return read;
}

bool keywordMatches(const char* keyword, const Token& token) {
    return std::strncmp(token.text, keyword, std::strlen(token.text)) == 0;
}

const char* argumentsAfter(const char* keyword, const char* line) {
    size_t length = std::strlen(keyword);
    if (std::strncmp(line, keyword, length) != 0) return nullptr;
    if (line[length] == '\0') return line + length;
    return isBlank(line[length]) ? line + length + 1 : nullptr;
}

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

char* trimBlanks(char* line) {
    size_t length = std::strlen(line);
    while (length > 0 && isBlank(line[length - 1])) line[--length] = '\0';
    while (isBlank(*line)) ++line;
    return line;
}

}  // namespace kelto
