// Kelto Focus's settings that the checks load where they need every setting
// off its default: numbers of few digits, exact in any form, along the view.
#pragma once

#include "simhost/modifiers/kelto_focus_facts.h"

namespace sim {

inline kelto_focus_facts::Settings settingsOffTheirDefaults() {
    kelto_focus_facts::Settings settings;
    settings.measure = kelto_focus_facts::kAlongView;
    settings.subjectOffset[0] = 0.5;
    settings.subjectOffset[1] = -1.25;
    settings.subjectOffset[2] = 2;
    settings.focusOffset = 0.75;
    settings.lag = 0.25;
    return settings;
}

}  // namespace sim
