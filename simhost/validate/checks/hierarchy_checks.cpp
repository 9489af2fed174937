// Items placed through their parents: a subject on a turning, scaled table
// with its pivot off its centre, on a stage that moves, and a lens on a
// crane of a pivot rotation of its own. The distance, and Kelto Focus's
// depth along the view, are the host's from world positions and axes, so a
// module that takes an item's position before parenting is caught.
#include <cmath>
#include <random>

#include "host/host_types.h"
#include "simhost/modifiers/kelto_focus_facts.h"
#include "simhost/validate/checks/check_tables.h"
#include "simhost/validate/focus_expectation.h"

namespace sim {

namespace {

namespace focus = kelto_focus_facts;

const char kSubject[] = "Ball";
const char kLens[] = "Camera";
const int kLastFrame = 48;
const int kRandomTimes = 200;
// Frames reach this far beyond the scene's range, where the keys hold.
const int kFramesOutside = 2;
// Kelto Focus's offsets in the subject's axes reach this far.
const double kOffsetReach = 0.5;

SceneItem& keyedFromTo(SceneItem& item, const Vec3& from, const Vec3& to) {
    item.motion.placeAt(from);
    item.motion.keyPosition(kLastFrame, to);
    return item;
}

Scene hierarchyScene() {
    Scene scene;
    scene.firstFrame = 0;
    scene.lastFrame = kLastFrame;
    SceneItem& stage = keyedFromTo(scene.addObject("Stage"), {0, 0, 4}, {3, 0, 6});
    stage.motion.keyRotation(0, {0, 0, 0});
    stage.motion.keyRotation(kLastFrame, {-30, 0, 0});
    SceneItem& table = keyedFromTo(scene.addObject("Table"), {2, 0.5, 1}, {2, 0.5, 1});
    table.parent = scene.objects[0].serial;
    table.pivot = {0.5, 0, -0.25};
    table.motion.keyRotation(0, {0, 0, 0});
    table.motion.keyRotation(kLastFrame, {270, 10, 0});
    table.motion.keyScale(0, {1.5, 1.5, 1.5});
    SceneItem& ball = keyedFromTo(scene.addObject(kSubject), {1, 0.25, 0}, {1, 1, 0.5});
    ball.parent = scene.objects[1].serial;
    ball.motion.keyRotation(0, {45, 0, 20});
    SceneItem& crane = scene.add(host::kItemTypeLight, "Crane");
    keyedFromTo(crane, {-4, 3, -6}, {-1, 4, -7});
    crane.pivotRotation = {0, 15, 0};
    crane.motion.keyRotation(0, {20, 0, 0});
    crane.motion.keyRotation(kLastFrame, {60, -10, 5});
    SceneItem& lens = keyedFromTo(scene.addCamera(kLens), {0, -1, 1.5}, {0.5, -1.5, 2});
    lens.parent = scene.lights[0].serial;
    lens.motion.keyRotation(0, {-10, 5, 0});
    scene.addCamera("Close-up", {2, 0.8, 3});
    return scene;
}

const SceneItem& named(const std::vector<SceneItem>& items, const char* name) {
    for (const SceneItem& item : items)
        if (item.name == name) return item;
    return items.front();
}

// Whole frames, so that what is caught here is the hierarchy, not the time
// between frames (sub-frame-times' own).
double randomTime(const Scene& scene, std::mt19937& random) {
    std::uniform_int_distribution<int> frame(scene.firstFrame - kFramesOutside, scene.lastFrame + kFramesOutside);
    return scene.timeOfFrame(frame(random));
}

void checkHierarchy(CheckContext& context) {
    CheckRig rig(context.module(), context.protocol, context.modifier, context.expect, hierarchyScene());
    if (!rig.bind()) return;
    host::InstanceHandle instance = rig.loaded(rig.referenceBlock(kSubject, kLens));
    if (instance == nullptr) return;
    const Scene& scene = rig.scene();
    const SceneItem& ball = named(scene.objects, kSubject);
    const SceneItem& lens = named(scene.cameras, kLens);
    for (int i = 0; i < kRandomTimes && context.expect.ok(); ++i) {
        const double time = randomTime(scene, context.random);
        Evaluation result = rig.evaluated(instance, time);
        double expected = rig.expectedValue(hostDistance(scene, ball, lens, time));
        context.expect.that(result.set && agrees(result.value, expected), [&] {
            return "at time " + numberText(time) + ", the subject and the camera placed through their parents, the " +
                   "channel is " + evaluationText(result) + ", not " + numberText(expected);
        });
    }
}

// Along the view of a lens turned by its parent, to a point in the axes of
// a subject turned and scaled by its parents.
void checkFocusHierarchy(CheckContext& context) {
    CheckRig rig(context.module(), context.protocol, context.modifier, context.expect, hierarchyScene());
    if (!rig.bind()) return;
    const Scene& scene = rig.scene();
    const SceneItem& ball = named(scene.objects, kSubject);
    const SceneItem& lens = named(scene.cameras, kLens);
    std::uniform_real_distribution<double> offset(-kOffsetReach, kOffsetReach);
    focus::Settings settings;
    settings.measure = focus::kAlongView;
    for (double& axis : settings.subjectOffset) axis = offset(context.random);
    host::InstanceHandle instance = rig.loaded(focus::referenceBlock(kSubject, kLens, settings));
    if (instance == nullptr) return;
    for (int i = 0; i < kRandomTimes && context.expect.ok(); ++i) {
        const double time = randomTime(scene, context.random);
        Evaluation result = rig.evaluated(instance, time);
        double expected = hostFocusValue(scene, ball, lens, settings, time);
        context.expect.that(result.set && agrees(result.value, expected), [&] {
            return "at time " + numberText(time) + ", along the view with the subject offset " +
                   numberText(settings.subjectOffset[0]) + " " + numberText(settings.subjectOffset[1]) + " " +
                   numberText(settings.subjectOffset[2]) + " in axes placed through parents, the channel is " +
                   evaluationText(result) + ", not " + numberText(expected);
        });
    }
}

}  // namespace

const CheckDefinition kHierarchyDefinitions[] = {
    {"hierarchy", "items placed through moving, turning, scaled parents with pivots: the host's world distance",
     CheckScope::EachProtocol, checkHierarchy},
};

const CheckDefinition kFocusHierarchyDefinitions[] = {
    {"hierarchy-view", "along the view of a lens turned by its parent, to a point in a parented subject's axes",
     CheckScope::EachProtocol, checkFocusHierarchy},
};

constexpr CheckTable kHierarchyChecks = checkTable(kHierarchyDefinitions);
constexpr CheckTable kFocusHierarchyChecks = checkTable(kFocusHierarchyDefinitions);

}  // namespace sim
