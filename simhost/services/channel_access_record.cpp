#include "simhost/services/channel_access_record.h"

#include <cmath>

#include "simhost/services/serving_thread.h"
#include "simhost/text/text_format.h"

namespace sim {

namespace {

// What the record answers for a channel other than its own, which the
// simulated host does not have.
const double kOtherChannelValue = 0;
const char kChannelName[] = "";

// The evaluation in progress. The classic record's functions carry only a
// channel ID, which the host checks against its own before using anything.
ChannelAccessRecord* g_evaluating = nullptr;

const char kRecord[] = "the channel access record";

// A call from a second thread is answered as one with no evaluation in progress.
bool fromSecondThread(const char* function) { return calledFromSecondThread(kRecord, function); }

void HOST_CALL setChannel(host::ChannelId channel, double value) {
    if (fromSecondThread("setChannel")) return;
    if (g_evaluating != nullptr) g_evaluating->set(channel, value);
}

void readChannel(host::ChannelId channel, double* value) {
    double read = g_evaluating != nullptr ? g_evaluating->get(channel) : kOtherChannelValue;
    if (value != nullptr) *value = read;
}

void HOST_CALL getChannel(host::ChannelId channel, double, double* value) {
    if (fromSecondThread("getChannel")) {
        if (value != nullptr) *value = kOtherChannelValue;
        return;
    }
    readChannel(channel, value);
}

const char* HOST_CALL channelName(host::ChannelId channel) {
    if (fromSecondThread("channelName")) return kChannelName;
    return g_evaluating != nullptr ? g_evaluating->name(channel) : kChannelName;
}

// The current record's functions carry the host's private data, which is
// neither the record nor the channel, so that a module passing one for the
// other is told apart. Another record's data is refused.
bool ownRecord(void* hostData, const char* function) {
    if (fromSecondThread(function) || g_evaluating == nullptr) return false;
    if (hostData == g_evaluating->currentAccess().hostData) return true;
    bool channel = hostData == g_evaluating->currentAccess().channel;
    g_evaluating->refuse(std::string(function) +
                         (channel ? " with the channel ID for the host's data" : " with another record's data"));
    return false;
}

void HOST_CALL setChannelCurrent(void* hostData, host::ChannelId channel, double value) {
    if (ownRecord(hostData, "setChannel")) g_evaluating->set(channel, value);
}

void HOST_CALL getChannelCurrent(void* hostData, host::ChannelId channel, double, double* value) {
    if (ownRecord(hostData, "getChannel"))
        readChannel(channel, value);
    else if (value != nullptr)
        *value = kOtherChannelValue;
}

const char* HOST_CALL channelNameCurrent(void* hostData, host::ChannelId channel) {
    return ownRecord(hostData, "channelName") ? g_evaluating->name(channel) : kChannelName;
}

}  // namespace

ChannelAccessRecord::ChannelAccessRecord(int frame, double time, double value)
    : access_{this, frame, time, value, getChannel, setChannel, channelName},
      current_{&hostData_, this, frame, time, value, getChannelCurrent, setChannelCurrent, channelNameCurrent},
      previous_(g_evaluating) {
    g_evaluating = this;
}

ChannelAccessRecord::~ChannelAccessRecord() { g_evaluating = previous_; }

void ChannelAccessRecord::set(host::ChannelId channel, double value) {
    if (channel == current_.hostData) return refuse("setChannel with the host's data for the channel");
    if (channel != access_.channel) return refuse("setChannel on another channel");
    setCalls_.push_back(value);
}

double ChannelAccessRecord::get(host::ChannelId channel) {
    ++getChannelCalls_;
    return channel == access_.channel ? access_.value : kOtherChannelValue;
}

const char* ChannelAccessRecord::name(host::ChannelId) {
    ++channelNameCalls_;
    return kChannelName;
}

std::string ChannelAccessRecord::brokenRule() const {
    if (!refused_.empty()) return refused_.front();
    if (setCalls_.size() > 1) return "setChannel called " + std::to_string(setCalls_.size()) + " times";
    for (double value : setCalls_)
        if (!std::isfinite(value)) return "setChannel with " + formattedText("%g", value) + ", which is not finite";
    return "";
}

}  // namespace sim
