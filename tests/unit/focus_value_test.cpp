// Kelto Focus's value: the measures against values computed by hand, the
// subject offset in the subject's own scaled axes, the near limit, the lag's
// trapezoid and its independence of the order of evaluation.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <random>
#include <vector>

#include "focus/focus_value.h"
#include "focus_support.h"
#include "host/item_info.h"

namespace {

using kelto::FocusInstance;
using unit::Pose;
using unit::Vector;

uint64_t bitsOf(double value) {
    uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

// Kelto's distance as written down: (dz² + dy²) + dx², then the root.
double keltoDistance(const Vector& a, const Vector& b) {
    double dx = a[0] - b[0], dy = a[1] - b[1], dz = a[2] - b[2];
    return std::sqrt((dz * dz + dy * dy) + dx * dx);
}

Pose at(Vector position, Vector forward = {0, 0, 1}) {
    Pose pose;
    pose.position = position;
    pose.forward = forward;
    return pose;
}

class FocusValue : public unit::FocusScene {
protected:
    void SetUp() override {
        scene.addObject("Subject");
        scene.addCamera("Camera");
        FocusScene::SetUp();
        instance = named("Subject", "Camera");
    }

    // The channel's value after one evaluation at `time`, from `before`.
    double evaluate(double time = 0, double before = -1) {
        double value = before;
        return kelto::evaluateFocus(instance, time, value) ? value : before;
    }

    std::vector<int> codesAsked() const {
        std::vector<int> codes;
        for (const unit::ParamCall& call : unit::fakeItemInfo().calls) codes.push_back(call.code);
        return codes;
    }

    FocusInstance instance;
};

const int kPosition = host::kItemParamWorldPosition;

TEST_F(FocusValue, StraightLineWithoutOffsetsIsKeltosDistanceToTheBitForTwoQueries) {
    std::mt19937_64 random(15);
    std::uniform_real_distribution<double> coordinate(-40, 40);
    auto vector = [&] { return Vector{coordinate(random), coordinate(random), coordinate(random)}; };
    for (int trial = 0; trial < 2000; ++trial) {
        Vector subject = vector(), camera = vector();
        // The axes are there to be ignored: no offset asks for none.
        Pose subjectPose = at(subject, vector());
        subjectPose.right = vector();
        place(object(0), subjectPose);
        place(this->camera(0), at(camera, vector()));
        unit::fakeItemInfo().calls.clear();
        double expected = keltoDistance(subject, camera);
        ASSERT_GE(expected, kelto::kNearestFocus);
        ASSERT_EQ(bitsOf(evaluate(trial * 0.01)), bitsOf(expected)) << "trial " << trial;
        ASSERT_EQ(codesAsked(), (std::vector<int>{kPosition, kPosition}));
    }
}

// Camera at (1, 1, 1), subject 3, 4 and 12 units off: 13 in a straight line.
TEST_F(FocusValue, AlongViewIsTheDepthOnTheCamerasViewAxisWhateverItsScale) {
    place(object(0), at({4, 5, 13}));
    instance.settings.measure = kelto::kMeasureAlongView;

    place(camera(0), at({1, 1, 1}, {0, 0, 2}));
    EXPECT_EQ(evaluate(), 12.0);
    EXPECT_EQ(codesAsked(), (std::vector<int>{kPosition, kPosition, host::kItemParamForward}));
    place(camera(0), at({1, 1, 1}, {0, 3, 4}));
    EXPECT_EQ(evaluate(), 12.0);  // (0·3 + 4·3 + 12·4) / 5

    // Off the axis: (3·1 + 12·1) / √2.
    place(camera(0), at({1, 1, 1}, {1, 0, 1}));
    EXPECT_EQ(evaluate(), 15.0 / std::sqrt(2.0));

    instance.settings.measure = kelto::kMeasureStraightLine;
    EXPECT_EQ(evaluate(), 13.0);
}

// The subject's X axis turned to world Y and scaled 2, its Y axis to world -X
// and scaled 3, its Z axis scaled 0.5: the offset (1, 0.5, -2) from (1, 2, 3)
// is the point (1 - 1.5, 2 + 2, 3 - 1) = (-0.5, 4, 2).
TEST_F(FocusValue, TheSubjectOffsetIsAPointInTheSubjectsScaledAxesAndTheFocusOffsetIsAdded) {
    Pose subject = at({1, 2, 3}, {0, 0, 0.5});
    subject.right = {0, 2, 0};
    subject.up = {-3, 0, 0};
    place(object(0), subject);
    place(camera(0), at({0, 0, 0}, {0, 0, 1}));
    double offset[] = {1, 0.5, -2};
    ASSERT_TRUE(kelto::setSubjectOffset(instance.settings, offset));

    EXPECT_EQ(evaluate(), 4.5);  // √((2² + 4²) + 0.5²)
    EXPECT_EQ(codesAsked(), (std::vector<int>{kPosition, host::kItemParamRight, host::kItemParamUp,
                                              host::kItemParamForward, kPosition}));
    instance.settings.measure = kelto::kMeasureAlongView;
    EXPECT_EQ(evaluate(), 2.0);

    // Positive behind the subject, negative in front of it.
    instance.settings.focusOffset = 0.25;
    EXPECT_EQ(evaluate(), 2.25);
    instance.settings.focusOffset = -1.5;
    EXPECT_EQ(evaluate(), 0.5);
}

TEST_F(FocusValue, TheFocusNeverComesCloserThanTheNearLimit) {
    place(camera(0), at({0, 0, 0}, {0, 0, 1}));
    // A subject behind the camera.
    place(object(0), at({0, 0, -5}));
    instance.settings.measure = kelto::kMeasureAlongView;
    EXPECT_EQ(evaluate(), 0.001);
    // A subject at the camera.
    place(object(0), at({0, 0, 0}));
    instance.settings.measure = kelto::kMeasureStraightLine;
    EXPECT_EQ(evaluate(), 0.001);
    // An offset past it.
    place(object(0), at({0, 0, 13}));
    instance.settings.focusOffset = -100;
    EXPECT_EQ(evaluate(), 0.001);
    // Just beyond the limit, the value itself.
    instance.settings.focusOffset = 0.0015 - 13;
    EXPECT_EQ(evaluate(), 13 + (0.0015 - 13));
}

TEST_F(FocusValue, AForwardOfZeroLengthFallsBackToTheStraightLineAndAnyOtherMeasuresAlongIt) {
    place(object(0), at({4, 5, 13}));
    instance.settings.measure = kelto::kMeasureAlongView;
    place(camera(0), at({1, 1, 1}, {0, 0, 0}));
    EXPECT_EQ(evaluate(), 13.0);
    // A camera scaled so far down or up that the squares of its forward are
    // no normal doubles (0, subnormal, infinite) still measures along its view.
    for (double scale : {1e-200, 1e-160, 1e200}) {
        place(camera(0), at({1, 1, 1}, {0, 3 * scale, 4 * scale}));
        EXPECT_EQ(evaluate(), 12.0) << scale;
    }
}

// A subject offset from about 1.34e154 squares past the largest double; the
// distance is still found wherever it is a double itself, and wherever the
// squares fit it keeps Kelto's bits.
TEST_F(FocusValue, AStraightLineWhoseSquaresOverflowIsMeasuredScaled) {
    place(object(0), at({0, 0, 0}));
    place(camera(0), at({0, 0, 0}));
    const int kExponent = 600;  // 2^600 ≈ 4e180: squares far past the largest double
    double offset[] = {std::ldexp(3, kExponent), std::ldexp(4, kExponent), 0};
    ASSERT_TRUE(kelto::setSubjectOffset(instance.settings, offset));
    EXPECT_EQ(evaluate(), std::ldexp(5, kExponent));

    // Just below the overflow, and well within it: Kelto's own bits.
    for (double size : {1e154, 2.5e100, 7.25}) {
        double near[] = {size, -size / 3, size / 7};
        ASSERT_TRUE(kelto::setSubjectOffset(instance.settings, near));
        Vector point = {near[0], near[1], near[2]};
        EXPECT_EQ(bitsOf(evaluate()), bitsOf(keltoDistance(point, {0, 0, 0}))) << size;
    }

    // With no offset the items themselves can be as far apart, the camera
    // anywhere: a difference of (-3, 0, -4) units of 2^600.
    instance.settings = {};
    auto units = [kExponent](double n) { return std::ldexp(n, kExponent); };
    place(object(0), at({units(-2), units(2), units(1)}));
    place(camera(0), at({units(1), units(2), units(5)}));
    EXPECT_EQ(evaluate(), units(5));

    // A distance beyond the largest double leaves the channel as it was.
    double past[] = {1.5e308, 1.5e308, 0};
    ASSERT_TRUE(kelto::setSubjectOffset(instance.settings, past));
    place(object(0), at({0, 0, 0}));
    place(camera(0), at({0, 0, 0}));
    EXPECT_EQ(evaluate(0, 7.5), 7.5);
}

// An offset along any one of the subject's axes moves the point focused on.
TEST_F(FocusValue, AnOffsetAlongAnyOneAxisCounts) {
    place(object(0), at({0, 0, 10}));
    place(camera(0), at({0, 0, 0}));
    const Vector offsets[] = {{7.5, 0, 0}, {0, 7.5, 0}, {0, 0, 2.5}};
    for (const Vector& along : offsets) {
        double offset[] = {along[0], along[1], along[2]};
        ASSERT_TRUE(kelto::setSubjectOffset(instance.settings, offset));
        EXPECT_EQ(evaluate(), 12.5) << along[0] << " " << along[1] << " " << along[2];
    }
}

// A forward of which the host wrote only part, the rest of no length, gives no
// measure: the channel keeps its value rather than fall back to the straight
// line, whichever coordinate was left unwritten.
TEST_F(FocusValue, AForwardPartlyUnwrittenGivesNoValue) {
    place(object(0), at({4, 5, 13}));
    instance.settings.measure = kelto::kMeasureAlongView;
    for (int axis = 0; axis < kelto::kAxisCount; ++axis) {
        Vector forward = {0, 0, 0};
        forward[axis] = std::nan("");
        place(camera(0), at({1, 1, 1}, forward));
        EXPECT_EQ(evaluate(0, 7.5), 7.5) << "axis " << axis;
    }
}

TEST_F(FocusValue, TheChannelKeepsItsValueWithoutAReferenceOrAnAnswer) {
    place(object(0), at({4, 5, 13}));
    place(camera(0), at({1, 1, 1}, {0, 0, 2}));

    FocusInstance missing = named("Nothing", "Camera");
    double value = 7.5;
    EXPECT_FALSE(kelto::evaluateFocus(missing, 0, value));
    EXPECT_EQ(value, 7.5);
    EXPECT_TRUE(unit::fakeItemInfo().calls.empty());

    // The forward is asked for by the along-view measure alone.
    unit::fakeItemInfo().unansweredCode = host::kItemParamForward;
    EXPECT_EQ(evaluate(0, 7.5), 13.0);
    instance.settings.measure = kelto::kMeasureAlongView;
    EXPECT_EQ(evaluate(0, 7.5), 7.5);
    // The subject's axes by an offset alone.
    unit::fakeItemInfo().unansweredCode = host::kItemParamUp;
    EXPECT_EQ(evaluate(0, 7.5), 12.0);
    instance.settings.subjectOffset[2] = 1;
    EXPECT_EQ(evaluate(0, 7.5), 7.5);

    // A position that is not finite gives no value to set.
    unit::fakeItemInfo().unansweredCode = 0;
    place(object(0), at({4, 5, INFINITY}));
    EXPECT_EQ(evaluate(0, 7.5), 7.5);

    // Nor does an answer that stops before its last coordinate, after
    // evaluations whose answers were whole.
    place(object(0), at({4, 5, 13}));
    instance.settings = {};
    EXPECT_EQ(evaluate(0, 7.5), 13.0);
    unit::fakeItemInfo().answeredAxes = 2;
    EXPECT_EQ(evaluate(0, 7.5), 7.5);
}

// Both items move and turn, neither at a steady rate.
Pose subjectAt(double t) {
    Pose pose = at({3 * std::sin(2 * t), 1 + t * t, 10 + 4 * std::cos(t)});
    pose.right = {std::cos(t), 0, -std::sin(t)};
    pose.up = {0, 1.5, 0};
    pose.forward = {std::sin(t), 0, std::cos(t)};
    return pose;
}

Pose cameraAt(double t) { return at({t, 0.5 * std::sin(3 * t), -t / 2}, {std::sin(t / 3), 0.1, std::cos(t / 3)}); }

class FocusLag : public FocusValue {
protected:
    void SetUp() override {
        FocusValue::SetUp();
        move(object(0), subjectAt);
        move(camera(0), cameraAt);
        double offset[] = {0.2, -0.1, 0.3};
        kelto::setSubjectOffset(instance.settings, offset);
        instance.settings.measure = kelto::kMeasureAlongView;
        instance.settings.focusOffset = 0.5;
    }
};

// Worked by hand, on a subject moving straight away from a camera at the
// origin: the trapezoid rule is exact for a distance that grows linearly, and
// for one that grows as t² it overshoots the mean by h²/6, h being the step,
// a sixteenth of the lag.
TEST_F(FocusLag, TheLagIsTheTrapezoidMeanOfTheValueOver16Steps) {
    instance.settings = kelto::FocusSettings{};
    place(camera(0), at({0, 0, 0}));
    move(object(0), [](double t) { return at({0, 0, 10 + 4 * t}); });
    ASSERT_TRUE(kelto::setLag(instance.settings, 0.5));
    // The mean over [1.5, 2] is the value at 1.75: 10 + 4 · 1.75.
    EXPECT_NEAR(evaluate(2.0), 17.0, 1e-12);

    move(object(0), [](double t) { return at({0, 0, 10 + t * t}); });
    ASSERT_TRUE(kelto::setLag(instance.settings, 1.6));
    // Over [0.4, 2] the mean of t² is (8 - 0.064) / 4.8 = 1.653333…; h = 0.1
    // adds 0.01 / 6: 10 + 1.655.
    unit::fakeItemInfo().calls.clear();
    EXPECT_NEAR(evaluate(2.0), 11.655, 1e-12);
    // Each of the 17 samples asks for the subject's position and the camera's,
    // the first a whole lag before the time evaluated.
    EXPECT_EQ(unit::fakeItemInfo().calls.size(), 17u * 2);
    EXPECT_EQ(unit::fakeItemInfo().calls.front().time, 2.0 - 1.6);
    EXPECT_EQ(unit::fakeItemInfo().calls.back().time, 2.0);
}

TEST_F(FocusLag, AnyOrderOfEvaluationGivesTheSameBits) {
    ASSERT_TRUE(kelto::setLag(instance.settings, 0.5));
    std::vector<double> times;
    for (int frame = -12; frame < 60; ++frame) times.push_back(frame / 24.0 + (frame % 5) * 0.013);

    std::vector<uint64_t> inSequence;
    for (double time : times) inSequence.push_back(bitsOf(evaluate(time)));

    // Another instance, as on another render node, in a random order, with
    // evaluations at other times between.
    FocusInstance other = instance;
    std::vector<size_t> order(times.size());
    for (size_t index = 0; index < order.size(); ++index) order[index] = index;
    std::mt19937 random(7);
    std::shuffle(order.begin(), order.end(), random);
    std::uniform_real_distribution<double> elsewhere(-3, 9);
    for (size_t index : order) {
        double ignored = 0;
        kelto::evaluateFocus(other, elsewhere(random), ignored);
        double value = 0;
        ASSERT_TRUE(kelto::evaluateFocus(other, times[index], value));
        EXPECT_EQ(bitsOf(value), inSequence[index]) << "time " << times[index];
    }
}

}  // namespace
