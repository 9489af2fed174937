// An item's axes from its rotation and scale, against values worked by hand
// in the host's order (heading · pitch · bank), and as item info serves them.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "simhost/scene/item_axes.h"
#include "simhost/services/host_session.h"
#include "simhost/services/item_ids.h"
#include "simhost/services/service_tables.h"
#include "tests/simhost/near_vectors.h"

namespace {

using near_vectors::expectNear;

TEST(ItemAxes, EachAngleTurnsTheAxesTheHostsWay) {
    const sim::Vec3 one = {1, 1, 1};
    sim::ItemAxes still = sim::itemAxes({0, 0, 0}, one);
    EXPECT_EQ(still.right.x, 1);
    EXPECT_EQ(still.up.y, 1);
    EXPECT_EQ(still.forward.z, 1);
    EXPECT_EQ(still.forward.x, 0);

    // Heading turns forward towards +X, about +Y.
    sim::ItemAxes heading = sim::itemAxes({90, 0, 0}, one);
    expectNear(heading.forward, {1, 0, 0});
    expectNear(heading.right, {0, 0, -1});
    expectNear(heading.up, {0, 1, 0});
    // Pitch turns forward down, about +X.
    sim::ItemAxes pitch = sim::itemAxes({0, 90, 0}, one);
    expectNear(pitch.forward, {0, -1, 0});
    expectNear(pitch.up, {0, 0, 1});
    expectNear(pitch.right, {1, 0, 0});
    // Bank turns right towards +Y, about +Z.
    sim::ItemAxes bank = sim::itemAxes({0, 0, 90}, one);
    expectNear(bank.right, {0, 1, 0});
    expectNear(bank.up, {-1, 0, 0});
    expectNear(bank.forward, {0, 0, 1});
}

TEST(ItemAxes, TheOrderIsBankThenPitchThenHeadingAndScaleStretchesEachAxis) {
    // Heading 90 and pitch 90: pitched down first, then turned; forward
    // still points down, and up, which pitch laid along +Z, turns to +X.
    // The other order would leave up along +Y's turn, (0, 0, 1).
    sim::ItemAxes hp = sim::itemAxes({90, 90, 0}, {1, 1, 1});
    expectNear(hp.forward, {0, -1, 0});
    expectNear(hp.up, {1, 0, 0});
    expectNear(hp.right, {0, 0, -1});
    // Pitch 90 and bank 90: banked first, so right, laid along +Y by the
    // bank, is turned to +Z by the pitch.
    sim::ItemAxes pb = sim::itemAxes({0, 90, 90}, {1, 1, 1});
    expectNear(pb.right, {0, 0, 1});
    expectNear(pb.up, {-1, 0, 0});
    expectNear(pb.forward, {0, -1, 0});
    // Heading 30 (cos 0.8660254, sin 0.5), scale 2 3 4: each axis is a unit
    // vector times its own scale.
    const double c = std::sqrt(3.0) / 2;
    sim::ItemAxes scaled = sim::itemAxes({30, 0, 0}, {2, 3, -4});
    expectNear(scaled.right, {2 * c, 0, -1});
    expectNear(scaled.up, {0, 3, 0});
    expectNear(scaled.forward, {-2, 0, -4 * c});
    // Heading 45, pitch -30, bank 0 worked out whole: forward is
    // (sin 45 · cos 30, sin 30, cos 45 · cos 30).
    sim::ItemAxes both = sim::itemAxes({45, -30, 0}, {1, 1, 1});
    const double s45 = std::sqrt(0.5);
    expectNear(both.forward, {s45 * c, 0.5, s45 * c});
    expectNear(both.up, {-s45 * 0.5, c, -s45 * 0.5});
}

TEST(ItemAxes, ItemInfoAnswersRightUpAndForwardFromTheKeysAtTheTimeAsked) {
    sim::Scene scene;  // 24 frames per second
    sim::SceneItem& ball = scene.addObject("Ball", {1, 2, 3});
    ball.motion.keyRotation(0, {0, 0, 0});
    ball.motion.keyRotation(24, {180, 0, 0});
    ball.motion.keyScale(0, {2, 2, 2});
    sim::HostSession session(scene);
    const host::ItemInfoService& info = sim::itemInfoServiceTable();
    host::ItemId id = sim::itemIdAt(host::kItemTypeObject, 0);
    double out[3] = {0, 0, 0};
    // Half a second: frame 12, heading 90.
    info.param(id, host::kItemParamForward, 0.5, out);
    expectNear({out[0], out[1], out[2]}, {2, 0, 0});
    info.param(id, host::kItemParamRight, 0.5, out);
    expectNear({out[0], out[1], out[2]}, {0, 0, -2});
    info.param(id, host::kItemParamUp, 0.5, out);
    expectNear({out[0], out[1], out[2]}, {0, 2, 0});
    info.param(id, host::kItemParamWorldPosition, 0.5, out);
    EXPECT_EQ(out[2], 3);
    EXPECT_TRUE(session.violations().empty());
    // Rotation in radians, heading first; scale as keyed.
    info.param(id, host::kItemParamRotation, 0.5, out);
    expectNear({out[0], out[1], out[2]}, {M_PI / 2, 0, 0});
    info.param(id, host::kItemParamScaling, 0.5, out);
    expectNear({out[0], out[1], out[2]}, {2, 2, 2});
    // A transform is sixteen doubles; one the scene cannot give is zeros, and
    // no code is a fault of the module's.
    double matrix[host::kItemParamTransformDoubles];
    std::fill(std::begin(matrix), std::end(matrix), 1.0);
    info.param(id, host::kItemParamTransform, 0, matrix);
    EXPECT_EQ(std::count(std::begin(matrix), std::end(matrix), 0.0), host::kItemParamTransformDoubles);
    EXPECT_TRUE(session.violations().empty());
}

}  // namespace
