// The simulated host's services held to what host/ promises: IDs that are
// places in the lists, names that expire, calls that must not be made.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "host/item_info.h"
#include "host/panel_toolkit.h"
#include "simhost/host_session.h"
#include "simhost/item_ids.h"
#include "simhost/service_tables.h"

namespace {

const host::ItemInfoService& info() { return sim::itemInfoServiceTable(); }

class ServedScene : public ::testing::Test {
protected:
    void SetUp() override {
        scene.addObject("A");
        scene.addObject("B");
        scene.addObject("C", {1, 2, 3});
        scene.addCamera("A");
    }
    host::ItemId object(size_t index) { return sim::itemIdAt(host::kItemTypeObject, index); }

    sim::Scene scene;
    sim::HostSession session{scene};
};

TEST_F(ServedScene, ItemIdsArePlacesInTheListsSoADeletionRenumbersTheItemsAfterIt) {
    host::ItemId a = info().first(host::kItemTypeObject, nullptr);
    host::ItemId b = info().next(a);
    host::ItemId c = info().next(b);
    EXPECT_EQ(info().next(c), nullptr);
    EXPECT_EQ(a, object(0));
    EXPECT_EQ(c, object(2));
    host::ItemId camera = info().first(host::kItemTypeCamera, nullptr);
    EXPECT_NE(camera, a);
    EXPECT_STREQ(info().name(camera), "A");
    EXPECT_EQ(sim::itemIdAt(host::kItemTypeLight, 0), nullptr);
    for (host::ItemId id : {a, b, c, camera}) {
        int typeCode = -1;
        size_t index = 99;
        ASSERT_TRUE(sim::decodeItemId(id, typeCode, index));
        EXPECT_EQ(sim::itemIdAt(typeCode, index), id);
        // Not an address of the scene's, so nothing a module could follow.
        uintptr_t value = reinterpret_cast<uintptr_t>(id);
        EXPECT_LT(value, 4096u);
    }
    EXPECT_TRUE(session.violations().empty());

    scene.objects.erase(scene.objects.begin() + 1);
    EXPECT_STREQ(info().name(b), "C");  // B's old ID names the item after it
    double out[3] = {0, 0, 0};
    EXPECT_EQ(info().param(b, host::kItemParamWorldPosition, 0, out), 1);
    EXPECT_EQ(out[2], 3);
    EXPECT_EQ(info().next(b), nullptr);

    // C's old ID names nothing now; neither do IDs no list hands out.
    int marker = 0;
    EXPECT_EQ(info().name(c), nullptr);
    EXPECT_EQ(info().next(c), nullptr);
    EXPECT_EQ(info().param(c, host::kItemParamWorldPosition, 0, out), 0);
    EXPECT_EQ(info().name(&marker), nullptr);
    EXPECT_EQ(info().name(reinterpret_cast<host::ItemId>(uintptr_t(4 << 2 | 3))), nullptr);
    EXPECT_EQ(session.violations().size(), 5u);
}

TEST_F(ServedScene, ANameLastsOnlyUntilTheNextItemInfoCall) {
    host::ItemId a = info().first(host::kItemTypeObject, nullptr);
    const char* kept = info().name(a);
    ASSERT_STREQ(kept, "A");
    info().next(a);
    EXPECT_EQ(std::string(kept).find_first_not_of(sim::kExpiredNameByte), std::string::npos) << kept;
    EXPECT_GT(std::string(kept).size(), 1u);

    // Expired by any call of the table, a position too; an empty name as well.
    scene.objects[1].name = "";
    const char* empty = info().name(info().next(a));
    ASSERT_STREQ(empty, "");
    double out[3];
    info().param(a, host::kItemParamWorldPosition, 0, out);
    EXPECT_NE(empty[0], '\0');
    EXPECT_EQ(empty[0], sim::kExpiredNameByte);

    // A name longer than the last one still reads whole.
    scene.objects[2].name = std::string(1000, 'L');
    EXPECT_EQ(std::string(info().name(object(2))), std::string(1000, 'L'));
}

TEST_F(ServedScene, FunctionsAModuleMustNotCallAreViolations) {
    typedef void (HOST_CALL* AnyFunction)();
    for (const void* slot : {info().slot3, info().slot4, info().slot5, info().slot6, info().slot7, info().slot8})
        reinterpret_cast<AnyFunction>(const_cast<void*>(slot))();
    const host::PanelToolkit& toolkit = sim::panelToolkitTable();
    for (const void* slot : {toolkit.slot2, toolkit.slot4, toolkit.slot7, toolkit.slot9, toolkit.slot10})
        reinterpret_cast<AnyFunction>(const_cast<void*>(slot))();
    reinterpret_cast<AnyFunction*>(sim::messageServiceTable())[0]();
    reinterpret_cast<AnyFunction*>(sim::textureServiceTable())[31]();
    ASSERT_EQ(session.violations().size(), 13u);
    EXPECT_EQ(session.violations()[0], "item info function 3, which the module does not use");
    EXPECT_EQ(session.violations()[10], "LWXPanel function 10 was called");
    EXPECT_EQ(session.violations()[11], "Info Messages function 1 was called");
    EXPECT_EQ(session.violations()[12], "Texture Functions function 32 was called");
}

TEST(NoSessionDeathTest, AServiceCalledWithNoSessionFailsWithOneLine) {
    const char* expected = "was called with no host session to serve it";
    EXPECT_EXIT(info().first(host::kItemTypeObject, nullptr), testing::ExitedWithCode(1),
                std::string("^kelto-host: LW Item Info 3 function first ") + expected);
    EXPECT_EXIT(info().name(nullptr), testing::ExitedWithCode(1), "LW Item Info 3 function name");
    EXPECT_EXIT(sim::panelToolkitTable().create(host::kPanelTypeViewer, nullptr), testing::ExitedWithCode(1),
                std::string("LWXPanel function create ") + expected);
    typedef void (HOST_CALL* AnyFunction)();
    EXPECT_EXIT(reinterpret_cast<AnyFunction*>(sim::messageServiceTable())[2](), testing::ExitedWithCode(1),
                std::string("Info Messages function 3 ") + expected);
}

}  // namespace
