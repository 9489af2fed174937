// The channel access record the host hands evaluate, over the simulated
// host's own storage.
#pragma once

#include <string>
#include <vector>

#include "host/channel_handler.h"

namespace sim {

// The access record for one evaluation, in the layout of either protocol;
// records each set-channel call. While it exists it is the evaluation in
// progress.
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
    const std::vector<double>& setCalls() const { return setCalls_; }
    // The channel's value after the evaluation: the last value set, or the
    // value it had when nothing was set.
    double result() const { return setCalls_.empty() ? access_.value : setCalls_.back(); }

    void set(host::ChannelId channel, double value);
    std::vector<std::string> problems;  // calls a module should not make

private:
    host::ChannelAccess access_;
    host::ChannelAccessCurrent current_;
    std::vector<double> setCalls_;
    ChannelAccessRecord* previous_;
};

}  // namespace sim
