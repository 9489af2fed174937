// The promises of the modifier a run drives, told by its server's name:
// Kelto's, Kelto Focus's, or the host's rules alone for a modifier the host
// knows nothing of.
#pragma once

#include <string>

#include "simhost/modifiers/kelto_facts.h"
#include "simhost/modifiers/kelto_focus_facts.h"
#include "simhost/services/channel_access_record.h"

namespace sim {

// The first promise of the modifier that the evaluation broke, as text, or
// "" (always for a modifier the host knows nothing of).
inline std::string brokenPromise(const std::string& serverName, const ChannelAccessRecord& access) {
    if (serverName == kelto_facts::kServerName) return kelto_facts::brokenPromise(access);
    if (serverName == kelto_focus_facts::kServerName) return kelto_focus_facts::brokenPromise(access);
    return "";
}

// Both modifiers hold the message and texture services only because the
// host requires them: a call of one (as "Texture Functions noise") breaks a
// promise of theirs; any other module may make it. "" when none is broken.
inline std::string heldServicePromise(const std::string& serverName, const std::string& call) {
    if (serverName != kelto_facts::kServerName && serverName != kelto_focus_facts::kServerName) return "";
    return serverName + " promises never to call the host's messages or textures: " + call + " was called";
}

}  // namespace sim
