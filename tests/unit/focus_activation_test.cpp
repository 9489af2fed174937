// Kelto Focus's C boundary, called as the host calls it: the handler record
// under each protocol the build serves, and the panel the interface builds.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "channel/held_services.h"
#include "focus/focus_handler_entry.h"
#include "focus/focus_interface_entry.h"
#include "host/channel_handler.h"
#include "host/channel_interface.h"
#include "host/module_descriptor.h"
#include "simhost/services/block_states.h"
#include "simhost/services/channel_access_record.h"
#include "simhost/services/host_session.h"

namespace {

typedef std::vector<std::string> Lines;

// Ball and camera 13 units apart; a block that focuses 1 unit behind the ball.
class FocusBoundary : public ::testing::Test {
protected:
    void SetUp() override {
        scene.addObject("Ball", {0, 0, 0});
        scene.addCamera("Camera", {3, 4, 12});
    }
    void TearDown() override {
        EXPECT_EQ(session.violations(), std::vector<std::string>());
        kelto::holdHostServices(kelto::HostServices{});
    }

    // Creates and loads an instance through the operations, and checks what
    // save and describe give back.
    host::InstanceHandle loadedInstance() {
        host::InstanceHandle instance = operations.create(operations.hostData, nullptr, nullptr);
        sim::BlockReader reader({"KELTO_FOCUS_START", "REFERENCE_ITEM", "Ball", "REFERENCE_CAMERA", "Camera",
                                 "FOCUS_OFFSET 1", "KELTO_FOCUS_END"});
        EXPECT_EQ(operations.load(instance, &reader.state()), nullptr);
        return instance;
    }

    void expectSavedAndDescribed(host::InstanceHandle instance) {
        sim::BlockWriter writer;
        EXPECT_EQ(operations.save(instance, &writer.state()), nullptr);
        EXPECT_EQ(writer.lines(),
                  (Lines{"KELTO_FOCUS_START", "VERSION 1", "REFERENCE_ITEM", "Ball", "REFERENCE_CAMERA", "Camera",
                         "MEASURE 0", "SUBJECT_OFFSET 0 0 0", "FOCUS_OFFSET 1", "LAG 0", "KELTO_FOCUS_END"}));
        EXPECT_STREQ(operations.describe(instance), "KELTO FOCUS   Straight line");
        EXPECT_STREQ(operations.describe(nullptr), "KELTO FOCUS   Straight line");
    }

    sim::Scene scene;
    sim::HostSession session{scene};
    host::InstanceOperations operations{};
    host::ItemOperations itemOperations{};
};

TEST_F(FocusBoundary, TheClassicRecordRunsKeltoFocus) {
    host::HandlerRecord record{};
    record.instance = &operations;
    record.itemOperations = &itemOperations;
    ASSERT_EQ(kelto::activateFocusHandler(host::kClassicClassVersion, sim::HostSession::lookup(), &record, nullptr),
              host::kActivationOk);
    host::InstanceHandle instance = loadedInstance();
    ASSERT_NE(instance, nullptr);
    {
        sim::ChannelAccessRecord access(0, 0.0, -1);
        record.evaluate(instance, &access.access());
        EXPECT_EQ(access.brokenRule(), "");
        EXPECT_EQ(access.setCalls(), std::vector<double>{14.0});
        EXPECT_EQ(access.getChannelCalls() + access.channelNameCalls(), 0);
    }
    const host::ItemId* used = itemOperations.useItems(instance);
    ASSERT_NE(used, nullptr);
    EXPECT_NE(used[0], nullptr);
    EXPECT_NE(used[1], nullptr);
    EXPECT_EQ(used[2], nullptr);
    EXPECT_EQ(record.flags(instance), host::kHandlerFlagsNone);
    expectSavedAndDescribed(instance);
    operations.destroy(instance);
}

#if defined(KELTO_SERVES_CURRENT_PROTOCOL)
TEST_F(FocusBoundary, TheCurrentRecordRunsKeltoFocusWithTheNewestServices) {
    session.setKind(sim::HostKind::Current);
    host::HandlerRecordCurrent record{};
    record.instance = &operations;
    ASSERT_EQ(kelto::activateFocusHandler(host::kCurrentClassVersion, sim::HostSession::lookup(), &record, nullptr),
              host::kActivationOk);
    EXPECT_EQ(session.lookups(), (Lines{"Info Messages 4", "Texture Functions 6", "LW Item Info 9"}));
    host::InstanceHandle instance = loadedInstance();
    ASSERT_NE(instance, nullptr);
    {
        sim::ChannelAccessRecord access(0, 0.0, -1);
        record.evaluate(instance, &access.currentAccess());
        EXPECT_EQ(access.brokenRule(), "");
        EXPECT_EQ(access.setCalls(), std::vector<double>{14.0});
    }
    expectSavedAndDescribed(instance);
    operations.destroy(instance);
}
#else
TEST_F(FocusBoundary, TheClassicBuildRefusesTheCurrentVersion) {
    host::HandlerRecordCurrent record{};
    EXPECT_EQ(kelto::activateFocusHandler(host::kCurrentClassVersion, sim::HostSession::lookup(), &record, nullptr),
              host::kActivationBadVersion);
    EXPECT_EQ(record.evaluate, nullptr);
}
#endif

TEST_F(FocusBoundary, TheInterfaceBuildsThePanelOfTheInstance) {
    host::HandlerRecord handler{};
    handler.instance = &operations;
    ASSERT_EQ(kelto::activateFocusHandler(host::kClassicClassVersion, sim::HostSession::lookup(), &handler, nullptr),
              host::kActivationOk);
    host::InstanceHandle instance = loadedInstance();
    host::InterfaceRecord record{};
    record.instance = instance;
    ASSERT_EQ(kelto::activateFocusInterface(host::kClassicClassVersion, sim::HostSession::lookup(), &record, nullptr),
              host::kActivationOk);
    sim::SimPanel* panel = session.panels().panelOf(record.panel);
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(panel->labels[host::kPanelControlId], "Kelto Focus");
    EXPECT_EQ(panel->instance, instance);
    EXPECT_EQ(session.panels().popupEntries(*panel, 0x8001), (Lines{"(none)", "Ball"}));
    EXPECT_EQ(session.panels().popupEntries(*panel, 0x8002), (Lines{"(none)", "Camera"}));
    ASSERT_EQ(panel->controls.size(), 6u);
    ASSERT_EQ(panel->data.size(), 6u);

    // The lag through the panel's own functions: below 0 it becomes 0.
    const uint32_t lag = panel->controls[5].id;
    double seconds = -2;
    EXPECT_EQ(panel->set(instance, lag, &seconds), host::kRefreshValues);
    EXPECT_EQ(*static_cast<const double*>(panel->get(instance, lag)), 0.0);
    operations.destroy(instance);
}

}  // namespace
