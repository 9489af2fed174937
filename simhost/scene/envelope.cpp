#include "simhost/scene/envelope.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <limits>

namespace sim {

namespace {

using Keys = std::vector<EnvelopeKey>;

const double kLargest = std::numeric_limits<double>::max();
// A tangent as a Bezier handle: a third of the span along it.
const double kHandleShare = 1.0 / 3;
// Newton's steps inside a bracket that bisection keeps shrinking: converged
// to the last bit in a handful where the time curve is smooth, and within
// 2^-100 of the span's length even by bisection alone.
const int kMostSolveSteps = 100;

// Overflow held at the largest double, so that no infinity meets another or
// a zero on the way out: every step below that may overflow passes through.
double bounded(double x) { return std::isinf(x) ? std::copysign(kLargest, x) : x; }

// The key before keys[i] and the one after, where there is one: a key at the
// same time is the other side of a step, not a neighbour.
const EnvelopeKey* keyBefore(const Keys& keys, size_t i) {
    return i > 0 && keys[i - 1].time < keys[i].time ? &keys[i - 1] : nullptr;
}

const EnvelopeKey* keyAfter(const Keys& keys, size_t i) {
    return i + 1 < keys.size() && keys[i + 1].time > keys[i].time ? &keys[i + 1] : nullptr;
}

// How a Kochanek-Bartels tangent weighs the rise from the key before and the
// rise to the key after, on the key's outgoing or incoming side.
struct RiseWeights {
    double before, after;
};

RiseWeights riseWeights(const EnvelopeKey& key, bool outgoing) {
    if (key.shape == SpanShape::Linear) return {1, 1};
    const double slack = 1 - key.tension;
    const double withC = 1 + key.continuity, againstC = 1 - key.continuity;
    const double withB = 1 + key.bias, againstB = 1 - key.bias;
    auto weight = [slack](double c, double b) { return bounded(bounded(slack * c) * b); };
    if (outgoing) return {weight(withC, withB), weight(againstC, againstB)};
    return {weight(againstC, withB), weight(withC, againstB)};
}

// A Bezier2D handle as the span it belongs to reads it: `reach` seconds into
// the span (never negative), `rise` the value's change along it away from the
// key.
struct Handle {
    double reach, rise;
};

Handle outHandle(const EnvelopeKey& key) {
    return {std::fabs(key.outTime), key.outTime < 0 ? -key.outValue : key.outValue};
}

Handle inHandle(const EnvelopeKey& key) { return {std::fabs(key.inTime), key.inTime > 0 ? -key.inValue : key.inValue}; }

// Value per second along the handle, in time's direction.
double slopeAlong(const Handle& handle, bool outgoing) {
    const double slope = bounded(handle.rise / std::max(handle.reach, kSteepestHandleTime));
    return outgoing ? slope : -slope;
}

// The tangent at keys[i] leaving it towards keys[i + 1], which lies later:
// the rise over the span, as the Hermite curve takes it.
double outgoingTangent(const Keys& keys, size_t i) {
    const EnvelopeKey& key = keys[i];
    const EnvelopeKey& next = keys[i + 1];
    const double span = bounded(next.time - key.time);
    const EnvelopeKey* before = keyBefore(keys, i);
    // The span's share of the key's neighbourhood.
    const double share = before ? span / bounded(next.time - before->time) : 1;
    switch (key.shape) {
        case SpanShape::Tcb:
        case SpanShape::Linear: {
            const RiseWeights weights = riseWeights(key, true);
            const double toNext = bounded(weights.after * bounded(next.value - key.value));
            if (!before) return toNext;
            const double fromBefore = bounded(weights.before * bounded(key.value - before->value));
            return bounded(share * bounded(fromBefore + toNext));
        }
        case SpanShape::Hermite:
        case SpanShape::Bezier1D: return share * key.outTangent;
        case SpanShape::Bezier2D: return bounded(slopeAlong(outHandle(key), true) * span);
        case SpanShape::Stepped: return 0;
    }
    return 0;
}

// The tangent at keys[i] arriving from keys[i - 1], which lies earlier.
double incomingTangent(const Keys& keys, size_t i) {
    const EnvelopeKey& key = keys[i];
    const EnvelopeKey& previous = keys[i - 1];
    const double span = bounded(key.time - previous.time);
    const EnvelopeKey* after = keyAfter(keys, i);
    const double share = after ? span / bounded(after->time - previous.time) : 1;
    switch (key.shape) {
        case SpanShape::Tcb:
        case SpanShape::Linear: {
            const RiseWeights weights = riseWeights(key, false);
            const double fromPrevious = bounded(weights.before * bounded(key.value - previous.value));
            if (!after) return fromPrevious;
            const double toAfter = bounded(weights.after * bounded(after->value - key.value));
            return bounded(share * bounded(fromPrevious + toAfter));
        }
        case SpanShape::Hermite:
        case SpanShape::Bezier1D: return share * key.inTangent;
        case SpanShape::Bezier2D: return bounded(slopeAlong(inHandle(key), false) * span);
        case SpanShape::Stepped: return 0;
    }
    return 0;
}

// The cubic Hermite curve from `from` to `to` at `u` in [0, 1], leaving with
// tangent `out` and arriving with `in`.
double hermite(double from, double to, double out, double in, double u) {
    const double u2 = u * u, u3 = u2 * u;
    const double toWeight = 3 * u2 - 2 * u3;
    const double outWeight = u3 - 2 * u2 + u;
    const double inWeight = u3 - u2;
    return bounded((1 - toWeight) * from + toWeight * to + outWeight * out + inWeight * in);
}

// The cubic Bezier curve through p0..p3 at s in [0, 1].
double bezier(double p0, double p1, double p2, double p3, double s) {
    const double r = 1 - s;
    return r * r * r * p0 + 3 * s * r * r * p1 + 3 * s * s * r * p2 + s * s * s * p3;
}

// A Bezier2D span's time, scaled to run from 0 to 1 over the span, as its
// curve's parameter runs from 0 to 1: its inner control points at `out` and
// `in`, placed so that it never falls.
struct SpanTime {
    double out, in;

