// The evaluation: the distance at any time the host evaluates, sub-frame
// times included.
#include <random>
#include <utility>
#include <vector>

#include "simhost/validate/checks/check_tables.h"

namespace sim {

namespace {

const int kRandomTimes = 300;
// Times reach this many frames beyond the scene's range, where positions hold.
const double kFramesOutside = 2.0;

struct TimedValue {
    double time;
    Evaluation result;
};

// Evaluations of Ball and Camera at random times between and around the
// frames, each the host's own distance.
std::vector<TimedValue> evaluatedAtRandomTimes(CheckRig& rig, std::mt19937& random) {
    std::vector<TimedValue> values;
    host::InstanceHandle instance = rig.loaded(rig.referenceBlock("Ball", "Camera"));
    if (instance == nullptr) return values;
    const Scene& scene = rig.scene();
    std::uniform_real_distribution<double> frame(scene.firstFrame - kFramesOutside, scene.lastFrame + kFramesOutside);
    for (int i = 0; i < kRandomTimes && rig.expect().ok(); ++i) {
        double time = scene.timeOfFrame(frame(random));
        Evaluation result = rig.evaluated(instance, time);
        double expected = rig.expectedValue(hostDistance(scene, scene.objects[0], scene.cameras[0], time));
        rig.expect().that(result.set && agrees(result.value, expected), [&] {
            return "at time " + numberText(time) + " the channel is " + evaluationText(result) + ", not " +
                   numberText(expected);
        });
        values.push_back({time, result});
    }
    return values;
}

}  // namespace

// The same times again with the ball and the camera trading their paths:
// the distance is the same to the bit, whichever item is where.
void checkSubFrameTimes(CheckContext& context) {
    std::vector<TimedValue> values;
    {
        CheckRig rig(context.module(), context.protocol, context.modifier, context.expect);
        if (!rig.bind()) return;
        values = evaluatedAtRandomTimes(rig, context.random);
    }
    Scene swapped = checkScene();
    std::swap(swapped.objects[0].motion, swapped.cameras[0].motion);
    CheckRig mirror(context.module(), context.protocol, context.modifier, context.expect, swapped);
    host::InstanceHandle other = mirror.bind() ? mirror.loaded(mirror.referenceBlock("Ball", "Camera")) : nullptr;
    for (size_t i = 0; i < values.size() && other != nullptr && context.expect.ok(); ++i) {
        Evaluation result = mirror.evaluated(other, values[i].time);
        context.expect.that(result.set && result.value == values[i].result.value, [&] {
            return "at time " + numberText(values[i].time) + " swapping the positions changes the distance from " +
                   numberText(values[i].result.value) + " to " + evaluationText(result);
        });
    }
}

const CheckDefinition kEvaluationDefinitions[] = {
    {"sub-frame-times", "evaluation at sub-frame times: right, finite, the same for swapped positions",
     CheckScope::EachProtocol, checkSubFrameTimes},
};

constexpr CheckTable kEvaluationChecks = checkTable(kEvaluationDefinitions);

}  // namespace sim
