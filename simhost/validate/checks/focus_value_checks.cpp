// Kelto Focus's value: the straight line to the bit of Kelto's, both measures
// with offsets against the host's own computation, and the lag's mean, which
// depends on the time alone.
#include <algorithm>
#include <cmath>
#include <iterator>
#include <random>
#include <utility>
#include <vector>

#include "simhost/modifiers/kelto_focus_facts.h"
#include "simhost/scene/scene.h"
#include "simhost/validate/checks/check_tables.h"
#include "simhost/validate/focus_expectation.h"

namespace sim {

namespace {

namespace focus = kelto_focus_facts;

const char kSubject[] = "Subject";
const char kLens[] = "Lens";
// Random positions within this reach of the origin, keyed at every frame.
const double kReach = 50;
const int kLastFrame = 48;
// Every this many frames the subject stands within kNearness of the lens,
// where the near limit holds.
const int kNearFrameEvery = 6;
const double kNearness = 0.0004;
const int kRandomTimes = 200;
// Times reach this many frames beyond the scene's range, where positions hold.
const double kFramesOutside = 2.0;

Vec3 randomPoint(std::mt19937& random, double reach) {
    std::uniform_real_distribution<double> coordinate(-reach, reach);
    Vec3 point;
    point.x = coordinate(random);
    point.y = coordinate(random);
    point.z = coordinate(random);
    return point;
}

Vec3 plus(const Vec3& a, const Vec3& b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }

// A subject and a lens keyed at random places at every frame; at some frames
// the subject stands next to the lens.
Scene randomPositionScene(std::mt19937& random) {
    Scene scene;
    scene.firstFrame = 0;
    scene.lastFrame = kLastFrame;
    SceneItem& subject = scene.addObject(kSubject);
    SceneItem& lens = scene.addCamera(kLens);
    subject.motion.clearPosition();
    lens.motion.clearPosition();
    for (int frame = 0; frame <= kLastFrame; ++frame) {
        Vec3 at = randomPoint(random, kReach);
        Vec3 subjectAt =
            frame % kNearFrameEvery == 0 ? plus(at, randomPoint(random, kNearness)) : randomPoint(random, kReach);
        lens.motion.keyPosition(frame, at);
        subject.motion.keyPosition(frame, subjectAt);
    }
    return scene;
}

// Every whole frame, then random times between and around them.
std::vector<double> timesOf(const Scene& scene, std::mt19937& random) {
    std::vector<double> times;
    for (int frame = scene.firstFrame; frame <= scene.lastFrame; ++frame) times.push_back(scene.timeOfFrame(frame));
    std::uniform_real_distribution<double> frame(scene.firstFrame - kFramesOutside, scene.lastFrame + kFramesOutside);
    for (int i = 0; i < kRandomTimes; ++i) times.push_back(scene.timeOfFrame(frame(random)));
    return times;
}

bool sameBits(const Evaluation& a, const Evaluation& b) { return a.set == b.set && a.value == b.value; }

// Lags up to this many seconds, focus offsets within this reach.
const double kLongestLag = 1.5, kFocusOffsetReach = 2;
const int kLagTimes = 64;
// Times evaluated by an instance of their own, as a render node does.
const int kAloneTimes = 8;

// Ball and Camera of the check scene with a random lag and focus offset.
focus::Settings randomLag(std::mt19937& random) {
    focus::Settings settings;
    settings.lag = std::uniform_real_distribution<double>(0, kLongestLag)(random);
    settings.focusOffset = std::uniform_real_distribution<double>(-kFocusOffsetReach, kFocusOffsetReach)(random);
    return settings;
}

std::vector<double> ascendingTimes(const Scene& scene, std::mt19937& random) {
    std::uniform_real_distribution<double> frame(scene.firstFrame - kFramesOutside, scene.lastFrame + kFramesOutside);
    std::vector<double> times;
    for (int i = 0; i < kLagTimes; ++i) times.push_back(scene.timeOfFrame(frame(random)));
    std::sort(times.begin(), times.end());
    return times;
}

// The values of a new instance evaluated at `times` in sequence, each held
// to the host's trapezoid mean.
std::vector<Evaluation> inSequence(CheckRig& rig, const std::vector<std::string>& block,
                                   const focus::Settings& settings, const std::vector<double>& times) {
    std::vector<Evaluation> values;
    host::InstanceHandle instance = rig.loaded(block);
    const Scene& scene = rig.scene();
    for (size_t i = 0; i < times.size() && instance != nullptr && rig.expect().ok(); ++i) {
        values.push_back(rig.evaluated(instance, times[i]));
        double expected = hostFocusValue(scene, scene.objects[0], scene.cameras[0], settings, times[i]);
        rig.expect().that(values[i].set && agrees(values[i].value, expected), [&] {
            return "with a lag of " + numberText(settings.lag) + " s, at time " + numberText(times[i]) +
                   " the channel is " + evaluationText(values[i]) + ", not the mean " + numberText(expected);
        });
    }
    return values;
}

// The lag's mean ending where the subject stands within the near limit of
// the lens: the limit bounds the mean, never a sample of it.
void expectLagPastTheNearLimit(CheckContext& context) {
    CheckRig rig(context.module(), context.protocol, context.modifier, context.expect,
                 randomPositionScene(context.random));
    if (!rig.bind()) return;
    focus::Settings settings;
    settings.lag = std::uniform_real_distribution<double>(0, kLongestLag)(context.random);
    std::vector<double> times;
    for (int frame = 0; frame <= kLastFrame; frame += kNearFrameEvery) times.push_back(rig.timeOfFrame(frame));
    inSequence(rig, focus::referenceBlock(kSubject, kLens, settings), settings, times);
}

}  // namespace

// With no offsets and no lag the straight line is Kelto's distance, the same
// formula in the same order, so the same bits; below the near limit it is
// the limit.
void checkFocusStraightLine(CheckContext& context) {
    CheckRig rig(context.module(), context.protocol, context.modifier, context.expect,
                 randomPositionScene(context.random));
    host::InstanceHandle instance = rig.bind() ? rig.loaded(rig.referenceBlock(kSubject, kLens)) : nullptr;
    if (instance == nullptr) return;
    const Scene& scene = rig.scene();
    for (double time : timesOf(scene, context.random)) {
        if (!context.expect.ok()) return;
        Evaluation result = rig.evaluated(instance, time);
        double distance = hostDistance(scene, scene.objects[0], scene.cameras[0], time);
        double expected = distance < focus::kNearest ? focus::kNearest : distance;
        context.expect.that(result.set && result.value == expected, [&] {
            return "at time " + numberText(time) + " the straight line is " + evaluationText(result) + ", not " +
                   numberText(expected) + (distance < focus::kNearest ? ", the near limit" : ", Kelto's distance");
        });
    }
}

// The lag's mean over [t - lag, t] depends on t alone: evaluated in
// sequence, in a random order, or alone by an instance of its own, each time
// gives the same bits, the host's trapezoid mean.
void checkFocusLag(CheckContext& context) {
    CheckRig rig(context.module(), context.protocol, context.modifier, context.expect);
    if (!rig.bind()) return;
    const focus::Settings settings = randomLag(context.random);
    const std::vector<std::string> block = focus::referenceBlock("Ball", "Camera", settings);
    const std::vector<double> times = ascendingTimes(rig.scene(), context.random);
    const std::vector<Evaluation> values = inSequence(rig, block, settings, times);
    if (values.size() != times.size()) return;
    std::vector<size_t> order(times.size());
    for (size_t i = 0; i < order.size(); ++i) order[i] = i;
    std::shuffle(order.begin(), order.end(), context.random);
    host::InstanceHandle shuffled = rig.loaded(block);
    for (size_t n = 0; n < order.size() && shuffled != nullptr && context.expect.ok(); ++n) {
        size_t i = order[n];
        Evaluation result = rig.evaluated(shuffled, times[i]);
        context.expect.that(sameBits(result, values[i]), [&] {
            return "with a lag of " + numberText(settings.lag) + " s, at time " + numberText(times[i]) +
                   " evaluation in a random order gives " + evaluationText(result) + ", in sequence " +
                   evaluationText(values[i]);
        });
    }
    for (size_t n = 0; n < size_t(kAloneTimes) && context.expect.ok(); ++n) {
        size_t i = order[n];
        host::InstanceHandle alone = rig.loaded(block);
        if (alone == nullptr) return;
        Evaluation result = rig.evaluated(alone, times[i]);
        context.expect.that(sameBits(result, values[i]), [&] {
            return "with a lag of " + numberText(settings.lag) + " s, at time " + numberText(times[i]) +
                   " an instance evaluated there alone gives " + evaluationText(result) + ", in sequence " +
                   evaluationText(values[i]);
        });
        rig.discard(alone);
    }
    expectLagPastTheNearLimit(context);
}

namespace {

const int kMeasureRounds = 40;
const int kTimesPerRound = 6;
const double kMeasureReach = 20, kOffsetReach = 3, kFocusOffsetRange = 5;
const double kLeastScale = 0.2, kMostScale = 3;
const double kTurn = 180, kMostPitch = 90;
// Every this many frames the lens is flattened along its view: its forward
// has no length there, and the measure along the view falls back.
const int kFlatFrameEvery = 8;
// Now and then the focus offset pulls the focus past the lens.
const double kPastTheLens = -200;
// At these frames the lens is scaled so far down or up that its forward's
// squared length is no normal number.
const int kFarScaleFrames[] = {4, 12, 20, 28};
const double kFarScales[] = {1e-170, 1e170};
// A focus offset that keeps the focus before the lens whatever the depth of
// a subject within reach, so that the depth shows.
const double kBeyondAnyDepth = 200;
// A subject offset this large puts the focus point beyond any distance a
// number holds: the channel keeps its own value.
const double kOverflowingOffset = 1e308;
const int kOverflowRounds = 4;
// One round in this many has no subject offset; one no focus offset, and one
// an offset past the lens.
const int kOneIn = 4;

// A subject and a lens keyed at random places, orientations and scales at
// every frame.
Scene randomPoseScene(std::mt19937& random) {
    Scene scene = randomPositionScene(random);
    std::uniform_real_distribution<double> turn(-kTurn, kTurn), pitch(-kMostPitch, kMostPitch),
        scale(kLeastScale, kMostScale);
    for (SceneItem* item : {&scene.objects[0], &scene.cameras[0]}) {
        item->motion.clearPosition();
        for (int frame = scene.firstFrame; frame <= scene.lastFrame; ++frame) {
            item->motion.keyPosition(frame, randomPoint(random, kMeasureReach));
            Rotation rotation;
            rotation.heading = turn(random);
            rotation.pitch = pitch(random);
            rotation.bank = turn(random);
            item->motion.keyRotation(frame, rotation);
            Vec3 stretch = {scale(random), scale(random), scale(random)};
            if (item == &scene.cameras[0] && frame % kFlatFrameEvery == 0) stretch.z = 0;
            item->motion.keyScale(frame, stretch);
        }
    }
    for (size_t i = 0; i < std::size(kFarScaleFrames); ++i) {
        const double far = kFarScales[i % std::size(kFarScales)];
        for (int channel = kScaleX; channel <= kScaleZ; ++channel)
            scene.cameras[0].motion.channels[channel].keys[size_t(kFarScaleFrames[i])].value *= far;
    }
    return scene;
}

focus::Settings randomMeasure(std::mt19937& random) {
    focus::Settings settings;
    settings.measure = std::uniform_int_distribution<int>(0, focus::kMeasureCount - 1)(random);
    std::uniform_real_distribution<double> offset(-kOffsetReach, kOffsetReach);
    bool offsetSubject = std::uniform_int_distribution<int>(0, kOneIn - 1)(random) != 0;
    for (double& axis : settings.subjectOffset) axis = offsetSubject ? offset(random) : 0;
    switch (std::uniform_int_distribution<int>(0, kOneIn - 1)(random)) {
        case 0: settings.focusOffset = 0; break;
        case 1: settings.focusOffset = kPastTheLens; break;
        default:
            settings.focusOffset =
                std::uniform_real_distribution<double>(-kFocusOffsetRange, kFocusOffsetRange)(random);
    }
    return settings;
}

// The channel at `time` is the host's own value, or left alone where that
// is no finite number.
void expectMeasured(CheckRig& rig, host::InstanceHandle instance, const focus::Settings& settings, double time) {
    const Scene& scene = rig.scene();
    Evaluation result = rig.evaluated(instance, time);
    double expected = hostFocusValue(scene, scene.objects[0], scene.cameras[0], settings, time);
    bool finite = std::isfinite(expected);
    rig.expect().that(finite ? result.set && agrees(result.value, expected) : !result.set, [&] {
        std::vector<std::string> block = focus::referenceBlock(kSubject, kLens, settings);
        std::string lines;
        for (size_t line = focus::kCameraNameLine + 1; line + 1 < block.size(); ++line) lines += ", " + block[line];
        return "at time " + numberText(time) + lines + ": the channel is " + evaluationText(result) + ", not " +
               (finite ? numberText(expected) : "left alone, " + numberText(expected) + " being no finite number");
    });
}

}  // namespace

// Both measures, with random subject and focus offsets, over a subject and a
// lens at random places, orientations and scales, are the host's own
// computation from its positions and axes; the near limit holds, and a lens
// whose forward has no length measures the straight line.
void checkFocusMeasure(CheckContext& context) {
    CheckRig rig(context.module(), context.protocol, context.modifier, context.expect, randomPoseScene(context.random));
    if (!rig.bind()) return;
    const Scene& scene = rig.scene();
    std::uniform_real_distribution<double> frame(scene.firstFrame - kFramesOutside, scene.lastFrame + kFramesOutside);
    std::uniform_int_distribution<int> wholeFrame(scene.firstFrame, scene.lastFrame);
    for (int round = 0; round < kMeasureRounds && context.expect.ok(); ++round) {
        const focus::Settings settings = randomMeasure(context.random);
        host::InstanceHandle instance = rig.loaded(focus::referenceBlock(kSubject, kLens, settings));
        if (instance == nullptr) return;
        for (int i = 0; i < kTimesPerRound && context.expect.ok(); ++i)
            expectMeasured(rig, instance, settings,
                           scene.timeOfFrame(i % 2 == 0 ? double(wholeFrame(context.random)) : frame(context.random)));
        rig.discard(instance);
    }
    // Along the view of a lens scaled far down or up, at the frame of that
    // scale; then focus points too far for a number.
    std::vector<std::pair<focus::Settings, double>> rounds;
    for (int far : kFarScaleFrames) {
        focus::Settings settings = randomMeasure(context.random);
        settings.measure = focus::kAlongView;
        settings.focusOffset = kBeyondAnyDepth;
        rounds.push_back({settings, scene.timeOfFrame(far)});
    }
    std::uniform_int_distribution<int> sign(0, 1);
    for (int round = 0; round < kOverflowRounds; ++round) {
        focus::Settings settings;
        for (double& axis : settings.subjectOffset)
            axis = sign(context.random) == 0 ? kOverflowingOffset : -kOverflowingOffset;
        rounds.push_back({settings, scene.timeOfFrame(frame(context.random))});
    }
    for (size_t i = 0; i < rounds.size() && context.expect.ok(); ++i) {
        host::InstanceHandle instance = rig.loaded(focus::referenceBlock(kSubject, kLens, rounds[i].first));
        if (instance == nullptr) return;
        expectMeasured(rig, instance, rounds[i].first, rounds[i].second);
        rig.discard(instance);
    }
}

const CheckDefinition kFocusValueDefinitions[] = {
    {"straight-line", "with no offsets and no lag the straight line is Kelto's distance to the bit, never below 0.001",
     CheckScope::EachProtocol, checkFocusStraightLine},
    {"measure",
     "both measures with subject and focus offsets, at random places, orientations and scales, are the host's own",
     CheckScope::EachProtocol, checkFocusMeasure},
    {"lag", "the lag's trapezoid mean is the host's, and the same bits in any order of evaluation",
     CheckScope::EachProtocol, checkFocusLag},
};

constexpr CheckTable kFocusValueChecks = checkTable(kFocusValueDefinitions);

}  // namespace sim
