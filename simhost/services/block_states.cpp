#include "simhost/services/block_states.h"

#include <algorithm>
#include <cstring>

namespace sim {

namespace {

int HOST_CALL readLine(void* reader, char* buffer, int maxLength) {
    return static_cast<BlockReader*>(reader)->read(buffer, maxLength);
}

void HOST_CALL writeUnit(void* writer, const char* bytes, int length) {
    static_cast<BlockWriter*>(writer)->write(bytes, length);
}

}  // namespace

BlockReader::BlockReader(std::vector<std::string> lines)
    : lines_(std::move(lines)), state_{host::kIoModeAscii, this, readLine} {}

int BlockReader::read(char* buffer, int maxLength) {
    ++reads_;
    if (next_ >= lines_.size()) return host::kReadEndOfData;
    const std::string& line = lines_[next_++];
    if (buffer == nullptr || maxLength <= 0) return 0;
    size_t copied = std::min(line.size(), static_cast<size_t>(maxLength - 1));
    std::memcpy(buffer, line.data(), copied);
    buffer[copied] = '\0';
    return static_cast<int>(copied);
}

BlockWriter::BlockWriter() : state_{host::kIoModeAscii, this, writeUnit} {}

void BlockWriter::write(const char* bytes, int length) {
    std::string unit = bytes != nullptr && length > 0 ? std::string(bytes, static_cast<size_t>(length)) : "";
    units_.push_back({unit, length});
}

std::vector<std::string> BlockWriter::lines() const { return linesOf(units_); }

std::vector<std::string> linesOf(const std::vector<BlockWriter::Unit>& units) {
    std::vector<std::string> lines;
    for (const BlockWriter::Unit& unit : units) lines.push_back(unit.line());
    return lines;
}

}  // namespace sim
