// Kelto Focus's four settings, their defaults, and what each accepts. The
// block reader and the panel store through the setters below, so a setting
// never holds a value they refuse.
#pragma once

#include <cstdint>

namespace kelto {

// How the distance to the subject is measured.
const int32_t kMeasureStraightLine = 0;  // from the camera's position to the focus point
const int32_t kMeasureAlongView = 1;     // along the camera's view axis, to the plane of the focus point
const int32_t kMeasureCount = 2;

// The measures' names by value, ended by a null pointer: the panel's entries
// and the description's words.
extern const char* const kMeasureNames[];

const int kAxisCount = 3;

// All zero is the default: straight line, no offsets, no lag.
struct FocusSettings {
    int32_t measure;                   // "Measure": kMeasureStraightLine or kMeasureAlongView
    double subjectOffset[kAxisCount];  // "Subject Offset": x, y, z along the subject's own scaled axes
    double focusOffset;                // "Focus Offset": added to the measure, positive behind the subject
    double lag;                        // "Lag": seconds the focus trails the subject by, never negative
};

// Each setter stores the value and returns true, or refuses it, keeping the
// setting as it was, and returns false: an unknown measure, a value that is
// not finite, a negative lag.
bool setMeasure(FocusSettings& settings, int32_t measure);
bool setSubjectOffset(FocusSettings& settings, const double (&offset)[kAxisCount]);
bool setFocusOffset(FocusSettings& settings, double offset);
bool setLag(FocusSettings& settings, double seconds);

// The name of the measure in force.
const char* measureName(const FocusSettings& settings);

}  // namespace kelto
