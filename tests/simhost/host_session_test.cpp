// The simulated host's services held to what host/ promises: IDs that are
// places in the lists, names that expire, calls that must not be made.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "simhost/services/host_session.h"
#include "simhost/services/item_ids.h"
#include "simhost/services/service_tables.h"

namespace {

typedef void (HOST_CALL* AnyFunction)();

const host::ItemInfoService& info() { return sim::itemInfoServiceTable(); }

class ServedScene : public ::testing::Test {
protected:
    void SetUp() override {
        scene.addObject("A");
        scene.addObject("B");
        scene.addObject("C", {1, 2, 3});
        scene.addCamera("A");
    }
    sim::Scene scene;
    sim::HostSession session{scene};
};

TEST_F(ServedScene, ItemIdsArePlacesInTheListsSoADeletionRenumbersTheItemsAfterIt) {
    host::ItemId a = info().first(host::kItemTypeObject, nullptr);
    host::ItemId b = info().next(a);
    host::ItemId c = info().next(b);
    EXPECT_EQ(c, sim::itemIdAt(host::kItemTypeObject, 2));
    EXPECT_NE(info().first(host::kItemTypeCamera, nullptr), a);
    EXPECT_LT(reinterpret_cast<uintptr_t>(c), 4096u);  // no address a module could follow
    EXPECT_TRUE(session.violations().empty());

    scene.objects.erase(scene.objects.begin() + 1);
    EXPECT_STREQ(info().name(b), "C");  // B's old ID names the item after it
    double out[3] = {0, 0, 0};
    EXPECT_EQ(info().param(b, host::kItemParamWorldPosition, 0, out), 1);
    EXPECT_EQ(out[2], 3);

    // C's old ID names nothing now; nor do IDs no list hands out.
    int marker = 0;
    EXPECT_EQ(info().name(c), nullptr);
    EXPECT_EQ(info().next(c), nullptr);
    EXPECT_EQ(info().param(c, host::kItemParamWorldPosition, 0, out), 0);
    EXPECT_EQ(info().name(&marker), nullptr);
    EXPECT_EQ(session.violations().size(), 4u);
}

TEST_F(ServedScene, ANameLastsOnlyUntilTheNextItemInfoCall) {
    host::ItemId a = info().first(host::kItemTypeObject, nullptr);
    scene.objects[0].name = "";
    const char* kept = info().name(a);
    ASSERT_STREQ(kept, "");
    double out[3];
    info().param(a, host::kItemParamWorldPosition, 0, out);
    EXPECT_GT(std::string(kept).size(), 1u);
    EXPECT_EQ(std::string(kept).find_first_not_of(sim::kExpiredNameByte), std::string::npos);
    // A name longer than the last one still reads whole.
    scene.objects[0].name = std::string(1000, 'L');
    EXPECT_EQ(std::string(info().name(a)), std::string(1000, 'L'));
}

TEST_F(ServedScene, FunctionsAModuleMustNotCallAreViolations) {
    const host::PanelToolkit& toolkit = sim::panelToolkitTable();
    for (const void* slot : {info().slot3, info().slot8, toolkit.slot2, toolkit.slot10})
        reinterpret_cast<AnyFunction>(const_cast<void*>(slot))();
    EXPECT_EQ(session.violations(), (std::vector<std::string>{"item info function 3, which the module does not use",
                                                               "item info function 8, which the module does not use",
                                                               "LWXPanel function 2 was called",
                                                               "LWXPanel function 10 was called"}));
}

TEST(NoSessionDeathTest, AServiceCalledWithNoSessionEndsTheRunWithOneLine) {
    EXPECT_EXIT(info().name(nullptr), testing::ExitedWithCode(1),
                "^kelto-host: LW Item Info 3 function name was called with no host session to serve it\n$");
    EXPECT_EXIT(sim::panelToolkitTable().create(host::kPanelTypeViewer, nullptr), testing::ExitedWithCode(1),
                "LWXPanel function create was called with no host session");
    EXPECT_EXIT(reinterpret_cast<AnyFunction*>(sim::messageServiceTable())[2](), testing::ExitedWithCode(1),
                "Info Messages function 3 was called with no host session");
}

}  // namespace
