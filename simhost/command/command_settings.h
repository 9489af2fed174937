// What kelto-host's options set, for either command: one record, written by
// the one option table (command_options.h), each command reading its part.
#pragma once

#include <string>
#include <vector>

#include "simhost/run/scene_run.h"
#include "simhost/validate/validate_settings.h"

namespace sim {

// A run's settings, before the defaults of what was not given.
struct RunSettings {
    std::string modulePath;  // "" when not given
    std::string scenePath;   // "" when not given
    bool infoOnly = false;
    bool exact = false;
    std::string plotPath;
    std::string writeScenePath;
    std::string channel;  // in a host scene file, the channel the options name
    RunOptions run;
    std::vector<PanelPick> compared;  // a run for each, the pick made last
    unsigned timeLimitSeconds = 0;    // none
    bool help = false;
    std::string firstSceneRunOption;  // the first option given that acts on a scene run
};

struct CommandSettings {
    RunSettings run;
    ValidateSettings validate;
};

}  // namespace sim
