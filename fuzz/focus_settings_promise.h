// What Kelto Focus's fuzz targets hold its settings to after each input.
#pragma once

#include <cmath>

#include "focus/focus_settings.h"
#include "fuzz_promises.h"

namespace fuzz {

// Kelto Focus's settings only ever hold what its panel and block accept.
inline void requireAcceptable(const kelto::FocusSettings& settings) {
    require(settings.measure == kelto::kMeasureStraightLine || settings.measure == kelto::kMeasureAlongView);
    for (double offset : settings.subjectOffset) require(std::isfinite(offset));
    require(std::isfinite(settings.focusOffset));
    require(std::isfinite(settings.lag) && settings.lag >= 0);
}

}  // namespace fuzz
