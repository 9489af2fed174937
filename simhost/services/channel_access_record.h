// The channel access record the host hands evaluate, over the simulated
// host's own storage.
#pragma once

#include <string>
#include <vector>

#include "host/channel_handler.h"

namespace sim {

// The access record for one evaluation, in the layout of either protocol;
// records what the module calls through it. While it exists it is the
// evaluation in progress.
class ChannelAccessRecord {
public:
    ChannelAccessRecord(int frame, double time, double value);
    ~ChannelAccessRecord();
    ChannelAccessRecord(const ChannelAccessRecord&) = delete;
    ChannelAccessRecord& operator=(const ChannelAccessRecord&) = delete;
    const host::ChannelAccess& access() const { return access_; }
    const host::ChannelAccessCurrent& currentAccess() const { return current_; }
    // Leaves the set-channel function out of both layouts, as a broken host might.
    void withoutSetChannel() {
        access_.setChannel = nullptr;
        current_.setChannel = nullptr;
    }

    // Every value set on this evaluation's channel, in order.
    const std::vector<double>& setCalls() const { return setCalls_; }
    // The channel's value after the evaluation: the last value set, or the
    // value it had when nothing was set.
    double result() const { return setCalls_.empty() ? access_.value : setCalls_.back(); }
    // Calls the host allows, counted for modifiers that promise not to make them.
    int getChannelCalls() const { return getChannelCalls_; }
    int channelNameCalls() const { return channelNameCalls_; }

    // The first of the host's rules the evaluation broke, as text, or "" when
    // it was sound: set-channel called on its own channel, through its own
    // record, at most once, with a finite value.
    std::string brokenRule() const;

    // The record's functions, as the module reaches them.
    void set(host::ChannelId channel, double value);
    double get(host::ChannelId channel);
    const char* name(host::ChannelId channel);
    // A call the host refuses, e.g. one with another record's data.
    void refuse(const std::string& why) { refused_.push_back(why); }

private:
    host::ChannelAccess access_;
    host::ChannelAccessCurrent current_;
    std::vector<double> setCalls_;
    std::vector<std::string> refused_;
    int getChannelCalls_ = 0;
    int channelNameCalls_ = 0;
    char hostData_ = 0;  // its address is the current record's host data
    ChannelAccessRecord* previous_;
};

}  // namespace sim
