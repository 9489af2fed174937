// What validate is asked to do, as its options set it (command/).
#pragma once

#include <cstdint>
#include <string>

#include "simhost/validate/verdict_channel.h"

namespace sim {

// How long a check may take unless --time-limit says.
const unsigned kDefaultTimeLimitSeconds = 20;

struct ValidateSettings {
    std::string path;  // the module file
    uint32_t seed = 0;
    bool seedGiven = false;
    std::string checkId;
    bool checkGiven = false;
    unsigned timeLimit = kDefaultTimeLimitSeconds;
    bool list = false;
    bool json = false;
    bool inThisProcess = false;
    bool verdictGiven = false;  // a check's own process, to give its verdict on this channel
    VerdictChannel verdictChannel;
};

}  // namespace sim