    double at(double s) const { return bezier(0, out, in, 1, s); }
    double slopeAt(double s) const {
        const double r = 1 - s;
        return 3 * (r * r * out + 2 * s * r * (in - out) + s * s * (1 - in));
    }

    // The parameter at which the span's time is `u`, in (0, 1), to the last
    // bit: Newton's step where it lands inside the bracket and at least halves
    // the step before last, bisection otherwise, in bounded steps. Done where
    // Newton's step from a point, or from the end it points past, is below
    // that point's last bit, or where no double lies inside the bracket.
    double parameterOf(double u) const {
        double low = 0, high = 1, lowMiss = -u, highMiss = 1 - u;
        double s = u, step = 1, stepBefore = 1;
        for (int i = 0; i < kMostSolveSteps; ++i) {
            const double miss = at(s) - u;
            if (miss == 0) return s;
            if (miss < 0) {
                low = s;
                lowMiss = miss;
            } else {
                high = s;
                highMiss = miss;
            }
            double from = s;
            double newton = s - miss / slopeAt(s);
            if (!(newton > low && newton < high)) {
                // Pointing past an end: that end may lie within bits of the root.
                from = newton <= low ? low : high;
                newton = from - (newton <= low ? lowMiss : highMiss) / slopeAt(from);
            }
            if (newton == from) return from;
            const bool takeNewton = newton > low && newton < high && 2 * std::fabs(newton - from) < stepBefore;
            const double next = takeNewton ? newton : low + (high - low) / 2;
            if (next <= low || next >= high) break;
            stepBefore = step;
            step = std::fabs(next - from);
            s = next;
        }
        return -lowMiss <= highMiss ? low : high;
    }
};

// The Bezier2D span from keys[i - 1] to keys[i] at `time`, inside it.
double bezier2D(const Keys& keys, size_t i, double time) {
    const EnvelopeKey& from = keys[i - 1];
    const EnvelopeKey& to = keys[i];
    const double span = bounded(to.time - from.time);
    const Handle out = from.shape == SpanShape::Bezier2D
                           ? outHandle(from)
                           : Handle{span * kHandleShare, bounded(outgoingTangent(keys, i - 1) * kHandleShare)};
    const Handle in = inHandle(to);
    const double outReach = bounded(out.reach / span), inReach = bounded(in.reach / span);
    // Time never falls along the curve while this is at most 1 (its slope, a
    // quadratic, then has no root inside the span): longer handles are
    // shortened together, by the same factor, to meet it.
    const double overreach = bounded(outReach + inReach) - std::sqrt(outReach) * std::sqrt(inReach);
    const double kept = overreach > 1 ? 1 / overreach : 1;
    const double outValue = bounded(from.value + out.rise * kept);
    const double inValue = bounded(to.value + in.rise * kept);
    // Solved from the nearer key, the curve read backwards from the later:
    // near an upright handle the time's last bits decide the value.
    const double sinceFrom = std::clamp(bounded(time - from.time) / span, 0.0, 1.0);
    const double untilTo = std::clamp(bounded(to.time - time) / span, 0.0, 1.0);
    if (sinceFrom <= untilTo) {
        const double s = SpanTime{outReach * kept, 1 - inReach * kept}.parameterOf(sinceFrom);
        return bounded(bezier(from.value, outValue, inValue, to.value, s));
    }
    const double s = SpanTime{inReach * kept, 1 - outReach * kept}.parameterOf(untilTo);
    return bounded(bezier(to.value, inValue, outValue, from.value, s));
}

// The value at `time`, between the first key's time and the last's.
double valueWithin(const Keys& keys, double time) {
    // Searched, not walked: envelopes may hold millions of keys.
    auto after = std::lower_bound(keys.begin(), keys.end(), time,
                                  [](const EnvelopeKey& key, double at) { return key.time < at; });
    if (after == keys.end()) return keys.back().value;
    if (after->time == time || after == keys.begin()) return after->value;
    const size_t i = after - keys.begin();
    const EnvelopeKey& from = keys[i - 1];
    const EnvelopeKey& to = keys[i];
    // Keys out of order are not an envelope; they give a value, if no meaningful one.
    if (!(to.time > from.time)) return to.value;
    const double u = std::clamp(bounded(time - from.time) / bounded(to.time - from.time), 0.0, 1.0);
    switch (to.shape) {
        case SpanShape::Tcb:
        case SpanShape::Hermite:
        case SpanShape::Bezier1D:
            return hermite(from.value, to.value, outgoingTangent(keys, i - 1), incomingTangent(keys, i), u);
        case SpanShape::Linear: return bounded(from.value + u * bounded(to.value - from.value));
        case SpanShape::Bezier2D: return bezier2D(keys, i, time);
        case SpanShape::Stepped: return from.value;
    }
    return from.value;
}

// Value per second along the tangent at the first key (`before`) or the last,
// over the span beside it; none where that span has no length.
double endSlope(const Keys& keys, bool before) {
    if (keys.size() < 2) return 0;
    const size_t inner = before ? 1 : keys.size() - 2;
    const size_t end = before ? 0 : keys.size() - 1;
    const double span = bounded(before ? keys[inner].time - keys[end].time : keys[end].time - keys[inner].time);
    if (!(span > 0)) return 0;
    return bounded((before ? outgoingTangent(keys, end) : incomingTangent(keys, end)) / span);
}

// The value at `time` outside the primary interval, which has a length, by
// a behaviour that repeats it.
double repeated(const Keys& keys, Extrapolation behaviour, double time) {
    const EnvelopeKey& first = keys.front();
    const EnvelopeKey& last = keys.back();
    const double primary = bounded(last.time - first.time);
    const double sinceFirst = bounded(time - first.time);
    // The copies counted from the rounded quotient, as the SDK's envelope
    // code counts them: a frame's time a rounding short of a copy's start
    // (frame 117 at 30 fps, copies of 1.3 s) begins that copy, as it was
    // meant to, rather than ending the one before.
    const double copies = std::floor(sinceFirst / primary);
    const double phase = std::clamp(sinceFirst - copies * primary, 0.0, primary);
    const bool reversed = behaviour == Extrapolation::Oscillate && std::fmod(copies, 2) != 0;
    const double at = std::clamp(reversed ? last.time - phase : first.time + phase, first.time, last.time);
    const double value = valueWithin(keys, at);
    if (behaviour != Extrapolation::OffsetRepeat) return value;
    const double rise = bounded(last.value - first.value);
    return rise == 0 ? value : bounded(value + bounded(copies * rise));
}

// The value at `time` before the first key (`before`) or after the last.
double extrapolated(const Keys& keys, Extrapolation behaviour, double time, bool before) {
    const EnvelopeKey& nearest = before ? keys.front() : keys.back();
    switch (behaviour) {
        case Extrapolation::Reset: return 0;
        case Extrapolation::Constant: return nearest.value;
        case Extrapolation::Linear: {
            const double slope = endSlope(keys, before);
            if (slope == 0) return nearest.value;
            return bounded(nearest.value + bounded(slope * bounded(time - nearest.time)));
        }
        case Extrapolation::Repeat:
        case Extrapolation::Oscillate:
        case Extrapolation::OffsetRepeat:
            if (!(keys.back().time > keys.front().time)) return nearest.value;
            return repeated(keys, behaviour, time);
    }
    return nearest.value;
}

}  // namespace

double Envelope::valueAt(double time) const {
    if (keys.empty()) return 0;
    // One key is a constant whatever its behaviours, as in the SDK's own
    // envelope code.
    if (keys.size() == 1) return keys.front().value;
    if (std::isnan(time)) time = keys.front().time;
    if (time < keys.front().time) return extrapolated(keys, pre, time, true);
    if (time > keys.back().time) return extrapolated(keys, post, time, false);
    return valueWithin(keys, time);
}

Envelope Envelope::constant(double value) {
    Envelope envelope;
    EnvelopeKey key;
    key.value = value;
    envelope.keys.push_back(key);
    return envelope;
}

bool spanShapeOfCode(int code, SpanShape& shape) {
    if (code < static_cast<int>(SpanShape::Tcb) || code > static_cast<int>(SpanShape::Bezier2D)) return false;
    shape = static_cast<SpanShape>(code);
    return true;
}

bool extrapolationOfCode(int code, Extrapolation& behaviour) {
    if (code < static_cast<int>(Extrapolation::Reset) || code > static_cast<int>(Extrapolation::Linear)) return false;
    behaviour = static_cast<Extrapolation>(code);
    return true;
}

}  // namespace sim
