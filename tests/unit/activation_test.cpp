// Activation of both servers against the simulated host's services, called
// directly rather than through the module file.
#include <gtest/gtest.h>

#include <cstring>

#include "channel/distance_instance.h"
#include "channel/held_services.h"
#include "host/channel_handler.h"
#include "host/channel_interface.h"
#include "host/module_descriptor.h"
#include "host/panel_toolkit.h"
#include "module/distance_handle.h"
#include "module/handler_entry.h"
#include "module/interface_entry.h"
#include "simhost/modifiers/kelto_facts.h"
#include "simhost/services/channel_access_record.h"
#include "simhost/services/host_session.h"

namespace {

const std::vector<std::string> kHandlerServices = {"Info Messages", "Texture Functions", "LW Item Info 3"};

// Every version but the classic one, and the current one too in a build that
// does not serve it.
#if defined(KELTO_SERVES_CURRENT_PROTOCOL)
const int kRefusedVersions[] = {host::kClassicClassVersion - 1, host::kCurrentClassVersion + 1, 0, -4};
#else
const int kRefusedVersions[] = {host::kClassicClassVersion - 1, host::kCurrentClassVersion,
                                host::kCurrentClassVersion + 1, 0, -4};
#endif

class Activation : public ::testing::Test {
protected:
    void SetUp() override { kelto::holdHostServices(kelto::HostServices{}); }
    void TearDown() override { kelto::holdHostServices(kelto::HostServices{}); }

    // A record as the host hands it over: its own values in every field.
    void fillWithHostValues() {
        std::memset(&operations, 0xA5, sizeof operations);
        std::memset(&itemOperations, 0xA5, sizeof itemOperations);
        std::memset(&record, 0x5A, sizeof record);
        record.instance = &operations;
        record.itemOperations = &itemOperations;
    }

    int activate(int version = host::kClassicClassVersion) {
        return kelto::activateChannelHandler(version, sim::HostSession::lookup(), &record, nullptr);
    }

