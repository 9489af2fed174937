// An envelope as the host keeps one: a channel's value as a function of time,
// keyed, curved between its keys by the shape each key gives the span that
// ends at it, and carried on before the first key and after the last by its
// pre- and post-behaviour.
//
// Between keys:
// - Tcb (Kochanek-Bartels), Hermite and Bezier1D spans are cubic Hermite
//   curves between the tangents their two keys give them. A key's tangent
//   comes from its own shape: Tcb blends the rises to and from its
//   neighbours by its tension, continuity and bias (Linear keys as Tcb with
//   all three 0); Hermite and Bezier1D take inTangent and outTangent, which
//   measure the rise over the key's neighbourhood, from the key before it to
//   the key after (over its one span at the ends); Bezier2D keys the slope of
//   their handles; Stepped keys none.
// - Linear spans are straight, Stepped spans hold the value of the key
//   before them until their own key's time.
// - Bezier2D spans are cubic Bezier curves in (time, value): the handles of
//   the span's two keys, or for a key that is not Bezier2D a handle a third
//   of the span long along its tangent. A handle pointing back across its key
//   is read along its own line; handles so long that time would run backwards
//   are shortened together, keeping their directions, until it just does not
//   (it then pauses, upright, at one point of the span).
// - The value at a key's own time is that key's value exactly. Keys sharing
//   a time make a step: the first of them gives the value at that time, the
//   last begins the curve after it, and neither side's tangents reach across.
//
// Before and after the keys:
// - Reset gives 0, Constant the nearest key's value, Linear goes on along the
//   nearest key's tangent.
// - Repeat repeats the primary interval (first key to last), Oscillate
//   repeats it with every other copy reversed in time, wherever the first key
//   lies, and OffsetRepeat repeats it shifted by the last key's value less the
//   first's for each copy. Far from the keys they lose no more precision than
//   the time itself carries.
// - One key is a constant, whatever the behaviours. With keys all at one
//   time there is no primary interval and no tangent: every behaviour but
//   Reset holds the nearest key's value.
//
// Keys of finite numbers give a finite value at any time: a handle shorter in
// time than kSteepestHandleTime, upright ones included, has its slope taken
// over that time; a step has no tangent across it; and a value beyond
// double's range (a line or an offset repeat far from the keys, keys near its
// limits) is the largest double of its sign. A time that is not a number is
// read as the first key's.
#pragma once

#include <vector>

namespace sim {

// The shape of the span that ends at a key, as the scene file codes it.
enum class SpanShape { Tcb = 0, Hermite = 1, Bezier1D = 2, Linear = 3, Stepped = 4, Bezier2D = 5 };

// Before the first key (pre) and after the last (post), as the file codes it.
enum class Extrapolation { Reset = 0, Constant = 1, Repeat = 2, Oscillate = 3, OffsetRepeat = 4, Linear = 5 };

// A Bezier2D handle's slope, where its time is shorter than this (in
// seconds) or none, is its value over this: the limit of the SDK's own
// envelope code.
constexpr double kSteepestHandleTime = 1e-5;

// The file's six parameters p1..p6 of a key: for Tcb, Hermite and Bezier1D
// tension, continuity, bias, inTangent, outTangent (p6 unused); for Bezier2D
// inTime, inValue, outTime, outValue (p5, p6 unused).
struct EnvelopeKey {
    double value = 0;
    double time = 0;  // seconds
    SpanShape shape = SpanShape::Tcb;
    double tension = 0, continuity = 0, bias = 0;  // Tcb
    double inTangent = 0, outTangent = 0;          // Hermite, Bezier1D (the file's p4, p5)
    double inTime = 0, inValue = 0, outTime = 0,
           outValue = 0;  // Bezier2D handles (the file's p1..p4), relative to the key
};

struct Envelope {
    std::vector<EnvelopeKey> keys;  // ascending time; may be empty (value 0)
    Extrapolation pre = Extrapolation::Constant, post = Extrapolation::Constant;

    // Costs a search among the keys: envelopes may hold millions.
    double valueAt(double time) const;

    static Envelope constant(double value);  // one key at time 0
};

// Whether the text codes are known: for a reader to refuse unknown ones.
bool spanShapeOfCode(int code, SpanShape& shape);
bool extrapolationOfCode(int code, Extrapolation& behaviour);

}  // namespace sim
