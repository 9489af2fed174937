#include "focus/focus_settings.h"

#include <cmath>

namespace kelto {

const char* const kMeasureNames[] = {"Straight line", "Along view", nullptr};

bool setMeasure(FocusSettings& settings, int32_t measure) {
    if (measure < 0 || measure >= kMeasureCount) return false;
    settings.measure = measure;
    return true;
}

bool setSubjectOffset(FocusSettings& settings, const double (&offset)[kAxisCount]) {
    for (double coordinate : offset)
        if (!std::isfinite(coordinate)) return false;
    for (int axis = 0; axis < kAxisCount; ++axis) settings.subjectOffset[axis] = offset[axis];
    return true;
}

bool setFocusOffset(FocusSettings& settings, double offset) {
    if (!std::isfinite(offset)) return false;
    settings.focusOffset = offset;
    return true;
}

// A lag of -0 is stored as 0, so that it saves as "0".
bool setLag(FocusSettings& settings, double seconds) {
    if (!std::isfinite(seconds) || seconds < 0) return false;
    settings.lag = seconds == 0 ? 0.0 : seconds;
    return true;
}

const char* measureName(const FocusSettings& settings) {
    return settings.measure == kMeasureAlongView ? kMeasureNames[kMeasureAlongView]
                                                 : kMeasureNames[kMeasureStraightLine];
}

}  // namespace kelto
