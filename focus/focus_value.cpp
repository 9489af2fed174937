#include "focus/focus_value.h"

#include <cmath>
#include <limits>

#include "channel/held_services.h"
#include "channel/item_references.h"
#include "channel/straight_line.h"
#include "host/item_info.h"

namespace kelto {

namespace {

typedef void(HOST_CALL* ParamFunction)(host::ItemId item, int code, double time, double* values);

// The two items as the host answers for them.
struct Subject {
    ParamFunction param;
    host::ItemId item;
    host::ItemId camera;
};

// param returns nothing, so an answer is known by what was written: the
// vector starts as NaN, and any coordinate left so, or written as no finite
// number, gives nothing that can be used.
bool ask(const Subject& subject, host::ItemId item, int code, double time, Position& answer) {
    const double unanswered = std::numeric_limits<double>::quiet_NaN();
    answer.xyz[0] = answer.xyz[1] = answer.xyz[2] = unanswered;
    subject.param(item, code, time, answer.xyz);
    return std::isfinite(answer.xyz[0]) && std::isfinite(answer.xyz[1]) && std::isfinite(answer.xyz[2]);
}

bool hasOffset(const FocusSettings& settings) {
    const double* offset = settings.subjectOffset;
    return offset[0] != 0 || offset[1] != 0 || offset[2] != 0;
}

bool focusPoint(const Subject& subject, const FocusSettings& settings, double time, Position& point) {
    if (!ask(subject, subject.item, host::kItemParamWorldPosition, time, point)) return false;
    if (!hasOffset(settings)) return true;
    Position right, up, forward;
    if (!ask(subject, subject.item, host::kItemParamRight, time, right) ||
        !ask(subject, subject.item, host::kItemParamUp, time, up) ||
        !ask(subject, subject.item, host::kItemParamForward, time, forward))
        return false;
    const double* offset = settings.subjectOffset;
    for (int axis = 0; axis < kAxisCount; ++axis)
        point.xyz[axis] = ((point.xyz[axis] + offset[0] * right.xyz[axis]) + offset[1] * up.xyz[axis]) +
                          offset[2] * forward.xyz[axis];
    return true;
}

double squaredLengthOf(const Position& vector) {
    return (vector.x() * vector.x() + vector.y() * vector.y()) + vector.z() * vector.z();
}

// Divides the vector by its largest component, so that its squares neither
// overflow nor vanish; that component, or 0 (and the vector left alone) for a
// vector of no length.
double scaleToLargest(Position& vector) {
    double largest = std::fmax(std::fabs(vector.x()), std::fmax(std::fabs(vector.y()), std::fabs(vector.z())));
    if (largest == 0) return 0;
    for (double& component : vector.xyz) component /= largest;
    return largest;
}

// The length of the camera's forward, which carries the camera's scale. A
// scale so small or large that the squared length is not a normal double
// would make the depth wrong or the measure fall back: then the forward is
// first scaled, which changes no other value. 0 for a forward of no length.
double viewLength(Position& forward) {
    double squared = squaredLengthOf(forward);
    if (squared >= std::numeric_limits<double>::min() && squared <= std::numeric_limits<double>::max())
        return std::sqrt(squared);
    if (scaleToLargest(forward) == 0) return 0;
    return std::sqrt(squaredLengthOf(forward));
}

// Kelto's distance where its squares overflow (items from about 1.34e154
// apart, as a large subject offset puts them): the difference is scaled
// first, so that the distance is lost only where it is no double itself.
__attribute__((noinline)) double scaledDistanceBetween(const Position& a, const Position& b) {
    Position difference = {{a.x() - b.x(), a.y() - b.y(), a.z() - b.z()}};
    double largest = scaleToLargest(difference);
    if (!std::isfinite(largest)) return largest;
    const Position origin = {{0, 0, 0}};
    return distanceBetween(difference, origin) * largest;
}

// Kelto's distance, to the bit, wherever its sum of squares is a double.
inline double focusDistanceBetween(const Position& a, const Position& b) {
    double distance = distanceBetween(a, b);
    return std::isfinite(distance) ? distance : scaledDistanceBetween(a, b);
}

// The depth of the point along the camera's view axis.
double alongView(const Position& point, const Position& camera, const Position& forward, double length) {
    double dx = point.x() - camera.x(), dy = point.y() - camera.y(), dz = point.z() - camera.z();
    return ((dx * forward.x() + dy * forward.y()) + dz * forward.z()) / length;
}

// v(t) for a point off the subject's pivot or a measure along the view:
// every case but Kelto's own, kept out of line so that Kelto's stays lean.
__attribute__((noinline)) bool offsetOrAlongViewValueAt(const Subject& subject, const FocusSettings& settings,
                                                        double time, double& value) {
    Position point, camera;
    if (!focusPoint(subject, settings, time, point) ||
        !ask(subject, subject.camera, host::kItemParamWorldPosition, time, camera))
        return false;
    double measure = 0;
    bool measured = false;
    if (settings.measure == kMeasureAlongView) {
        Position forward;
        if (!ask(subject, subject.camera, host::kItemParamForward, time, forward)) return false;
        double length = viewLength(forward);
        measured = length != 0;
        if (measured) measure = alongView(point, camera, forward, length);
    }
    if (!measured) measure = focusDistanceBetween(point, camera);
    value = measure + settings.focusOffset;
    return true;
}

// v(t) of a straight line from the subject's pivot: Kelto's distance, with
// the same two queries, plus the focus offset.
__attribute__((always_inline)) inline bool straightValueAt(const Subject& subject, double focusOffset, double time,
                                                           double& value) {
    Position point, camera;
    if (!ask(subject, subject.item, host::kItemParamWorldPosition, time, point) ||
        !ask(subject, subject.camera, host::kItemParamWorldPosition, time, camera))
        return false;
    value = focusDistanceBetween(point, camera) + focusOffset;
    return true;
}

// v(t): the measure plus the focus offset.
__attribute__((always_inline)) inline bool valueAt(const Subject& subject, const FocusSettings& settings, double time,
                                                   double& value) {
    if (settings.measure == kMeasureStraightLine && !hasOffset(settings))
        return straightValueAt(subject, settings.focusOffset, time, value);
    return offsetOrAlongViewValueAt(subject, settings, time, value);
}

// The trapezoid mean over the lag, kept out of line: its samples would
// otherwise weigh on every evaluation without a lag.
__attribute__((noinline)) bool laggedValue(const Subject& subject, const FocusSettings& settings, double time,
                                           double& value) {
    const double step = settings.lag / kLagSteps;
    double samples[kLagSteps + 1];
    for (int k = 0; k <= kLagSteps; ++k)
        if (!valueAt(subject, settings, time - (kLagSteps - k) * step, samples[k])) return false;
    double sum = (samples[0] + samples[kLagSteps]) / 2;
    for (int k = 1; k < kLagSteps; ++k) sum += samples[k];
    value = sum / kLagSteps;
    return true;
}

}  // namespace

bool evaluateFocus(FocusInstance& instance, double time, double& value) {
    resolveReferences(instance);
    const host::ItemInfoService* info = heldHostServices().itemInfo;
    if (instance.itemId == nullptr || instance.cameraId == nullptr || info == nullptr || info->param == nullptr)
        return false;
    const Subject subject = {info->param, instance.itemId, instance.cameraId};
    double result = 0;
    const FocusSettings& settings = instance.settings;
    bool valued =
        settings.lag > 0 ? laggedValue(subject, settings, time, result) : valueAt(subject, settings, time, result);
    if (!valued || !std::isfinite(result)) return false;
    value = result < kNearestFocus ? kNearestFocus : result;
    return true;
}

}  // namespace kelto
