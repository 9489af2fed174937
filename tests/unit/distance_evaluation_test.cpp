// The evaluation: resolution of the stored names, then the distance.
#include <cmath>
#include <cstring>

#include "channel/distance_evaluation.h"
#include "channel/distance_instance.h"
#include "simhost/services/service_tables.h"
#include "unit_support.h"

namespace {

using kelto::DistanceInstance;
using unit::SceneFixture;

const kelto::Position kOrigin = {{0, 0, 0}};

// Whole-number triangles whose long side is whole too: the distance is exact.
TEST(Distance, IsTheLongSideOfARightTriangle) {
    EXPECT_EQ(kelto::distanceBetween(kOrigin, {{3, 4, 0}}), 5.0);
    EXPECT_EQ(kelto::distanceBetween(kOrigin, {{0, -5, 12}}), 13.0);
    EXPECT_EQ(kelto::distanceBetween(kOrigin, {{3, 4, 12}}), 13.0);
    EXPECT_EQ(kelto::distanceBetween(kOrigin, {{-2, 0, 0}}), 2.0);
    EXPECT_EQ(kelto::distanceBetween({{1.5, -2, 7}}, {{1.5, -2, 7}}), 0.0);
}

TEST(Distance, IsTheSameEitherWayAndWhereverBothItemsAre) {
    const kelto::Position a = {{-1.5, 2.25, 7}}, b = {{0.1, -3, 1e3}};
    EXPECT_EQ(kelto::distanceBetween(a, b), kelto::distanceBetween(b, a));
    // Moved together by whole numbers, as exact in doubles as they were.
    EXPECT_EQ(kelto::distanceBetween({{10, 20, 30}}, {{13, 24, 42}}), 13.0);
    EXPECT_EQ(kelto::distanceBetween({{-1e6, 5e5, -7}}, {{-1e6 - 3, 5e5 + 4, -7}}), 5.0);
}

// The squares are summed z first, (dz² + dy²) + dx², and the root taken of
// that: for this position it is the double below, where the sum taken x
// first, (dx² + dy²) + dz², rounds to the next one up, 0x1.93723f0333314p+2.
TEST(Distance, KeepsTheOrderOfItsSumToTheBit) {
    const kelto::Position position = {{-0.51, -4.6, -4.28}};
    const double kSummedZFirst = 0x1.93723f0333313p+2;  // 6.303848031163187
    EXPECT_EQ(kelto::distanceBetween(position, kOrigin), kSummedZFirst);
    EXPECT_EQ(kelto::distanceBetween(kOrigin, position), kSummedZFirst);
}

class Evaluation : public SceneFixture {
protected:
    void SetUp() override {
        scene.addObject("Ground");
        scene.addObject("Ball", {0, 0, 0});
        scene.addObject("Both", {1, 1, 1});
        scene.addCamera("Spare");
        scene.addCamera("Camera", {3, 4, 12});
        scene.addCamera("Both", {9, 9, 9});
        SceneFixture::SetUp();
        std::memset(&instance, 0, sizeof instance);
    }

    void name(const char* item, const char* camera) {
        std::snprintf(instance.itemName, sizeof instance.itemName, "%s", item);
        std::snprintf(instance.cameraName, sizeof instance.cameraName, "%s", camera);
    }

    // The channel's value after one evaluation at `time`, from `before`. The
    // distance starts as NaN, so a success that wrote nothing shows.
    double evaluate(double time = 0, double before = -1) {
        double distance = std::nan("");
        return kelto::evaluateDistance(instance, time, distance) ? distance : before;
    }