    sim::Scene scene;
    sim::HostSession session{scene};
    host::InstanceOperations operations{};
    host::ItemOperations itemOperations{};
    host::HandlerRecord record{};
};

TEST_F(Activation, OtherVersionsAreRefusedWithoutTouchingAnything) {
    for (int version : kRefusedVersions) {
        fillWithHostValues();
        host::InstanceOperations operationsBefore = operations;
        host::ItemOperations itemOperationsBefore = itemOperations;
        host::HandlerRecord recordBefore = record;
        EXPECT_EQ(activate(version), host::kActivationBadVersion) << "version " << version;
        EXPECT_EQ(std::memcmp(&operations, &operationsBefore, sizeof operations), 0);
        EXPECT_EQ(std::memcmp(&itemOperations, &itemOperationsBefore, sizeof itemOperations), 0);
        EXPECT_EQ(std::memcmp(&record, &recordBefore, sizeof record), 0);
    }
    EXPECT_TRUE(session.lookups().empty());
    EXPECT_EQ(kelto::heldHostServices().itemInfo, nullptr);
}

TEST_F(Activation, SuccessHoldsTheServicesAndFillsTheRecord) {
    fillWithHostValues();
    void* hostData = operations.hostData;
    host::ItemOperations given = itemOperations;
    ASSERT_EQ(activate(), host::kActivationOk);
    EXPECT_EQ(session.lookups(), kHandlerServices);
    EXPECT_NE(kelto::heldHostServices().messages, nullptr);
    EXPECT_NE(kelto::heldHostServices().textures, nullptr);
    EXPECT_NE(kelto::heldHostServices().itemInfo, nullptr);
    EXPECT_EQ(operations.hostData, hostData);
    EXPECT_EQ(record.itemOperations, &itemOperations);
    EXPECT_EQ(record.instance, &operations);
    EXPECT_NE(operations.create, nullptr);
    EXPECT_NE(record.evaluate, nullptr);
    // The item operations' first two functions are the module's; the third stays the host's.
    EXPECT_NE(itemOperations.useItems, given.useItems);
    EXPECT_NE(itemOperations.changeID, given.changeID);
    EXPECT_NE(itemOperations.useItems, nullptr);
    EXPECT_NE(itemOperations.changeID, nullptr);
    EXPECT_EQ(itemOperations.renameNotice, given.renameNotice);

    // A host that only previews hands no item operations, and the rest is filled all the same.
    fillWithHostValues();
    record.itemOperations = nullptr;
    ASSERT_EQ(activate(), host::kActivationOk);
    EXPECT_EQ(record.itemOperations, nullptr);
    EXPECT_NE(operations.create, nullptr);
    EXPECT_NE(record.flags, nullptr);
}

TEST_F(Activation, LookupsStopAtTheFirstMissingService) {
    session.withhold("Texture Functions");
    EXPECT_EQ(activate(), host::kActivationServiceMissing);
    EXPECT_EQ(session.lookups(), (std::vector<std::string>{"Info Messages", "Texture Functions"}));

    sim::HostSession noMessages(scene);
    noMessages.withhold("Info Messages");
    EXPECT_EQ(activate(), host::kActivationServiceMissing);
    EXPECT_EQ(noMessages.lookups(), (std::vector<std::string>{"Info Messages"}));
    EXPECT_EQ(kelto::heldHostServices().messages, nullptr);

    // Without a lookup function no service can be found.
    fillWithHostValues();
    host::HandlerRecord recordBefore = record;
    EXPECT_EQ(kelto::activateChannelHandler(host::kClassicClassVersion, nullptr, &record, nullptr),
              host::kActivationServiceMissing);
    EXPECT_EQ(std::memcmp(&record, &recordBefore, sizeof record), 0);
}

TEST_F(Activation, AFailedActivationKeepsTheServicesOfTheLastGoodOne) {
    ASSERT_EQ(activate(), host::kActivationOk);
    kelto::HostServices good = kelto::heldHostServices();
    for (const std::string& missing : kHandlerServices) {
        sim::HostSession lacking(scene);
        lacking.withhold(missing);
        EXPECT_EQ(activate(), host::kActivationServiceMissing) << missing;
        EXPECT_EQ(kelto::heldHostServices().messages, good.messages) << missing;
        EXPECT_EQ(kelto::heldHostServices().textures, good.textures) << missing;
        EXPECT_EQ(kelto::heldHostServices().itemInfo, good.itemInfo) << missing;
    }
}

#if defined(KELTO_SERVES_CURRENT_PROTOCOL)
// A current host's activation: the newest names first, and the current
// record, whose evaluate calls set-channel with the host's data first.
TEST_F(Activation, TheCurrentVersionTakesTheNewestNamesAndFillsTheCurrentRecord) {
    session.setKind(sim::HostKind::Current);
    scene.addObject("Ball", {0, 0, 0});
    scene.addCamera("Camera", {3, 4, 12});
    host::HandlerRecordCurrent current{};
    current.instance = &operations;
    ASSERT_EQ(kelto::activateChannelHandler(host::kCurrentClassVersion, sim::HostSession::lookup(), &current, nullptr),
              host::kActivationOk);
    EXPECT_EQ(session.lookups(),
              (std::vector<std::string>{"Info Messages 4", "Texture Functions 6", "LW Item Info 9"}));
    EXPECT_EQ(kelto::heldHostServices().classVersion, host::kCurrentClassVersion);

    host::InstanceHandle instance = operations.create(nullptr, nullptr, nullptr);
    ASSERT_NE(instance, nullptr);
    std::strcpy(kelto::instanceOf(instance)->itemName, "Ball");
    std::strcpy(kelto::instanceOf(instance)->cameraName, "Camera");
    {
        sim::ChannelAccessRecord access(0, 0.0, -1);
        current.evaluate(instance, &access.currentAccess());
        EXPECT_EQ(sim::kelto_facts::evaluationProblem(access), "");
        EXPECT_EQ(access.setCalls(), std::vector<double>{13.0});
    }
    {
        // Null handles and records are answered by doing nothing here too.
        sim::ChannelAccessRecord access(0, 0.0, -1);
        current.evaluate(nullptr, &access.currentAccess());
        current.evaluate(instance, nullptr);
        access.withoutSetChannel();
        current.evaluate(instance, &access.currentAccess());
        EXPECT_TRUE(access.setCalls().empty());
    }
    operations.destroy(instance);
}
#endif

// A host never hands a null handle, record or state, but the module answers
// each by doing nothing rather than reading through it.
TEST_F(Activation, NullHandlesAndRecordsAreAnsweredByDoingNothing) {
    scene.addObject("Ball", {0, 0, 0});
    scene.addCamera("Camera", {3, 4, 12});
    fillWithHostValues();
    ASSERT_EQ(activate(), host::kActivationOk);
    host::InstanceHandle instance = operations.create(nullptr, nullptr, nullptr);
    ASSERT_NE(instance, nullptr);
    std::strcpy(kelto::instanceOf(instance)->itemName, "Ball");
    std::strcpy(kelto::instanceOf(instance)->cameraName, "Camera");

    EXPECT_EQ(operations.copy(nullptr, instance), nullptr);
    EXPECT_EQ(operations.copy(instance, nullptr), nullptr);
    EXPECT_EQ(operations.load(nullptr, nullptr), nullptr);
    EXPECT_EQ(operations.load(instance, nullptr), nullptr);
    EXPECT_EQ(operations.save(nullptr, nullptr), nullptr);
    EXPECT_EQ(operations.save(instance, nullptr), nullptr);
    EXPECT_STREQ(operations.describe(nullptr), sim::kelto_facts::kDescription);
    EXPECT_EQ(record.flags(nullptr), 0u);
    EXPECT_EQ(itemOperations.useItems(nullptr), nullptr);
    itemOperations.changeID(nullptr, nullptr);
    itemOperations.changeID(instance, nullptr);

    {
        sim::ChannelAccessRecord access(0, 0.0, -1);
        record.evaluate(nullptr, &access.access());
        record.evaluate(instance, nullptr);
        EXPECT_TRUE(access.setCalls().empty());
        access.withoutSetChannel();
        record.evaluate(instance, &access.access());
        EXPECT_TRUE(access.setCalls().empty());
    }
    // The instance was left as it was: it evaluates by its own names.
    sim::ChannelAccessRecord access(0, 0.0, -1);
    record.evaluate(instance, &access.access());
    EXPECT_EQ(access.setCalls(), std::vector<double>{13.0});
    operations.destroy(instance);
    operations.destroy(nullptr);
}

// A toolkit without one of the five functions the panel needs builds no panel,
// and calls none of the others.
const host::PanelToolkit* g_toolkit = nullptr;
void* HOST_CALL lookupWithToolkit(const char* name, int use) {
    if (std::strcmp(name, HOST_PANEL_TOOLKIT_SERVICE) == 0) return const_cast<host::PanelToolkit*>(g_toolkit);
    return sim::HostSession::lookup()(name, use);
}

TEST(InterfaceActivation, AToolkitMissingAFunctionBuildsNoPanel) {
    sim::Scene scene;
    sim::HostSession session(scene);
    const host::PanelToolkit& served =
        *static_cast<const host::PanelToolkit*>(sim::HostSession::lookup()(HOST_PANEL_TOOLKIT_SERVICE, 0));
    auto without = [&](auto host::PanelToolkit::*slot) {
        host::PanelToolkit toolkit = served;
        toolkit.*slot = nullptr;
        return toolkit;
    };
    const host::PanelToolkit lacking[] = {without(&host::PanelToolkit::create), without(&host::PanelToolkit::describe),
                                          without(&host::PanelToolkit::hint), without(&host::PanelToolkit::setData),
                                          without(&host::PanelToolkit::viewInstance)};
    int instance = 0;
    for (const host::PanelToolkit& toolkit : lacking) {
        g_toolkit = &toolkit;
        host::InterfaceRecord record{};
        record.instance = &instance;
        EXPECT_EQ(kelto::activateChannelInterface(host::kClassicClassVersion, lookupWithToolkit, &record, nullptr),
                  host::kActivationOk);
        EXPECT_EQ(record.panel, nullptr);
    }
    EXPECT_TRUE(session.panels().calls().empty());
    g_toolkit = nullptr;
}

TEST(InterfaceActivation, RefusesOtherVersionsAndOtherwiseSucceeds) {
    sim::Scene scene;
    sim::HostSession session(scene);
    int marker = 0;
    host::InterfaceRecord record{};
    record.panel = &marker;
    EXPECT_EQ(kelto::activateChannelInterface(3, sim::HostSession::lookup(), &record, nullptr),
              host::kActivationBadVersion);
    EXPECT_EQ(record.panel, &marker);
    EXPECT_EQ(kelto::activateChannelInterface(5, sim::HostSession::lookup(), &record, nullptr),
              host::kActivationBadVersion);

    record.options = reinterpret_cast<const char*(HOST_CALL*)(host::InstanceHandle)>(&marker);
    record.command = reinterpret_cast<const char*(HOST_CALL*)(host::InstanceHandle, const char*)>(&marker);
    EXPECT_EQ(kelto::activateChannelInterface(host::kClassicClassVersion, sim::HostSession::lookup(), &record, nullptr),
              host::kActivationOk);
    EXPECT_EQ(record.options, nullptr);
    EXPECT_EQ(record.command, nullptr);

    // A null record, instance or lookup succeeds with no panel built.
    EXPECT_EQ(kelto::activateChannelInterface(host::kClassicClassVersion, sim::HostSession::lookup(), nullptr, nullptr),
              host::kActivationOk);
    record.instance = nullptr;
    EXPECT_EQ(kelto::activateChannelInterface(host::kClassicClassVersion, sim::HostSession::lookup(), &record, nullptr),
              host::kActivationOk);
    EXPECT_EQ(record.panel, nullptr);
    record.instance = &marker;
    EXPECT_EQ(kelto::activateChannelInterface(host::kClassicClassVersion, nullptr, &record, nullptr),
              host::kActivationOk);
    EXPECT_EQ(record.panel, nullptr);
    EXPECT_TRUE(session.panels().calls().empty());
}

}  // namespace
