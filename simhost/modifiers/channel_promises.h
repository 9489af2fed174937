// A promise Kelto and Kelto Focus both make of an evaluation, beyond the
// host's rules: each sets its channel from the scene alone, so it never reads
// a channel nor asks a channel's name, though the host allows both.
#pragma once

#include <string>

#include "simhost/services/channel_access_record.h"

namespace sim {

// The first such call the evaluation made, as the modifier's broken promise,
// or "".
inline std::string brokenChannelPromise(const std::string& modifier, const ChannelAccessRecord& access) {
    if (access.getChannelCalls() > 0) return modifier + " promises never to call getChannel: it was called";
    if (access.channelNameCalls() > 0) return modifier + " promises never to call channelName: it was called";
    return "";
}

}  // namespace sim
