// The promises of the modifier a run drives, told by its server's name:
// Kelto's, Kelto Focus's, or the host's rules alone for a modifier the host
// knows nothing of.
#pragma once

#include <string>

#include "simhost/modifiers/kelto_facts.h"
#include "simhost/modifiers/kelto_focus_facts.h"
#include "simhost/services/channel_access_record.h"

namespace sim {

// The first rule or promise the evaluation broke, as text, or "".
inline std::string evaluationProblem(const std::string& serverName, const ChannelAccessRecord& access) {
    if (serverName == kelto_facts::kServerName) return kelto_facts::evaluationProblem(access);
    if (serverName == kelto_focus_facts::kServerName) return kelto_focus_facts::evaluationProblem(access);
    return access.brokenRule();
}

}  // namespace sim
