#include "scene_states.h"

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

// The evaluation in progress. The classic record's functions carry only a
// channel ID, which the host checks against its own before using anything.
ChannelAccessRecord* g_evaluating = nullptr;

void HOST_CALL setChannel(host::ChannelId channel, double value) {
    if (g_evaluating == nullptr) return;
    g_evaluating->set(channel, value);
}

void HOST_CALL getChannel(host::ChannelId, double, double* value) {
    if (value != nullptr) *value = 0;
    if (g_evaluating != nullptr) g_evaluating->problems.push_back("getChannel was called");
}

const char* HOST_CALL channelName(host::ChannelId) {
    if (g_evaluating != nullptr) g_evaluating->problems.push_back("channelName was called");
    return "";
}

// The current record's functions carry the host's private data: the record.
void HOST_CALL setChannelCurrent(void* hostData, host::ChannelId channel, double value) {
    if (hostData != g_evaluating || g_evaluating == nullptr) {
        if (g_evaluating != nullptr) g_evaluating->problems.push_back("setChannel with another record's data");
        return;
    }
    g_evaluating->set(channel, value);
}

void HOST_CALL getChannelCurrent(void*, host::ChannelId channel, double time, double* value) {
    getChannel(channel, time, value);
}

const char* HOST_CALL channelNameCurrent(void*, host::ChannelId channel) { return channelName(channel); }


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

std::vector<std::string> BlockWriter::lines() const {
    std::vector<std::string> result;
    for (const Unit& unit : units_) result.push_back(unit.line());
    return result;
}

ChannelAccessRecord::ChannelAccessRecord(int frame, double time, double value)
    : access_{this, frame, time, value, getChannel, setChannel, channelName},
      current_{this, this, frame, time, value, getChannelCurrent, setChannelCurrent, channelNameCurrent},
      previous_(g_evaluating) {
    g_evaluating = this;
}

ChannelAccessRecord::~ChannelAccessRecord() { g_evaluating = previous_; }

void ChannelAccessRecord::set(host::ChannelId channel, double value) {
    if (channel != access_.channel) {
        problems.push_back("setChannel on another channel");
        return;
    }
    setCalls_.push_back(value);
}

}  // namespace sim
