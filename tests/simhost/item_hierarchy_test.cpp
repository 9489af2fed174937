// Items through their parents, pivots and pivot rotations, worked by hand,
// and as item info serves them: world and local positions, axes both ways,
// parents, children and a boned object's bones.
#include <gtest/gtest.h>

#include <cmath>

#include "host/item_info.h"
#include "simhost/scene/item_hierarchy.h"
#include "simhost/scene/item_transform.h"
#include "simhost/services/host_session.h"
#include "simhost/services/item_ids.h"
#include "simhost/services/service_tables.h"
#include "tests/simhost/near_vectors.h"

namespace {

using near_vectors::expectNear;

const host::ItemInfoService& info() { return sim::itemInfoServiceTable(); }

sim::Vec3 param(host::ItemId id, int code, double time = 0) {
    double out[3] = {0, 0, 0};
    info().param(id, code, time, out);
    return {out[0], out[1], out[2]};
}

// A turntable at (10, 0, 0), turned a quarter (heading 90) and doubled in
// size, its pivot one unit along its own +Z; a ball on it at (1, 0, 0) of
// its coordinates.
struct Turntable {
    sim::Scene scene;
    sim::SceneItem* table;
    sim::SceneItem* ball;
    Turntable() {
        table = &scene.addObject("Table", {10, 0, 0});
        table->motion.keyRotation(0, {90, 0, 0});
        table->motion.keyScale(0, {2, 2, 2});
        table->pivot = {0, 0, 1};
        ball = &scene.addObject("Ball", {1, 0, 0});
        ball->parent = scene.objects[0].serial;
        table = &scene.objects[0];
    }
};

TEST(ItemHierarchy, AChildIsCarriedThroughItsParentsPivotTurnAndScale) {
    Turntable rig;
    // The table's own point p lies at 10 + turn · 2 · (p - pivot): the ball's
    // (1, 0, 0) less the pivot is (1, 0, -1), doubled (2, 0, -2), turned a
    // quarter (+X to -Z, +Z to +X) (-2, 0, -2), and moved: (8, 0, -2).
    expectNear(sim::worldPosition(rig.scene, *rig.ball, 0), {8, 0, -2});
    // The table itself stands at its keyed place: its pivot's.
    expectNear(sim::worldPosition(rig.scene, *rig.table, 0), {10, 0, 0});
    // The ball's axes are the table's turned and doubled.
    sim::Placement world = sim::worldPlacement(rig.scene, *rig.ball, 0);
    expectNear(world.axes.forward, {2, 0, 0});
    expectNear(world.axes.right, {0, 0, -2});
    expectNear(world.apply({0, 0, 0}), {8, 0, -2});
}

TEST(ItemHierarchy, APivotRotationTurnsTheAxesBeforeItsOwnRotation) {
    sim::Scene scene;
    sim::SceneItem& arm = scene.addObject("Arm", {0, 0, 0});
    arm.pivotRotation = {0, 0, 90};         // bank: right turns up
    arm.motion.keyRotation(0, {0, 90, 0});  // pitch: forward turns down, in the pivot's frame
    sim::Placement at = sim::worldPlacement(scene, arm, 0);
    // Pitch alone sends forward to -Y; the pivot's bank then sends -Y to +X.
    expectNear(at.axes.forward, {1, 0, 0});
    expectNear(at.axes.right, {0, 1, 0});
}

TEST(ItemHierarchy, ItemInfoAnswersLocalAndWorldPositionsAndBothAxes) {
    Turntable rig;
    sim::HostSession session(rig.scene);
    host::ItemId ball = sim::itemIdAt(host::kItemTypeObject, 1);
    expectNear(param(ball, host::kItemParamPosition), {1, 0, 0});
    expectNear(param(ball, host::kItemParamWorldPosition), {8, 0, -2});
    expectNear(param(ball, host::kItemParamForward), {2, 0, 0});
    // The world's axes as the ball sees them undo its own: forward · (1/2)
    // of +X, and so on.
    expectNear(param(ball, host::kItemParamWorldRight), {0, 0, 0.5});
    expectNear(param(ball, host::kItemParamWorldForward), {-0.5, 0, 0});
    host::ItemId table = sim::itemIdAt(host::kItemTypeObject, 0);
    expectNear(param(table, host::kItemParamPivot), {0, 0, 1});
    expectNear(param(table, host::kItemParamRotation), {std::acos(0.0), 0, 0});
    EXPECT_TRUE(session.violations().empty());
}

TEST(ItemHierarchy, ItemInfoWalksParentsChildrenAndABonedObjectsBones) {
    sim::Scene scene;
    scene.addObject("Body");
    scene.addObject("Prop");
    sim::SceneItem& light = scene.add(host::kItemTypeLight, "Lamp");
    light.parent = scene.objects[0].serial;
    sim::SceneItem& root = scene.add(host::kItemTypeBone, "Root");
    root.parent = scene.objects[0].serial;
    sim::SceneItem& tip = scene.add(host::kItemTypeBone, "Tip");
    tip.parent = scene.bones[0].serial;
    scene.add(host::kItemTypeBone, "Other").parent = scene.objects[1].serial;
    scene.objects[1].parent = scene.objects[0].serial;
    sim::HostSession session(scene);
    host::ItemId body = sim::itemIdAt(host::kItemTypeObject, 0);
    host::ItemId prop = sim::itemIdAt(host::kItemTypeObject, 1);
    host::ItemId lamp = sim::itemIdAt(host::kItemTypeLight, 0);
    host::ItemId bone = sim::itemIdAt(host::kItemTypeBone, 0);

    EXPECT_EQ(info().parent(prop), body);
    EXPECT_EQ(info().parent(body), nullptr);
    // Children in the lists' order: objects, lights, cameras, bones.
    EXPECT_EQ(info().firstChild(body), prop);
    EXPECT_EQ(info().nextChild(body, prop), lamp);
    EXPECT_EQ(info().nextChild(body, lamp), bone);
    EXPECT_EQ(info().nextChild(body, bone), nullptr);
    EXPECT_EQ(info().first(host::kItemTypeLight, nullptr), lamp);
    // A boned object's bones, through bone parents, and no other object's.
    EXPECT_EQ(info().first(host::kItemTypeBone, body), bone);
    EXPECT_EQ(info().next(bone), sim::itemIdAt(host::kItemTypeBone, 1));
    EXPECT_EQ(info().next(sim::itemIdAt(host::kItemTypeBone, 1)), nullptr);
    EXPECT_EQ(info().first(host::kItemTypeBone, prop), sim::itemIdAt(host::kItemTypeBone, 2));
    EXPECT_TRUE(session.violations().empty());
    // A child asked after that is not one breaks the host's rule.
    EXPECT_EQ(info().nextChild(prop, lamp), nullptr);
    EXPECT_EQ(session.violations().size(), 1u);
}

TEST(ItemHierarchy, ADeletedParentLeavesItsChildrenAtTheTopAndSerialsAreNotReused) {
    Turntable rig;
    rig.scene.erase(host::kItemTypeObject, 0);
    const sim::SceneItem& ball = rig.scene.objects[0];
    EXPECT_EQ(rig.scene.parentOf(ball), nullptr);
    expectNear(sim::worldPosition(rig.scene, ball, 0), {1, 0, 0});
    sim::SceneItem& added = rig.scene.addObject("New");
    EXPECT_NE(added.serial, ball.parent);
    EXPECT_EQ(rig.scene.itemOfSerial(added.serial), &rig.scene.objects[1]);
}

TEST(ItemHierarchy, ALoopOfParentsStopsAtTheSceneSize) {
    sim::Scene scene;
    scene.addObject("A", {1, 0, 0});
    scene.addObject("B", {0, 1, 0});
    scene.objects[0].parent = scene.objects[1].serial;
    scene.objects[1].parent = scene.objects[0].serial;
    // No scene file makes one; a query still ends.
    sim::Vec3 at = sim::worldPosition(scene, scene.objects[0], 0);
    EXPECT_TRUE(std::isfinite(at.x));
}

}  // namespace
