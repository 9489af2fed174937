// The host's scene files read as the host reads them: each version's layout,
// span shapes and behaviours through a file, parents declared after their
// children, pivots and their rotations worked by hand, every kind of item,
// focal distances, channel modifiers' blocks and what moves items beyond
// their keys.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "simhost/scene/host_channel_handler.h"
#include "simhost/scene/host_scene_file.h"
#include "simhost/scene/item_transform.h"
#include "tests/simhost/host_scene_texts.h"

namespace {

using sim::Extrapolation;
using sim::SpanShape;

const double kTolerance = 1e-12;
const double kRightAngle = 1.5707963267948966;  // as the host's files write 90 degrees
const double kDegreesPerRadian = 180 / 3.14159265358979323846;

void expectAt(const sim::Vec3& actual, double x, double y, double z) {
    EXPECT_NEAR(actual.x, x, kTolerance);
    EXPECT_NEAR(actual.y, y, kTolerance);
    EXPECT_NEAR(actual.z, z, kTolerance);
}

// The number of the line where `needle` begins in `text`.
int lineOf(const std::string& text, const std::string& needle) {
    const size_t at = text.find(needle);
    return 1 + static_cast<int>(std::count(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(at), '\n'));
}

sim::Vec3 worldAt(const sim::Scene& scene, const sim::SceneItem& item, double seconds) {
    return sim::worldPosition(scene, item, scene.motionTime(seconds));
}

// A version-1 scene: a ball keyed in frames and degrees, a null parented to
// it, a light and a camera.
const char kVersionOneScene[] =
    "LWSC\n1\n\nFirstFrame 0\nLastFrame 20\nFrameStep 1\nFramesPerSecond 10.000000\n\n"
    "LoadObject HD1:objects/Ball.lwo\n"
    "ObjectMotion (unnamed)\n  9\n  2\n"
    "  0 0 0 0 0 0 1 1 1\n  0 0 0 0 0\n"
    "  10 0 0 90 0 0 1 1 1\n  10 1 0 0 0\n"
    "EndBehavior 2\nShadowOptions 7\n\n"
    "AddNullObject Pivot Null\n"
    "ObjectMotion (unnamed)\n  9\n  1\n"
    // The numbers of a key may stand on one line, or on any lines.
    "  1 2 3 0 0 0 1 1 1 0 0 0.5 0 0\n"
    "EndBehavior 1\nParentObject 1\n\n"
    "AddLight\nLightName Key\nLightMotion (unnamed)\n  9\n  1\n  0 0 0 60 30 0 1 1 1\n  0 0 0 0 0\n"
    "EndBehavior 1\n\n"
    "ShowCamera 1 7\nCameraMotion (unnamed)\n  9\n  1\n  0 0 -5 0 0 0 1 1 1\n  0 0 0 0 0\nEndBehavior 1\n"
    "ZoomFactor 3.200000\nDepthofField 0\n";

TEST(HostSceneFile, ReadsVersionOneItemsAndFrames) {
    const sim::SceneParse parse = lws::read(kVersionOneScene);
    ASSERT_EQ(parse.error, "");
    const sim::Scene& scene = parse.scene;
    EXPECT_EQ(scene.clock, sim::MotionClock::Seconds);
    EXPECT_EQ(scene.firstFrame, 0);
    EXPECT_EQ(scene.lastFrame, 20);
    EXPECT_EQ(scene.framesPerSecond, 10);
    ASSERT_EQ(scene.objects.size(), 2u);
    ASSERT_EQ(scene.lights.size(), 1u);
    ASSERT_EQ(scene.cameras.size(), 1u);  // no line declares it
    EXPECT_EQ(scene.objects[0].name, "Ball");
    EXPECT_EQ(scene.objects[1].name, "Pivot Null");
    EXPECT_EQ(scene.lights[0].name, "Key");
    EXPECT_EQ(scene.cameras[0].name, "Camera");
    const sim::NamedChannel* focus = lws::channel(scene.cameras[0], sim::kFocalDistanceChannel);
    ASSERT_NE(focus, nullptr);
    EXPECT_EQ(focus->value.valueAt(0), sim::kDefaultFocalDistance);
}

// Frames become seconds; the linear flag shapes the span that ends at its
// key; EndBehavior 2 repeats after the last key, the first is held.
TEST(HostSceneFile, ReadsVersionOneMotionsKeyedInFramesAndDegrees) {
    const sim::SceneParse parse = lws::read(kVersionOneScene);
    ASSERT_EQ(parse.error, "");
    const sim::SceneItem& ball = parse.scene.objects.at(0);
    const sim::Envelope& x = ball.motion.channels[sim::kPositionX];
    ASSERT_EQ(x.keys.size(), 2u);
    EXPECT_EQ(x.keys[1].time, 1.0);
    EXPECT_EQ(x.keys[0].shape, SpanShape::Tcb);
    EXPECT_EQ(x.keys[1].shape, SpanShape::Linear);
    EXPECT_EQ(x.pre, Extrapolation::Constant);
    EXPECT_EQ(x.post, Extrapolation::Repeat);
    EXPECT_EQ(ball.motion.channels[sim::kHeading].keys[1].value, 90);
    EXPECT_EQ(parse.scene.objects.at(1).motion.channels[sim::kPositionZ].keys[0].tension, 0.5);
}

// ParentObject counts objects from 1. The null at (1, 2, 3) turns with the
// ball: heading 90 takes +Z to +X.
TEST(HostSceneFile, PlacesVersionOneItemsThroughTheirParents) {
    const sim::SceneParse parse = lws::read(kVersionOneScene);
    ASSERT_EQ(parse.error, "");
    const sim::Scene& scene = parse.scene;
    const sim::SceneItem& ball = scene.objects.at(0);
    EXPECT_EQ(scene.objects.at(1).parent, ball.serial);
    expectAt(worldAt(scene, ball, 0.5), 5, 0, 0);
    expectAt(worldAt(scene, scene.objects[1], 1.0), 10 + 3, 2, -1);
    expectAt(worldAt(scene, ball, 1.5), 5, 0, 0);  // repeated
    expectAt(worldAt(scene, scene.cameras.at(0), 0), 0, 0, -5);
}

TEST(HostSceneFile, TimesVersionOneFramesAtThirtyASecondWhereTheFileGivesNoRate) {
    const sim::SceneParse parse = lws::read(
        "LWSC\n1\n\nFirstFrame 1\nLastFrame 60\n\nLoadObject Objects/Box\nObjectMotion (unnamed)\n  9\n  2\n"
        "  0 0 0 0 0 0 1 1 1\n  0 1 0 0 0\n  3 0 0 0 0 0 1 1 1\n  30 1 0 0 0\nEndBehavior 0\n");
    ASSERT_EQ(parse.error, "");
    const sim::Envelope& x = parse.scene.objects[0].motion.channels[sim::kPositionX];
    EXPECT_EQ(parse.scene.framesPerSecond, 30);
    EXPECT_EQ(parse.scene.objects[0].name, "Box");
    EXPECT_EQ(x.keys[1].time, 1.0);
    EXPECT_EQ(x.post, Extrapolation::Reset);
    EXPECT_EQ(x.valueAt(2), 0);
}

TEST(HostSceneFile, ReadsVersionTwoChannelByChannelInSecondsAndDegrees) {
    std::string motion = "ObjectMotion (unnamed)\n  9\n  2\n  0 0 2 0 0 0\n  10 1 3 0 0 0\n";
    for (int channel = 1; channel < 9; ++channel)
        motion += "  1\n  " + std::string(channel == 3 ? "45" : channel >= 6 ? "1" : "0") + " 0 2 0 0 0\n";
    const sim::SceneParse parse = lws::read(
        "LWSC\n2\n\nFirstFrame 1\nLastFrame 60\nFramesPerSecond 30\n\nLoadObject Objects\\Cube.lwo\n" + motion +
        "Pre/PostBehavior 0 3 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1\n\n"
        "AddCamera\nCameraName Main\nCameraMotion (unnamed)\n  6\n"
        "  1\n  0 0 2 0 0 0\n  1\n  0 0 2 0 0 0\n  1\n  -4 0 2 0 0 0\n"
        "  1\n  0 0 2 0 0 0\n  1\n  0 0 2 0 0 0\n  1\n  0 0 2 0 0 0\n"
        "Pre/PostBehavior 1 1 1 1 1 1 1 1 1 1 1 1\nDepthOfField 0\nFocalDistance 7.5\n");
    ASSERT_EQ(parse.error, "");
    const sim::Scene& scene = parse.scene;
    const sim::SceneItem& cube = scene.objects[0];
    EXPECT_EQ(cube.name, "Cube");
    const sim::Envelope& x = cube.motion.channels[sim::kPositionX];
    EXPECT_EQ(x.keys[0].shape, SpanShape::Tcb);
    EXPECT_EQ(x.keys[1].shape, SpanShape::Linear);
    EXPECT_EQ(x.pre, Extrapolation::Reset);
    EXPECT_EQ(x.post, Extrapolation::Oscillate);
    EXPECT_EQ(cube.motion.channels[sim::kHeading].keys[0].value, 45);
    expectAt(worldAt(scene, cube, 0.5), 5, 0, 0);
    expectAt(worldAt(scene, cube, 1.25), 7.5, 0, 0);  // oscillating back
    expectAt(worldAt(scene, cube, -1), 0, 0, 0);      // reset

    const sim::SceneItem& camera = scene.cameras[0];
    EXPECT_EQ(camera.name, "Main");
    EXPECT_TRUE(camera.motion.channels[sim::kScaleX].keys.empty());  // six channels: a scale of 1
    expectAt(worldAt(scene, camera, 0), 0, 0, -4);
    EXPECT_EQ(lws::channel(camera, sim::kFocalDistanceChannel)->value.valueAt(3), 7.5);
}

TEST(HostSceneFile, ReadsVersionThreeItemsBonesAndParentsByTheirPlaces) {
    const sim::SceneParse parse =
        lws::read(lws::header(3) + "LoadObjectLayer 1 Objects/Robot.lwo\n" +
                  lws::motion("ObjectMotion", {1, 0, 0, kRightAngle, 0, 0, 1, 1, 1}) +
                  "ParentItem 10000001\n"  // the null, declared below
                  "AddBone\nBoneName Upper\n" +
                  lws::motion("BoneMotion", {0, 0, 1, 0, 0, 0, 1, 1, 1}) + "AddBone\nBoneName Lower\n" +
                  lws::motion("BoneMotion", {0, 0, 1, 0, 0, 0, 1, 1, 1}) +
                  "ParentItem 40000000\n"
                  "AddNullObject Base\n" +
                  lws::motion("ObjectMotion", {0, 0, 2, 0, 0, 0, 1, 1, 1}) + "AddLight\nLightName Sun\n" +
                  lws::motion("LightMotion", lws::kStill) +
                  "ParentItem 30000000\n"
                  "AddCamera\nCameraName Cam\n" +
                  lws::motion("CameraMotion", lws::kStillCamera));
    ASSERT_EQ(parse.error, "");
    const sim::Scene& scene = parse.scene;
    ASSERT_EQ(scene.objects.size(), 2u);
    ASSERT_EQ(scene.bones.size(), 2u);
    const sim::SceneItem& robot = scene.objects[0];
    EXPECT_EQ(robot.name, "Robot");
    EXPECT_EQ(scene.bones[0].name, "Upper");
    EXPECT_EQ(scene.bones[1].name, "Lower");
    EXPECT_EQ(robot.parent, scene.objects[1].serial);
    EXPECT_EQ(scene.bones[0].parent, robot.serial);  // a bone hangs from its object
    EXPECT_EQ(scene.bones[1].parent, scene.bones[0].serial);
    EXPECT_EQ(scene.lights[0].parent, scene.cameras[0].serial);
    EXPECT_EQ(scene.cameras[0].name, "Cam");

    // Radians become degrees; the robot at (1, 0, 0) on the base at (0, 0,
    // 2), the upper bone one forward of the robot, which faces +X.
    EXPECT_NEAR(robot.motion.channels[sim::kHeading].keys[0].value, 90, kTolerance);
    expectAt(worldAt(scene, robot, 0), 1, 0, 2);
    expectAt(worldAt(scene, scene.bones[0], 0), 2, 0, 2);
}

// An object whose X holds a key of every span shape, whose Y and Z give
// behaviours before and after the keys, and whose heading has rises in
// radians.
sim::SceneParse everySpanShapeAndBehaviour() {
    const std::string spans =
        lws::envelope({"0 0 0 0.5 -0.5 0.25",  // TCB: tension, continuity, bias
                       "1 1 1 0 0 0 2 3",      // Hermite: tangents in and out
                       "2 2 2 0 0 0 4 5", "3 3 3", "4 4 4", "5 5 5 -0.3 0.1 0.3 -0.2 9"},  // 2D Bezier: the handles
                      "4 3");
    return lws::read(
        lws::header(5) + "LoadObjectLayer 1 10000000 Objects/Box.lwo\n" +
        lws::motion("ObjectMotion", lws::kStill,
                    {{0, spans},
                     {1, lws::envelope({"0 0", "1 1 3"}, "0 5")},
                     {2, lws::envelope({"0 0", "1 1 3"}, "1 2")},
                     {3, lws::envelope({"0 0", "1.5707963267948966 1 1 0 0 0 0.5 0.25", "0 2 5 -0.5 1 0.5 -1"})}}));
}

TEST(HostSceneFile, ReadsEverySpanShapeThroughAFile) {
    const sim::SceneParse parse = everySpanShapeAndBehaviour();
    ASSERT_EQ(parse.error, "");
    const sim::ItemMotion& motion = parse.scene.objects.at(0).motion;
    const std::vector<sim::EnvelopeKey>& keys = motion.channels[sim::kPositionX].keys;
    ASSERT_EQ(keys.size(), 6u);
    const SpanShape shapes[] = {SpanShape::Tcb,    SpanShape::Hermite, SpanShape::Bezier1D,
                                SpanShape::Linear, SpanShape::Stepped, SpanShape::Bezier2D};
    for (size_t n = 0; n < keys.size(); ++n) EXPECT_EQ(keys[n].shape, shapes[n]) << n;
    EXPECT_EQ(keys[0].tension, 0.5);
    EXPECT_EQ(keys[0].continuity, -0.5);
    EXPECT_EQ(keys[0].bias, 0.25);
    EXPECT_EQ(keys[1].inTangent, 2);
    EXPECT_EQ(keys[1].outTangent, 3);
    EXPECT_EQ(keys[2].inTangent, 4);
    EXPECT_EQ(keys[5].inTime, -0.3);
    EXPECT_EQ(keys[5].inValue, 0.1);
    EXPECT_EQ(keys[5].outTime, 0.3);
    EXPECT_EQ(keys[5].outValue, -0.2);
    // The span to a linear key is straight; to a stepped one it holds.
    EXPECT_EQ(motion.value(sim::kPositionX, 2.5), 2.5);
    EXPECT_EQ(motion.value(sim::kPositionX, 3.5), 3);
}

TEST(HostSceneFile, ReadsEveryBehaviourThroughAFile) {
    const sim::SceneParse parse = everySpanShapeAndBehaviour();
    ASSERT_EQ(parse.error, "");
    const sim::ItemMotion& motion = parse.scene.objects.at(0).motion;
    const Extrapolation behaviours[][2] = {{Extrapolation::OffsetRepeat, Extrapolation::Oscillate},
                                           {Extrapolation::Reset, Extrapolation::Linear},
                                           {Extrapolation::Constant, Extrapolation::Repeat}};
    for (int channel = 0; channel < 3; ++channel) {
        EXPECT_EQ(motion.channels[channel].pre, behaviours[channel][0]) << channel;
        EXPECT_EQ(motion.channels[channel].post, behaviours[channel][1]) << channel;
    }
    EXPECT_EQ(motion.value(sim::kPositionY, 3), 3);  // linear after the keys
    EXPECT_EQ(motion.value(sim::kPositionZ, 1.25), 0.25);
}

// An angle's rises are turned to degrees with its values; times stay.
TEST(HostSceneFile, TurnsAnAnglesRisesToDegreesWithItsValues) {
    const sim::SceneParse parse = everySpanShapeAndBehaviour();
    ASSERT_EQ(parse.error, "");
    const std::vector<sim::EnvelopeKey>& heading = parse.scene.objects.at(0).motion.channels[sim::kHeading].keys;
    ASSERT_EQ(heading.size(), 3u);
    EXPECT_NEAR(heading[1].value, 90, kTolerance);
    EXPECT_NEAR(heading[1].inTangent, 0.5 * kDegreesPerRadian, kTolerance);
    EXPECT_NEAR(heading[1].outTangent, 0.25 * kDegreesPerRadian, kTolerance);
    EXPECT_EQ(heading[2].inTime, -0.5);
    EXPECT_NEAR(heading[2].inValue, kDegreesPerRadian, kTolerance);
    EXPECT_NEAR(heading[2].outValue, -kDegreesPerRadian, kTolerance);
}

TEST(HostSceneFile, PlacesChildrenThroughParentsDeclaredAfterThemAndTheirPivots) {
    // Numbers from version 4 on are the items' own, gaps and all.
    const sim::SceneParse parse = lws::read(lws::header(5) + "LoadObjectLayer 1 10000005 Objects/Subject.lwo\n" +
                                            lws::motion("ObjectMotion", {2, 0, 0, 0, 0, 0, 1, 1, 1}) +
                                            "ParentItem 10000007\nPivotPosition 1 0 0\nPivotRotation 0 0 0\n"
                                            "AddNullObject 10000007 Turn table\n" +
                                            lws::motion("ObjectMotion", {0, 0, 5, 0, 0, 0, 1, 1, 1},
                                                        {{3, lws::envelope({"0 0 3", "1.5707963267948966 1 3"})}}) +
                                            "PivotPosition 1 0 0\nPivotRotation 90 0 0\n");
    ASSERT_EQ(parse.error, "");
    const sim::Scene& scene = parse.scene;
    const sim::SceneItem& subject = scene.objects[0];
    const sim::SceneItem& table = scene.objects[1];
    EXPECT_EQ(table.name, "Turn table");
    EXPECT_EQ(subject.parent, table.serial);
    EXPECT_EQ(table.pivotRotation.heading, 90);  // degrees in every version
    // The subject's world position: the table at (0, 0, 5) turns (2, 0, 0)
    // less its pivot (1, 0, 0) by its pivot's 90 degrees and its own heading,
    // 0 to 90 over a second: (cos a, 0, -sin a) for a from 90 to 180. The
    // subject's own pivot moves its geometry, not its position.
    expectAt(worldAt(scene, subject, 0), 0, 0, 4);
    expectAt(worldAt(scene, subject, 0.5), -std::sqrt(0.5), 0, 5 - std::sqrt(0.5));
    expectAt(worldAt(scene, subject, 1), -1, 0, 5);
    expectAt(worldAt(scene, table, 1), 0, 0, 5);
}

TEST(HostSceneFile, ReadsBonesNullsLightsAndSeveralCameras) {
    const std::string still = lws::motion("ObjectMotion", lws::kStill);
    const sim::SceneParse parse =
        lws::read(lws::header(8) + "LoadObjectLayer 1 10000000 Objects/Rig.lwo\nChangeObject 0\n" + still +
                  "AddBone 40000000\nBoneName Root\n" + lws::motion("BoneMotion", lws::kStill) +
                  "ParentItem 10000000\n"
                  "AddBone 40010000\nBoneName Tip\n" +
                  lws::motion("BoneMotion", {0, 0.5, 0, 0, 0, 0, 1, 1, 1}) +
                  "ParentItem 40000000\n"
                  "AddNullObject 10000001 Handle\n" +
                  still +
                  "ParentItem 40010000\n"
                  "AddLight 20000000\nLightName Fill\n" +
                  lws::motion("LightMotion", lws::kStill) +
                  "ParentItem 30000001\n"
                  "AddCamera 30000000\nCameraName Wide\n" +
                  lws::motion("CameraMotion", lws::kStillCamera) +
                  "DepthOfField 0\nFocalDistance 4\n"
                  "AddCamera 30000001\nCameraName Close\n" +
                  lws::motion("CameraMotion", lws::kStillCamera) + "DepthOfField 1\nFocalDistance (envelope)\n" +
                  lws::envelope({"2 0 3", "6 1 3"}) + "AddCamera 30000002\nCameraName Spare\n" +
                  lws::motion("CameraMotion", lws::kStillCamera));
    ASSERT_EQ(parse.error, "");
    const sim::Scene& scene = parse.scene;
    ASSERT_EQ(scene.objects.size(), 2u);
    ASSERT_EQ(scene.bones.size(), 2u);
    ASSERT_EQ(scene.lights.size(), 1u);
    ASSERT_EQ(scene.cameras.size(), 3u);
    EXPECT_EQ(scene.cameras[1].name, "Close");
    EXPECT_EQ(scene.bones[0].parent, scene.objects[0].serial);
    EXPECT_EQ(scene.bones[1].parent, scene.bones[0].serial);
    EXPECT_EQ(scene.objects[1].parent, scene.bones[1].serial);
    EXPECT_EQ(scene.objects[1].unmodelled, (std::vector<std::string>{"parented to bone Tip (ParentItem 40010000)"}));
    EXPECT_EQ(scene.lights[0].parent, scene.cameras[1].serial);

    // A value, an envelope, and the host's default where the file has none.
    EXPECT_EQ(lws::channel(scene.cameras[0], sim::kFocalDistanceChannel)->value.valueAt(0.5), 4);
    EXPECT_EQ(lws::channel(scene.cameras[1], sim::kFocalDistanceChannel)->value.valueAt(0.5), 4);
    EXPECT_EQ(lws::channel(scene.cameras[1], sim::kFocalDistanceChannel)->value.valueAt(2), 6);
    EXPECT_EQ(lws::channel(scene.cameras[2], sim::kFocalDistanceChannel)->value.valueAt(0.5),
              sim::kDefaultFocalDistance);
}

TEST(HostSceneFile, ReadsAVersionOneEnvelopedFocalDistanceInFrames) {
    const sim::SceneParse parse = lws::read(
        "LWSC\n1\n\nFirstFrame 0\nLastFrame 30\nFramesPerSecond 10\n\n"
        "ShowCamera 1 7\nCameraMotion (unnamed)\n  9\n  1\n  0 0 0 0 0 0 1 1 1\n  0 0 0 0 0\nEndBehavior 1\n"
        "DepthofField 1\nFocalDistance (envelope)\n  1\n  2\n  3\n  0 1 0 0 0\n  5\n  20 1 0 0 0\nEndBehavior 1\n"
        "LensFStop 4.000000\n");
    ASSERT_EQ(parse.error, "");
    const sim::Envelope& focus = lws::channel(parse.scene.cameras[0], sim::kFocalDistanceChannel)->value;
    ASSERT_EQ(focus.keys.size(), 2u);
    EXPECT_EQ(focus.keys[1].time, 2.0);
    EXPECT_EQ(focus.valueAt(1), 4);
}

// A scene of channel modifiers: a disabled one on the scene's own channel,
// an expression link and a disabled one on an object, Kelto on the camera.
std::string channelModifiersScene() {
    const std::string expressionLink =
        "  { ChannelHandler\n    \".EnvExprLink\"\n    0\n    1\n    \"Spine2_H\"\n  }\n";
    const std::string disabled = "  { ChannelHandler\n    \"Off\"\n    1\n  }\n";
    const std::string kelto =
        "  { ChannelHandler\n    \"Kelto\"\n    0\n    KELTO_START\n    REFERENCE_ITEM\n"
        "      Ball with blanks of its own\n"
        "    \n"  // an empty line, as the host indents it
        "    { nested\n      inner\n    }\n    KELTO_END\n  }\n";
    return lws::header(5) + "AmbientIntensity (envelope)\n" + lws::envelope({"0.5"}, "1 1", disabled) +
           "LoadObjectLayer 1 10000000 Objects/Spine.lwo\n" +
           lws::motion("ObjectMotion", lws::kStill,
                       {{0, lws::envelope({"0"}, "1 1", expressionLink)}, {1, lws::envelope({"0"}, "1 1", disabled)}}) +
           "AddCamera 30000000\nCameraName Camera\n" + lws::motion("CameraMotion", lws::kStillCamera) +
           "FocalDistance (envelope)\n" + lws::envelope({"10"}, "1 1", kelto);
}

TEST(HostSceneFile, FindsEachChannelModifierWithItsChannelAndFlags) {
    const sim::SceneParse parse = lws::read(channelModifiersScene());
    ASSERT_EQ(parse.error, "");
    ASSERT_EQ(parse.scene.channelModifiers.size(), 4u);
    const sim::ChannelModifierBlock& ambient = parse.scene.channelModifiers[0];
    EXPECT_EQ(ambient.item, sim::kNoItem);  // the scene's own channel
    EXPECT_EQ(ambient.channel, "AmbientIntensity");
    EXPECT_EQ(ambient.flags, sim::kChannelHandlerDisabled);
    EXPECT_EQ(parse.scene.channelModifiers[2].channel, "Position.Y");
    EXPECT_EQ(parse.scene.channelModifiers[2].flags, sim::kChannelHandlerDisabled);
}

TEST(HostSceneFile, GivesAnotherServersModifierItsLinesAndNotesItMovesTheItem) {
    const std::string text = channelModifiersScene();
    const sim::SceneParse parse = lws::read(text);
    ASSERT_EQ(parse.error, "");
    ASSERT_EQ(parse.scene.channelModifiers.size(), 4u);
    const sim::ChannelModifierBlock& link = parse.scene.channelModifiers[1];
    EXPECT_EQ(link.item, parse.scene.objects.at(0).serial);
    EXPECT_EQ(link.channel, "Position.X");
    EXPECT_EQ(link.server, ".EnvExprLink");
    EXPECT_EQ(link.flags, 0u);
    EXPECT_EQ(link.lines, (std::vector<std::string>{"1", "\"Spine2_H\""}));
    EXPECT_EQ(link.lineNumber, lineOf(text, "  { ChannelHandler\n    \".EnvExprLink\""));
    // Only a modifier the host runs moves the item beyond its keys.
    EXPECT_EQ(parse.scene.objects[0].unmodelled,
              (std::vector<std::string>{"channel modifier .EnvExprLink on Position.X ({ ChannelHandler)"}));
}

TEST(HostSceneFile, GivesChannelModifiersTheirLinesWithTheBlocksIndentationTakenOff) {
    const sim::SceneParse parse = lws::read(channelModifiersScene());
    ASSERT_EQ(parse.error, "");
    const sim::Scene& scene = parse.scene;
    ASSERT_EQ(scene.channelModifiers.size(), 4u);
    const sim::ChannelModifierBlock& block = scene.channelModifiers[3];
    EXPECT_EQ(block.item, scene.cameras.at(0).serial);
    EXPECT_EQ(block.channel, sim::kFocalDistanceChannel);
    EXPECT_EQ(block.server, "Kelto");
    EXPECT_EQ(block.lines, (std::vector<std::string>{"KELTO_START", "REFERENCE_ITEM", "  Ball with blanks of its own",
                                                     "", "{ nested", "  inner", "}", "KELTO_END"}));
    EXPECT_EQ(lws::channel(scene.cameras[0], sim::kFocalDistanceChannel)->value.valueAt(0), 10);
}

TEST(HostSceneFile, NotesWhatMovesItemsBeyondTheirKeys) {
    const std::string still = lws::motion("ObjectMotion", lws::kStill);
    const sim::SceneParse parse =
        lws::read(lws::header(3) + "LoadObjectLayer 1 Objects/Arm.lwo\n" + still +
                  "HController 3\nPController 0\nTargetItem 10000001\n"
                  "Plugin ItemMotionHandler 1 LW_Follower\n\"268435459  1\"\n{ not a block\nKey 1 2 3\nEndPlugin\n"
                  "Plugin ItemMotionHandler 2 Switched_Off\nEndPlugin\nPluginEnabled 0\n"
                  "Plugin CustomObjHandler 1 Shape\nEndPlugin\n"
                  "AddNullObject Target\n" +
                  still +
                  "GoalObject 1\nXController 7\nBController 4\n"
                  "{ Plugin ItemMotionHandler Blocked\n  data\n}\n");
    ASSERT_EQ(parse.error, "");
    EXPECT_EQ(parse.scene.objects[0].unmodelled,
              (std::vector<std::string>{"heading by IK (HController 3)", "targeting (TargetItem 10000001)",
                                        "motion plug-in LW_Follower (Plugin ItemMotionHandler)"}));
    EXPECT_EQ(parse.scene.objects[1].unmodelled,
              (std::vector<std::string>{"IK goal (GoalObject 1)", "position X by controller 7 (XController 7)",
                                        "bank by alignment to path (BController 4)",
                                        "motion plug-in Blocked (Plugin ItemMotionHandler)"}));
}

TEST(HostSceneFile, NotesVersionOneIkChainsUpToTheirAnchor) {
    auto object = [](const std::string& name, const std::string& lines) {
        return "LoadObject " + name + "\nObjectMotion (unnamed)\n  9\n  1\n  0 0 0 0 0 0 1 1 1\n  0 0 0 0 0\n" +
               "EndBehavior 1\n" + lines;
    };
    const sim::SceneParse parse = lws::read(
        "LWSC\n1\n\n" + object("World", "") + object("Body", "ParentObject 1\nIKAnchor 1\n") +
        object("Arm", "ParentObject 2\n") + object("Hand", "ParentObject 3\nGoalObject 5\n") + object("Goal", ""));
    ASSERT_EQ(parse.error, "");
    const std::vector<sim::SceneItem>& objects = parse.scene.objects;
    EXPECT_TRUE(objects[0].unmodelled.empty());
    EXPECT_TRUE(objects[1].unmodelled.empty());
    EXPECT_EQ(objects[2].unmodelled, (std::vector<std::string>{"in the IK chain of Hand (GoalObject 5)"}));
    EXPECT_EQ(objects[3].unmodelled, (std::vector<std::string>{"IK goal (GoalObject 5)"}));
}

TEST(HostSceneFile, ReadsAnyLineEndingsPaddingAndAByteOrderMark) {
    const std::string lines[] = {"LWSC",
                                 "5",
                                 "",
                                 "FirstFrame 1",
                                 "LastFrame 3",
                                 "",
                                 "LoadObjectLayer 1 10000000 C:Content/Objects/Teapot.lwo  ",
                                 "ParentItem 10000001",
                                 "AddNullObject 10000001   Camera pivot  ",
                                 "DataOverlayLabel  "};
    for (const std::string ending : {"\n", "\r\n", "\r"}) {
        std::string text = "\xEF\xBB\xBF";
        for (const std::string& line : lines) text += line + ending;
        ASSERT_TRUE(sim::isHostSceneText(text));
        const sim::SceneParse parse = lws::read(text);
        ASSERT_EQ(parse.error, "") << ending.size();
        ASSERT_EQ(parse.scene.objects.size(), 2u);
        EXPECT_EQ(parse.scene.objects[0].name, "Teapot");
        EXPECT_EQ(parse.scene.objects[1].name, "Camera pivot");
        EXPECT_EQ(parse.scene.objects[0].parent, parse.scene.objects[1].serial);
        EXPECT_EQ(parse.scene.lastFrame, 3);
    }
    EXPECT_FALSE(sim::isHostSceneText("frames 0 10\n"));
}

TEST(HostSceneFile, ReadsTheExampleSceneWithKeltosBlockOnTheFocalDistance) {
    const sim::SceneParse parse = sim::readSceneFile(KELTO_EXAMPLES_DIR "/dolly.lws");
    ASSERT_EQ(parse.error, "");
    const sim::Scene& scene = parse.scene;
    ASSERT_EQ(scene.objects.size(), 3u);
    const sim::SceneItem& statue = scene.objects[0];
    const sim::SceneItem& camera = scene.cameras[0];
    EXPECT_EQ(statue.parent, scene.objects[1].serial);
    EXPECT_EQ(camera.parent, scene.objects[2].serial);
    // The turntable at (0, 0, 4) turns the statue's (1.5, y, 0) less its own
    // pivot (0.5, 0, 0) once in four seconds; the camera rides 1.6 above
    // the dolly, which ends at (0, 0, -3).
    expectAt(worldAt(scene, statue, 0), 1, 0.8, 4);
    expectAt(worldAt(scene, statue, 1), 0, 1.2, 3);
    expectAt(worldAt(scene, statue, 2), -1, 0.9, 4);
    expectAt(worldAt(scene, camera, 4), 0, 1.6, -3);
    ASSERT_EQ(scene.channelModifiers.size(), 1u);
    EXPECT_EQ(scene.channelModifiers[0].item, camera.serial);
    EXPECT_EQ(scene.channelModifiers[0].channel, sim::kFocalDistanceChannel);
    EXPECT_EQ(scene.channelModifiers[0].server, "Kelto");
    EXPECT_EQ(scene.channelModifiers[0].lines, (std::vector<std::string>{"KELTO_START", "REFERENCE_ITEM", "Statue",
                                                                         "REFERENCE_CAMERA", "Camera", "KELTO_END"}));
    for (const sim::SceneItem& object : scene.objects) EXPECT_TRUE(object.unmodelled.empty()) << object.name;
}

}  // namespace