    DistanceInstance instance;
};

TEST_F(Evaluation, TheFirstEvaluationResolvesNamesAndChoices) {
    name("Ball", "Camera");
    EXPECT_EQ(evaluate(), 13.0);
    EXPECT_EQ(instance.itemId, object(1));
    EXPECT_EQ(instance.cameraId, camera(1));
    EXPECT_EQ(instance.itemChoice, 2);
    EXPECT_EQ(instance.cameraChoice, 2);
    EXPECT_EQ(instance.resolved, 1);
}

TEST_F(Evaluation, ResolutionHappensOnceAndLaterEvaluationsOnlyQueryPositions) {
    name("Ball", "Camera");
    evaluate();
    sim::ItemInfoCalls before = session.itemInfoCalls();
    scene.objects[1].motion.placeAt({3, 4, 0});
    EXPECT_EQ(evaluate(), 12.0);
    EXPECT_EQ(session.itemInfoCalls().first, before.first);
    EXPECT_EQ(session.itemInfoCalls().next, before.next);
    EXPECT_EQ(session.itemInfoCalls().name, before.name);
    EXPECT_EQ(session.itemInfoCalls().param, before.param + 2);

    // A name that changes after resolution is not looked up again.
    name("Ground", "Spare");
    EXPECT_EQ(evaluate(), 12.0);
    EXPECT_EQ(instance.itemId, object(1));
}

TEST_F(Evaluation, NamesAreSearchedAmongObjectsFirst) {
    name("Spare", "Both");
    EXPECT_EQ(evaluate(), std::sqrt(3.0));  // Spare camera at the origin, Both object at (1,1,1)
    EXPECT_EQ(instance.itemId, camera(0));
    EXPECT_EQ(instance.itemChoice, 0);
    EXPECT_EQ(instance.cameraId, object(2));
    EXPECT_EQ(instance.cameraChoice, 0);
}

TEST_F(Evaluation, AMissingReferenceLeavesTheChannelAlone) {
    name("Nothing", "Camera");
    EXPECT_EQ(evaluate(0, 7.5), 7.5);
    EXPECT_EQ(instance.resolved, 1);
    EXPECT_EQ(instance.itemId, nullptr);
    EXPECT_EQ(instance.itemChoice, 0);
    EXPECT_EQ(instance.cameraChoice, 2);
    EXPECT_EQ(session.itemInfoCalls().param, 0);

    // Once resolved, a name found later is not looked up until the next load.
    scene.objects[0].name = "Nothing";
    EXPECT_EQ(evaluate(0, 2.5), 2.5);

    name("", "");
    instance.resolved = 0;
    EXPECT_EQ(evaluate(0, 1.0), 1.0);
    EXPECT_EQ(session.itemInfoCalls().param, 0);
}

// The host's param returns nothing: what it leaves in the return register
// is no answer. The simulated host's entry leaves 0 there, as a host may.
TEST_F(Evaluation, TheChannelIsSetFromWhatParamWritesWhateverItLeavesInTheReturnRegister) {
    name("Ball", "Camera");
    typedef int(HOST_CALL * ParamReadAsInt)(host::ItemId, int, double, double*);
    kelto::Position written = {{-1, -1, -1}};
    ParamReadAsInt asInt =
        reinterpret_cast<ParamReadAsInt>(reinterpret_cast<void (*)()>(sim::itemInfoServiceTable().param));
    ASSERT_EQ(asInt(object(1), host::kItemParamWorldPosition, 0, written.xyz), 0);
    EXPECT_EQ(written.z(), 0);
    EXPECT_EQ(evaluate(0, 7.5), 13.0);

    // A table without the query answers nothing.
    host::ItemInfoService partial = sim::itemInfoServiceTable();
    partial.param = nullptr;
    kelto::HostServices services = kelto::heldHostServices();
    services.itemInfo = &partial;
    kelto::holdHostServices(services);
    EXPECT_EQ(evaluate(0, 7.5), 7.5);
}

// The distance is between where the items are in the world: an item placed
// through its parent is where the parent puts it.
TEST_F(Evaluation, MeasuresFromWhereAParentPutsTheItem) {
    sim::SceneItem& rig = scene.addObject("Rig", {3, 4, 12});
    scene.objects[1].parent = rig.serial;  // Ball, at the rig's own origin
    scene.cameras[1].motion.placeAt({6, 8, 12});
    name("Ball", "Camera");
    EXPECT_EQ(evaluate(), 5.0);
    // The rig moves, and the ball with it, 12 up: a 5-12-13 triangle.
    scene.objects[3].motion.placeAt({3, 4, 24});
    EXPECT_EQ(evaluate(0.5), 13.0);
}

TEST_F(Evaluation, AChoiceMadeBeforeResolutionIsReplacedByTheStoredNames) {
    name("Ball", "Camera");
    instance.itemId = object(0);
    instance.itemChoice = 1;
    evaluate();
    EXPECT_EQ(instance.itemId, object(1));
    EXPECT_EQ(instance.itemChoice, 2);
}

}  // namespace
