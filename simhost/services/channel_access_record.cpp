#include "simhost/services/channel_access_record.h"

namespace sim {

namespace {

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
