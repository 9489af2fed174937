// Envelopes as the host evaluates them: each span shape and each behaviour
// before and after the keys against values worked by hand, smoothness across
// keys, precision far from the keys, and the edges where a careless
// evaluation divides by nothing.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "simhost/scene/envelope.h"

namespace {

using sim::Extrapolation;
using sim::SpanShape;

// Rounding in a cubic of a few terms, or in solving one.
const double kTolerance = 1e-14;

sim::EnvelopeKey key(double time, double value, SpanShape shape = SpanShape::Linear) {
    sim::EnvelopeKey key;
    key.time = time;
    key.value = value;
    key.shape = shape;
    return key;
}

sim::EnvelopeKey hermite(double time, double value, double inTangent, double outTangent) {
    sim::EnvelopeKey made = key(time, value, SpanShape::Hermite);
    made.inTangent = inTangent;
    made.outTangent = outTangent;
    return made;
}

sim::EnvelopeKey bezier2D(double time, double value, double inTime, double inValue, double outTime = 0,
                          double outValue = 0) {
    sim::EnvelopeKey made = key(time, value, SpanShape::Bezier2D);
    made.inTime = inTime;
    made.inValue = inValue;
    made.outTime = outTime;
    made.outValue = outValue;
    return made;
}

sim::Envelope envelope(std::vector<sim::EnvelopeKey> keys, Extrapolation pre = Extrapolation::Constant,
                       Extrapolation post = Extrapolation::Constant) {
    sim::Envelope made;
    made.keys = keys;
    made.pre = pre;
    made.post = post;
    return made;
}

// The slope just before and just after `time`, each from that side alone
// (second-order one-sided differences).
double slopeBefore(const sim::Envelope& e, double time, double h = 1e-5) {
    return (3 * e.valueAt(time) - 4 * e.valueAt(time - h) + e.valueAt(time - 2 * h)) / (2 * h);
}
double slopeAfter(const sim::Envelope& e, double time, double h = 1e-5) {
    return (-3 * e.valueAt(time) + 4 * e.valueAt(time + h) - e.valueAt(time + 2 * h)) / (2 * h);
}

TEST(EnvelopeSpans, EachShapeGivesTheValuesWorkedByHand) {
    EXPECT_EQ(envelope({key(0, 0), key(4, 8)}).valueAt(1), 2);
    EXPECT_EQ(envelope({key(0, 0), key(4, 8)}).valueAt(3), 6);

    // A stepped span holds the value before it until its own key.
    sim::Envelope stepped = envelope({key(0, 1), key(2, 5, SpanShape::Stepped)});
    EXPECT_EQ(stepped.valueAt(1.999), 1);
    EXPECT_EQ(stepped.valueAt(2), 5);

    // Tension 1 flattens both tangents: 3u^2 - 2u^3 of the rise, 5/32 at a quarter.
    sim::EnvelopeKey taut0 = key(0, 0, SpanShape::Tcb), taut1 = key(4, 32, SpanShape::Tcb);
    taut0.tension = taut1.tension = 1;
    EXPECT_DOUBLE_EQ(envelope({taut0, taut1}).valueAt(1), 5);
    EXPECT_DOUBLE_EQ(envelope({taut0, taut1}).valueAt(2), 16);
    // Two plain TCB keys alone make a straight line.
    EXPECT_NEAR(envelope({key(0, 0, SpanShape::Tcb), key(4, 8, SpanShape::Tcb)}).valueAt(1), 2, kTolerance);

    // A Hermite span's midpoint: the keys' mean plus an eighth of out less in.
    EXPECT_DOUBLE_EQ(envelope({hermite(0, 0, 0, 2), hermite(2, 1, -1, 0)}).valueAt(1), 0.875);
    sim::Envelope oneD = envelope({hermite(0, 0, 0, 2), hermite(2, 1, -1, 0)});
    oneD.keys[0].shape = oneD.keys[1].shape = SpanShape::Bezier1D;
    EXPECT_DOUBLE_EQ(oneD.valueAt(1), 0.875);

    // Bezier2D handles a third of the span long and flat: time runs evenly,
    // the value is 3u^2 - 2u^3 again.
    EXPECT_NEAR(envelope({bezier2D(0, 0, 0, 0, 1.0 / 3, 0), bezier2D(1, 1, -1.0 / 3, 0)}).valueAt(0.25), 5.0 / 32,
                kTolerance);
}

TEST(EnvelopeSpans, TangentsComeFromEachKeysOwnShapeAndNeighbours) {
    // A Hermite tangent is the rise over the key's neighbourhood: 3 over
    // seconds 0 to 3 leaves the key at 1 with 2 over its span of 2.
    EXPECT_DOUBLE_EQ(envelope({hermite(0, 0, 0, 0), hermite(1, 1, 0, 3), hermite(3, 1, 0, 0)}).valueAt(2), 1.25);

    // Plain TCB keys: the middle key of a peak is its top, the peak symmetric.
    sim::Envelope peak = envelope({key(0, 0, SpanShape::Tcb), key(1, 1, SpanShape::Tcb), key(2, 0, SpanShape::Tcb)});
    EXPECT_DOUBLE_EQ(peak.valueAt(1.5), 0.625);
    EXPECT_DOUBLE_EQ(peak.valueAt(0.5), 0.625);
    EXPECT_LT(peak.valueAt(0.99), 1);
    EXPECT_LT(peak.valueAt(1.01), 1);

    // Bias 1 carries the rise before a key on past it.
    sim::EnvelopeKey biased = key(1, 1, SpanShape::Tcb);
    biased.bias = 1;
    EXPECT_DOUBLE_EQ(envelope({key(0, 0, SpanShape::Tcb), biased, key(2, 1, SpanShape::Tcb)}).valueAt(1.5), 1.125);
}

TEST(EnvelopeSpans, ABezier2DSpansTimeIsSolvedToTheLastBit) {
    // At the curve's parameter 1/2 the time is (0 + 3*0.6 + 3*0.9 + 1)/8 and
    // the value (0 + 3*0.3 + 3*0.8 + 1)/8.
    EXPECT_NEAR(envelope({bezier2D(0, 0, 0, 0, 0.6, 0.3), bezier2D(1, 1, -0.1, -0.2)}).valueAt(0.6875), 0.5375,
                kTolerance);
    // Handles pointing back across their keys are read along their lines.
    EXPECT_NEAR(envelope({bezier2D(0, 0, 0, 0, -0.6, -0.3), bezier2D(1, 1, 0.1, 0.2)}).valueAt(0.6875), 0.5375,
                kTolerance);

    // Upright handles: at parameter 1/4 the time is 10/64, the value 19/64.
    sim::Envelope upright = envelope({bezier2D(0, 0, 0, 0, 0, 0.5), bezier2D(1, 1, 0, -0.5)});
    EXPECT_NEAR(upright.valueAt(0.15625), 0.296875, kTolerance);
    EXPECT_NEAR(upright.valueAt(0.5), 0.5, kTolerance);
    // Symmetric about the middle, even a hair from either key, where the
    // value rises steeply and the time's last bits decide it.
    for (double hair : {0x1p-20, 0x1p-40})
        EXPECT_NEAR(upright.valueAt(hair) + upright.valueAt(1 - hair), 1, kTolerance) << hair;

    // Handles each twice the span long would turn time back on itself: they
    // are halved, where it just stops falling, and reach the far keys' times.
    // At parameter 1/4 the time is then 28/64, the value 10/64.
    sim::Envelope overlong = envelope({bezier2D(0, 0, 0, 0, 2, 0), bezier2D(1, 1, -2, 0)});
    EXPECT_NEAR(overlong.valueAt(0.4375), 0.15625, kTolerance);
    EXPECT_NEAR(overlong.valueAt(0.5), 0.5, kTolerance);
    for (double t = 0; t < 1; t += 1.0 / 64) {
        EXPECT_LE(overlong.valueAt(t), overlong.valueAt(t + 1.0 / 64)) << t;
        EXPECT_NEAR(overlong.valueAt(t) + overlong.valueAt(1 - t), 1, kTolerance) << t;
    }
}

TEST(EnvelopeSpans, AtAKeysOwnTimeTheValueIsTheKeysExactly) {
    const double tiny = 1e-170;
    sim::Envelope steep = envelope({hermite(0, 1, 0, 1e300), hermite(1, tiny, -1e300, 1e300), hermite(2, 3, 0, 0)});
    EXPECT_EQ(steep.valueAt(1), tiny);
    sim::Envelope curved = envelope({key(-0.3, 0.1, SpanShape::Tcb), key(0.7, 0.2, SpanShape::Tcb),
                                     bezier2D(1.1, 0.3, -0.2, 0.05), key(1.9, -0.7, SpanShape::Tcb)});
    for (const sim::EnvelopeKey& k : curved.keys) EXPECT_EQ(curved.valueAt(k.time), k.value);
}

TEST(EnvelopeSpans, CurvesAreSmoothAcrossKeysWhereTheirTangentsAgree) {
    // TCB keys of any tension and bias, with continuity 0, unevenly spaced.
    std::vector<sim::EnvelopeKey> keys = {key(0, 0, SpanShape::Tcb), key(0.5, 3, SpanShape::Tcb),
                                          key(2, -1, SpanShape::Tcb), key(2.25, 2, SpanShape::Tcb),
                                          key(4, 2, SpanShape::Tcb)};
    keys[1].tension = 0.4;
    keys[2].bias = -0.7;
    keys[3].tension = -0.5;
    keys[3].bias = 0.3;
    sim::Envelope tcb = envelope(keys);
    for (size_t i = 1; i + 1 < keys.size(); ++i)
        EXPECT_NEAR(slopeBefore(tcb, keys[i].time), slopeAfter(tcb, keys[i].time), 1e-5) << keys[i].time;

    // Hermite keys with equal tangents in and out, and one leading into a
    // Bezier2D span, which takes its handle along that key's tangent.
    sim::Envelope mixed = envelope({hermite(0, 0, 0, 1), hermite(1, 1, 1.5, 1.5), hermite(1.5, 0.5, -2, -2),
                                    bezier2D(3, 2, -0.5, -0.2, 0.5, 0.2)});
    for (double at : {1.0, 1.5}) EXPECT_NEAR(slopeBefore(mixed, at), slopeAfter(mixed, at), 1e-5) << at;
    // A TCB key into a Bezier2D span likewise.
    sim::Envelope tcbIntoBezier =
        envelope({key(0, 0, SpanShape::Tcb), key(1, 2, SpanShape::Tcb), bezier2D(2, 1, -0.4, 0.3)});
    EXPECT_NEAR(slopeBefore(tcbIntoBezier, 1), slopeAfter(tcbIntoBezier, 1), 1e-5);
}

// Value 1 at 2 s, 1.9 at 2.5 s, 2 at 3 s: lopsided, so that a copy reversed
// in time differs from one repeated.
sim::Envelope lopsided(Extrapolation behaviour) {
    return envelope({key(2, 1), key(2.5, 1.9), key(3, 2)}, behaviour, behaviour);
}

TEST(EnvelopeBehaviours, ResetAndConstant) {
    sim::Envelope reset = lopsided(Extrapolation::Reset);
    EXPECT_EQ(reset.valueAt(1.9), 0);
    EXPECT_EQ(reset.valueAt(3.1), 0);
    EXPECT_EQ(reset.valueAt(2), 1);
    EXPECT_EQ(reset.valueAt(3), 2);
    EXPECT_EQ(lopsided(Extrapolation::Constant).valueAt(-100), 1);
    EXPECT_EQ(lopsided(Extrapolation::Constant).valueAt(100), 2);
}

TEST(EnvelopeBehaviours, RepeatAndOscillateWhereverTheFirstKeyLies) {
    sim::Envelope repeat = lopsided(Extrapolation::Repeat);
    EXPECT_DOUBLE_EQ(repeat.valueAt(3.25), 1.45);
    EXPECT_DOUBLE_EQ(repeat.valueAt(9.25), 1.45);
    EXPECT_DOUBLE_EQ(repeat.valueAt(1.75), 1.95);
    EXPECT_DOUBLE_EQ(repeat.valueAt(-4.75), 1.45);

    // Every other copy runs backwards: mirrored about each end of the keys.
    sim::Envelope oscillate = lopsided(Extrapolation::Oscillate);
    EXPECT_DOUBLE_EQ(oscillate.valueAt(3.25), 1.95);
    EXPECT_DOUBLE_EQ(oscillate.valueAt(4.25), 1.45);
    EXPECT_DOUBLE_EQ(oscillate.valueAt(5.75), 1.45);
    EXPECT_DOUBLE_EQ(oscillate.valueAt(1.75), 1.45);
    EXPECT_DOUBLE_EQ(oscillate.valueAt(0.25), 1.45);
    EXPECT_DOUBLE_EQ(oscillate.valueAt(4), 1);
    for (double x = 0.125; x < 1; x += 0.125) {
        EXPECT_DOUBLE_EQ(oscillate.valueAt(3 + x), oscillate.valueAt(3 - x)) << x;
        EXPECT_DOUBLE_EQ(oscillate.valueAt(2 - x), oscillate.valueAt(2 + x)) << x;
    }
}

TEST(EnvelopeBehaviours, OffsetRepeatClimbsByTheKeysRiseEachCopy) {
    // Keys rising 3 over 2 s: three copies on, and two back.
    sim::Envelope offset =
        envelope({key(1, 10), key(2, 12), key(3, 13)}, Extrapolation::OffsetRepeat, Extrapolation::OffsetRepeat);
    EXPECT_DOUBLE_EQ(offset.valueAt(7.5), 20);
    EXPECT_DOUBLE_EQ(offset.valueAt(-1.5), 6.5);
    // Continuous where copies meet.
    EXPECT_DOUBLE_EQ(offset.valueAt(5), 16);
    EXPECT_NEAR(offset.valueAt(5 - 1e-9), 16, 1e-8);
}

TEST(EnvelopeBehaviours, LinearGoesOnAlongTheEndKeysTangents) {
    sim::Envelope peak = envelope({key(0, 0, SpanShape::Tcb), key(1, 1, SpanShape::Tcb), key(2, 0, SpanShape::Tcb)},
                                  Extrapolation::Linear, Extrapolation::Linear);
    EXPECT_NEAR(peak.valueAt(-1), -1, kTolerance);
    EXPECT_NEAR(peak.valueAt(3), -1, kTolerance);
    // Hermite tangents of 4 and -2 over a span of 2.
    sim::Envelope hermiteEnds =
        envelope({hermite(0, 5, 0, 4), hermite(2, 5, -2, 0)}, Extrapolation::Linear, Extrapolation::Linear);
    EXPECT_DOUBLE_EQ(hermiteEnds.valueAt(-1), 3);
    EXPECT_DOUBLE_EQ(hermiteEnds.valueAt(4), 3);
    // A Bezier2D handle's slope: 1 over half a second.
    sim::Envelope handle =
        envelope({bezier2D(0, 0, 0, 0), bezier2D(1, 1, -0.5, -1)}, Extrapolation::Linear, Extrapolation::Linear);
    EXPECT_DOUBLE_EQ(handle.valueAt(2), 3);
    EXPECT_DOUBLE_EQ(envelope({key(0, 0), key(1, 3)}, Extrapolation::Linear).valueAt(-1), -3);
    EXPECT_EQ(
        envelope({key(0, 0), key(1, 3, SpanShape::Stepped)}, Extrapolation::Linear, Extrapolation::Linear).valueAt(9),
        3);
}

TEST(EnvelopeBehaviours, CopiesFarFromTheKeysLoseOnlyWhatTheTimeCarries) {
    // Keys a second apart; a million seconds on, the time carries about 1e-10 s.
    std::vector<sim::EnvelopeKey> keys = {key(0.5, 0, SpanShape::Tcb), key(1, 1, SpanShape::Tcb),
                                          key(1.5, 0.25, SpanShape::Tcb)};
    const double far = 1e6 + 0.3;
    EXPECT_NEAR(envelope(keys, Extrapolation::Repeat, Extrapolation::Repeat).valueAt(far), envelope(keys).valueAt(1.3),
                1e-9);
    EXPECT_NEAR(envelope(keys, Extrapolation::Repeat, Extrapolation::Repeat).valueAt(-far), envelope(keys).valueAt(0.7),
                1e-9);
    // 999,999 copies on: an odd one, reversed.
    EXPECT_NEAR(envelope(keys, Extrapolation::Oscillate, Extrapolation::Oscillate).valueAt(far),
                envelope(keys).valueAt(0.7), 1e-9);
    EXPECT_NEAR(envelope(keys, Extrapolation::OffsetRepeat, Extrapolation::OffsetRepeat).valueAt(far),
                envelope(keys).valueAt(1.3) + 999999 * 0.25, 1e-8);
}

// Frame 117 at 30 fps is 3.9 s meant, a rounding short as a double: it
// begins the fourth copy of keys 1.3 s apart, as the host counts copies.
TEST(EnvelopeBehaviours, AFramesTimeOnACopysStartBeginsThatCopy) {
    std::vector<sim::EnvelopeKey> keys = {key(0, 0, SpanShape::Linear), key(1.3, -1.638, SpanShape::Linear)};
    const double frame117 = 117.0 / 30;
    ASSERT_LT(frame117, 3 * 1.3);
    EXPECT_EQ(envelope(keys, Extrapolation::Constant, Extrapolation::Repeat).valueAt(frame117), 0);
    EXPECT_NEAR(envelope(keys, Extrapolation::Constant, Extrapolation::OffsetRepeat).valueAt(frame117), 3 * -1.638,
                1e-12);
    // Oscillate: the fourth copy runs backwards, from the last key.
    EXPECT_NEAR(envelope(keys, Extrapolation::Constant, Extrapolation::Oscillate).valueAt(frame117), -1.638, 1e-12);
}

TEST(EnvelopeEdges, OneKeyHoldsItsValueWhateverItsBehaviours) {
    for (Extrapolation behaviour : {Extrapolation::Reset, Extrapolation::Constant, Extrapolation::Repeat,
                                    Extrapolation::Oscillate, Extrapolation::OffsetRepeat, Extrapolation::Linear}) {
        sim::Envelope one = envelope({key(2, 7, SpanShape::Tcb)}, behaviour, behaviour);
        EXPECT_EQ(one.valueAt(-5), 7);
        EXPECT_EQ(one.valueAt(50), 7);
    }
    // Two keys at one time have no primary interval: Reset alone leaves them.
    sim::Envelope reset = envelope({key(2, 7), key(2, 7)}, Extrapolation::Reset, Extrapolation::Reset);
    EXPECT_EQ(reset.valueAt(1), 0);
    EXPECT_EQ(reset.valueAt(2), 7);
    EXPECT_EQ(reset.valueAt(3), 0);
    EXPECT_EQ(sim::Envelope().valueAt(1), 0);
    EXPECT_EQ(sim::Envelope::constant(2.5).valueAt(-9), 2.5);
    EXPECT_EQ(sim::Envelope::constant(2.5).keys.at(0).time, 0);
}

TEST(EnvelopeEdges, KeysSharingATimeMakeAStepThatNoTangentReachesAcross) {
    sim::Envelope step = envelope(
        {key(0, 0, SpanShape::Tcb), key(1, 0, SpanShape::Tcb), key(1, 10, SpanShape::Tcb), key(2, 10, SpanShape::Tcb)});
    EXPECT_EQ(step.valueAt(1), 0);
    EXPECT_EQ(step.valueAt(0.5), 0);
    EXPECT_EQ(step.valueAt(1.5), 10);

    // A step at the first instant has no slope to go on along; after it,
    // the span beside the last key has.
    sim::Envelope early = envelope({key(0, 0), key(0, 5), key(1, 6)}, Extrapolation::Linear, Extrapolation::Linear);
    EXPECT_EQ(early.valueAt(-1), 0);
    EXPECT_DOUBLE_EQ(early.valueAt(2), 7);

    // Keys all at one time leave no interval to repeat: the nearest key holds.
    for (Extrapolation behaviour :
         {Extrapolation::Repeat, Extrapolation::Oscillate, Extrapolation::OffsetRepeat, Extrapolation::Linear}) {
        sim::Envelope instant = envelope({key(3, 1), key(3, 4)}, behaviour, behaviour);
        EXPECT_EQ(instant.valueAt(2), 1);
        EXPECT_EQ(instant.valueAt(3), 1);
        EXPECT_EQ(instant.valueAt(4), 4);
    }
}

TEST(EnvelopeEdges, AnUprightHandleGivesTheSteepestSlopeTowardsItsKey) {
    // The handle lies below the key: the curve comes up into it.
    sim::Envelope upright =
        envelope({bezier2D(0, 0, 0, 0), bezier2D(1, 1, 0, -1)}, Extrapolation::Constant, Extrapolation::Linear);
    EXPECT_DOUBLE_EQ(upright.valueAt(2), 1 + 1 / sim::kSteepestHandleTime);
}

TEST(EnvelopeEdges, FiniteKeysGiveFiniteValuesAtAnyTime) {
    const double huge = std::numeric_limits<double>::max();
    const double inf = std::numeric_limits<double>::infinity();
    const SpanShape shapes[] = {SpanShape::Tcb,    SpanShape::Hermite, SpanShape::Bezier1D,
                                SpanShape::Linear, SpanShape::Stepped, SpanShape::Bezier2D};
    const Extrapolation behaviours[] = {Extrapolation::Reset,     Extrapolation::Constant,     Extrapolation::Repeat,
                                        Extrapolation::Oscillate, Extrapolation::OffsetRepeat, Extrapolation::Linear};
    const double times[] = {-inf,   -huge, -1e300, -1,   0,   5e-301,
                            1e-300, 1,     1e300,  huge, inf, std::numeric_limits<double>::quiet_NaN()};
    for (SpanShape shape : shapes) {
        std::vector<sim::EnvelopeKey> keys = {key(-1e300, huge, shape), key(0, -huge, shape), key(1e-300, huge, shape),
                                              key(1e300, -huge, shape)};
        for (sim::EnvelopeKey& k : keys) {
            k.tension = -huge;
            k.continuity = huge;
            k.bias = -1;
            k.inTangent = k.outValue = huge;
            k.outTangent = k.inValue = -huge;
            k.outTime = huge;
        }
        for (Extrapolation behaviour : behaviours)
            for (double time : times)
                EXPECT_TRUE(std::isfinite(envelope(keys, behaviour, behaviour).valueAt(time)))
                    << static_cast<int>(shape) << " " << static_cast<int>(behaviour) << " " << time;
    }
    // A time that is not a number is read as the first key's.
    EXPECT_EQ(lopsided(Extrapolation::Reset).valueAt(std::numeric_limits<double>::quiet_NaN()), 1);
}

TEST(EnvelopeEdges, ASpanIsFoundAmongManyKeys) {
    std::vector<sim::EnvelopeKey> keys;
    for (int i = 0; i <= 10000; ++i) keys.push_back(key(i * 0.5, double(i) * i));
    sim::Envelope many = envelope(keys);
    for (int i : {0, 1, 2, 4999, 5000, 9999}) {
        EXPECT_EQ(many.valueAt(i * 0.5), double(i) * i);
        EXPECT_DOUBLE_EQ(many.valueAt(i * 0.5 + 0.25), (double(i) * i + double(i + 1) * (i + 1)) / 2);
    }
    EXPECT_EQ(many.valueAt(5000), 1e8);
}

TEST(EnvelopeCodes, TheSixShapesAndSixBehavioursAreKnownAndNoOthers) {
    for (int code = 0; code <= 5; ++code) {
        SpanShape shape = SpanShape::Tcb;
        Extrapolation behaviour = Extrapolation::Reset;
        EXPECT_TRUE(sim::spanShapeOfCode(code, shape));
        EXPECT_TRUE(sim::extrapolationOfCode(code, behaviour));
        EXPECT_EQ(static_cast<int>(shape), code);
        EXPECT_EQ(static_cast<int>(behaviour), code);
    }
    SpanShape shape = SpanShape::Linear;
    Extrapolation behaviour = Extrapolation::Linear;
    for (int code : {-1, 6, 1000}) {
        EXPECT_FALSE(sim::spanShapeOfCode(code, shape));
        EXPECT_FALSE(sim::extrapolationOfCode(code, behaviour));
    }
    EXPECT_EQ(shape, SpanShape::Linear);
    EXPECT_EQ(behaviour, Extrapolation::Linear);
}

}  // namespace
