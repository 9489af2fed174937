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

TEST(Distance, IsExactAndSymmetric) {
    kelto::Position origin{0, 0, 0}, far{3, 4, 12};
    EXPECT_EQ(kelto::distanceBetween(origin, far), 13.0);
    EXPECT_EQ(kelto::distanceBetween(far, origin), 13.0);
    EXPECT_EQ(kelto::distanceBetween(far, far), 0.0);
    kelto::Position a{-1.5, 2.25, 7}, b{0.1, -3, 1e3};
    EXPECT_EQ(kelto::distanceBetween(a, b), kelto::distanceBetween(b, a));
}

// The squares are summed z first: (dz² + dy²) + dx². Here the other orders
// round to a neighbouring double, so a build that sums differently fails.
TEST(Distance, SumsTheSquaresZFirst) {
    const double x = -0.51, y = -4.6, z = -4.28;
    kelto::Position a{x, y, z}, origin{0, 0, 0};
    double zFirst = std::sqrt((z * z + y * y) + x * x);
    double xFirst = std::sqrt((x * x + y * y) + z * z);
    double yxFirst = std::sqrt(z * z + (y * y + x * x));
    ASSERT_NE(zFirst, xFirst);
    ASSERT_NE(zFirst, yxFirst);
    EXPECT_EQ(kelto::distanceBetween(a, origin), zFirst);
    EXPECT_EQ(kelto::distanceBetween(origin, a), zFirst);
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

TEST_F(Evaluation, AChoiceMadeBeforeResolutionIsReplacedByTheStoredNames) {
    name("Ball", "Camera");
    instance.itemId = object(0);
    instance.itemChoice = 1;
    evaluate();
    EXPECT_EQ(instance.itemId, object(1));
    EXPECT_EQ(instance.itemChoice, 2);
}

}  // namespace
