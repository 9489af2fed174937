// Promises the fuzz targets hold the module to after each input; a broken
// one aborts, which libFuzzer reports with the input that broke it.
#pragma once

#include <cmath>
#include <cstddef>
#include <cstdlib>
#include <cstring>

#include "focus/focus_settings.h"

namespace fuzz {

inline void require(bool promise) {
    if (!promise) std::abort();
}

// A fixed buffer that lost its NUL would be read past its end by the host.
inline void requireTerminated(const char* text, size_t size) { require(std::memchr(text, '\0', size) != nullptr); }

// Kelto Focus's settings only ever hold what its panel and block accept.
inline void requireAcceptable(const kelto::FocusSettings& settings) {
    require(settings.measure == kelto::kMeasureStraightLine || settings.measure == kelto::kMeasureAlongView);
    for (double offset : settings.subjectOffset) require(std::isfinite(offset));
    require(std::isfinite(settings.focusOffset));
    require(std::isfinite(settings.lag) && settings.lag >= 0);
}

}  // namespace fuzz
