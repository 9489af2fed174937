#include "simhost/validate/focus_expectation.h"

#include <cmath>

#include "simhost/scene/item_transform.h"

namespace sim {

namespace {

namespace focus = kelto_focus_facts;

double dot(const Vec3& a, const Vec3& b) { return (a.x * b.x + a.y * b.y) + a.z * b.z; }

Vec3 difference(const Vec3& a, const Vec3& b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }

// Kelto's straight line between two points: (dz² + dy²) + dx². Where the
// squares overflow though the line is a double (points from about 1.34e154
// apart), it is measured on the difference divided by its largest part.
double straightLine(const Vec3& a, const Vec3& b) {
    Vec3 d = difference(a, b);
    const double line = std::sqrt((d.z * d.z + d.y * d.y) + d.x * d.x);
    if (std::isfinite(line)) return line;
    const double largest = std::fmax(std::fabs(d.x), std::fmax(std::fabs(d.y), std::fabs(d.z)));
    if (!std::isfinite(largest)) return largest;
    const Vec3 unit = {d.x / largest, d.y / largest, d.z / largest};
    return std::sqrt((unit.z * unit.z + unit.y * unit.y) + unit.x * unit.x) * largest;
}

// position + x·right + y·up + z·forward, per coordinate in that order.
Vec3 focusPoint(const Scene& scene, const SceneItem& subject, const double offset[focus::kAxisCount], double at) {
    Vec3 point = worldPosition(scene, subject, at);
    if (offset[0] == 0 && offset[1] == 0 && offset[2] == 0) return point;
    ItemAxes axes = worldPlacement(scene, subject, at).axes;
    double* coordinates[focus::kAxisCount] = {&point.x, &point.y, &point.z};
    const Vec3* vectors[focus::kAxisCount] = {&axes.right, &axes.up, &axes.forward};
    for (int axis = 0; axis < focus::kAxisCount; ++axis) {
        double sum = *coordinates[axis];
        for (int along = 0; along < focus::kAxisCount; ++along) {
            const Vec3& v = *vectors[along];
            sum += offset[along] * (axis == 0 ? v.x : axis == 1 ? v.y : v.z);
        }
        *coordinates[axis] = sum;
    }
    return point;
}

}  // namespace

double hostFocusMeasure(const Scene& scene, const SceneItem& subject, const SceneItem& camera,
                        const focus::Settings& settings, double time) {
    const double at = scene.motionTime(time);
    Vec3 point = focusPoint(scene, subject, settings.subjectOffset, at);
    Vec3 lens = worldPosition(scene, camera, at);
    double measure = straightLine(point, lens);
    if (settings.measure == focus::kAlongView) {
        // The forward carries the camera's scale, which may lie so far from 1
        // that its squared length is no normal number: the depth is taken
        // along it divided by its largest component, which changes nothing else.
        Vec3 forward = worldPlacement(scene, camera, at).axes.forward;
        double largest = std::fmax(std::fabs(forward.x), std::fmax(std::fabs(forward.y), std::fabs(forward.z)));
        if (largest != 0) {
            Vec3 unit = {forward.x / largest, forward.y / largest, forward.z / largest};
            measure = dot(difference(point, lens), unit) / std::sqrt(dot(unit, unit));
        }
    }
    return measure + settings.focusOffset;
}

double hostFocusValue(const Scene& scene, const SceneItem& subject, const SceneItem& camera,
                      const focus::Settings& settings, double time) {
    double value = 0;
    if (settings.lag > 0) {
        const double step = settings.lag / focus::kLagSteps;
        double samples[focus::kLagSteps + 1];
        for (int k = 0; k <= focus::kLagSteps; ++k)
            samples[k] = hostFocusMeasure(scene, subject, camera, settings, time - (focus::kLagSteps - k) * step);
        value = (samples[0] + samples[focus::kLagSteps]) / 2;
        for (int k = 1; k < focus::kLagSteps; ++k) value += samples[k];
        value /= focus::kLagSteps;
    } else {
        value = hostFocusMeasure(scene, subject, camera, settings, time);
    }
    return value < focus::kNearest ? focus::kNearest : value;
}

}  // namespace sim
