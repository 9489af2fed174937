// kelto-host running the host's own scene files as an artist would: the
// modifier put on a channel with --channel, its references picked, the file
// written back with the block inside the channel's envelope and run again
// with no options to the same rows; a scene that carries the block as the
// host writes it run as it is; and the combinations that cannot be made
// refused in one line.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <string>
#include <vector>

#include "tests/e2e/e2e_support.h"
#include "tests/e2e/host_program.h"
#include "tests/simhost/host_scene_texts.h"

namespace {

using e2e::contains;
using e2e::HostRun;
using e2e::run;
using e2e::tableRows;
using e2e::temp;

const std::string kDolly = std::string(KELTO_EXAMPLES_DIR) + "/dolly.lws";

std::string written(const std::string& name, const std::string& text) {
    const std::string path = temp(name);
    std::ofstream(path, std::ios::binary) << text;
    return path;
}

// A ball on a turntable that turns a quarter over a second (radians, as the
// file keys them), its pivot off its centre, and a camera on a dolly: every
// world position goes through a parent. Ten frames a second, frames 0 to 10.
std::string turntableScene(const std::string& cameraLines = "") {
    return lws::header(5) + "AddNullObject 10000000 Turntable\n" +
           lws::motion("ObjectMotion", {2, 0, 0, 0, 0, 0, 1, 1, 1},
                       {{3, lws::envelope({"0 0 3", "1.5707963267948966 1 3"})}}) +
           "PivotPosition 1 0 0\n" + "LoadObjectLayer 1 10000001 Objects/Ball.lwo\n" +
           lws::motion("ObjectMotion", {3, 0.5, 0, 0, 0, 0, 1, 1, 1}) + "ParentItem 10000000\n" +
           "AddNullObject 10000002 Dolly\n" +
           lws::motion("ObjectMotion", {0, 1.5, -6, 0, 0, 0, 1, 1, 1}, {{2, lws::envelope({"-6 0 3", "-4 1 3"})}}) +
           "AddCamera 30000000\nCameraName Camera\n" + lws::motion("CameraMotion", {0, 0.5, 0, 0, 0, 0}) +
           "ParentItem 10000002\n" + cameraLines;
}

const std::string kPicks =
    "--channel Camera.FocalDistance --pick \"Reference Item=Ball\" --pick \"Reference Camera=Camera\" --exact";

TEST(HostScene, ASceneThatCarriesTheBlockAsTheHostWritesItRunsWithNoOptions) {
    HostRun dolly = run("--scene " + kDolly);
    ASSERT_EQ(dolly.exitCode, 0) << dolly.out;
    EXPECT_TRUE(contains(dolly.out, "Channel     Camera.FocalDistance"));
    EXPECT_TRUE(contains(dolly.out, "[Statue]"));
    EXPECT_TRUE(contains(dolly.out, "[Camera]"));
    EXPECT_EQ(tableRows(dolly.out).size(), 121u);
}

TEST(HostScene, TheChannelsValueIsTheWorldDistanceThroughEveryParent) {
    HostRun turned = run("--scene " + written("turntable.lws", turntableScene()) + " " + kPicks);
    ASSERT_EQ(turned.exitCode, 0) << turned.out;
    std::vector<std::string> rows = tableRows(turned.out);
    ASSERT_EQ(rows.size(), 11u);
    // At frame 10 the turntable, its pivot at (2, 0, 0), has turned a
    // quarter: the ball, (2, 0.5, 0) from the pivot in its axes, stands at
    // (2, 0.5, -2); the camera on the dolly at (0, 2, -4).
    const double expected = std::sqrt(4.0 + 2.25 + 4.0);
    double value = std::stod(rows.back().substr(rows.back().find_last_of(' ') + 1));
    EXPECT_NEAR(value, expected, 1e-12) << rows.back();
}

TEST(HostScene, WrittenBackTheFileHoldsTheBlockInTheEnvelopeAndRunsAgainAlone) {
    const std::string scene = turntableScene("DepthOfField 1\nFocalDistance 5\nLensFStop 4\n");
    const std::string saved = temp("saved.lws");
    HostRun first = run("--scene " + written("before.lws", scene) + " " + kPicks + " --write-scene " + saved);
    ASSERT_EQ(first.exitCode, 0) << first.out;
    const std::string text = e2e::fileText(saved);
    const std::string block =
        "FocalDistance (envelope)\n{ Envelope\n  1\n  Key 5 0 0 0 0 0 0 0 0\n  Behaviors 1 1\n  { ChannelHandler\n"
        "    \"Kelto\"\n    0\n    KELTO_START\n    REFERENCE_ITEM\n    Ball\n    REFERENCE_CAMERA\n    Camera\n"
        "    KELTO_END\n  }\n}\n";
    EXPECT_EQ(text, turntableScene("DepthOfField 1\n" + block + "LensFStop 4\n"));
    HostRun again = run("--scene " + saved + " --exact");
    ASSERT_EQ(again.exitCode, 0) << again.out;
    EXPECT_EQ(tableRows(again.out), tableRows(first.out));
}

TEST(HostScene, KeltoFocusMeasuresAlongTheViewOfACameraOnADolly) {
    HostRun along = run(e2e::focusPath() + " --scene " + written("focus.lws", turntableScene()) +
                        " --channel Camera.FocalDistance --pick \"Reference Item=Ball\" --pick \"Reference "
                        "Camera=Camera\" --pick \"Measure=Along view\" --exact");
    ASSERT_EQ(along.exitCode, 0) << along.out;
    std::vector<std::string> rows = tableRows(along.out);
    ASSERT_EQ(rows.size(), 11u);
    // The camera looks along +Z: the depth is the ball's z less the camera's.
    double value = std::stod(rows.back().substr(rows.back().find_last_of(' ') + 1));
    EXPECT_NEAR(value, 2.0, 1e-12) << rows.back();
}

TEST(HostScene, WhatTheSimulatedHostCannotComputeIsNamedBeforeTheRows) {
    const std::string scene = turntableScene() + "AddNullObject 10000003 Aim\n" +
                              lws::motion("ObjectMotion", lws::kStill) + "TargetItem 10000001\n";
    HostRun targeted = run("--scene " + written("target.lws", scene) + " " + kPicks);
    ASSERT_EQ(targeted.exitCode, 0) << targeted.out;
    EXPECT_TRUE(contains(targeted.out, "Unmodelled  Aim: targeting"));
    EXPECT_LT(targeted.out.find("Unmodelled"), targeted.out.find("   frame"));
}

TEST(HostScene, WhatCannotBeMadeIsRefusedInOneLine) {
    const std::string scene = written("refused.lws", turntableScene());
    auto refusal = [](const std::string& arguments) {
        HostRun refused = run(arguments);
        EXPECT_EQ(refused.exitCode, 1) << refused.out;
        return refused.out;
    };
    EXPECT_TRUE(contains(refusal("--scene " + scene),
                         "kelto-host: no channel of the scene carries any of the module's channel handlers: choose one "
                         "with --channel ITEM.CHANNEL"));
    EXPECT_TRUE(contains(refusal("--scene " + scene + " --channel Camera.Focus"),
                         "kelto-host: the scene has no channel \"Camera.Focus\""));
    EXPECT_TRUE(contains(refusal("--channel Camera.FocalDistance"),
                         "kelto-host: --channel is for the host's scene files (.lws)"));
    EXPECT_TRUE(contains(refusal("--scene " + scene + " " + kPicks + " --binary-save"),
                         "kelto-host: --binary-save cannot go with a host scene file"));
    EXPECT_TRUE(contains(
        refusal("--scene " + scene + " " + kPicks + " --edit \"delete Ball@2\" --write-scene " + temp("never.lws")),
        "kelto-host: --write-scene cannot go with --edit on a host scene file"));
    const std::string old = written("old.lws", lws::header(1) + "LoadObject Ball\n");
    EXPECT_TRUE(contains(refusal("--scene " + old + " " + kPicks + " --write-scene " + temp("never.lws")),
                         "kelto-host: cannot write " + temp("never.lws")));
}

}  // namespace
