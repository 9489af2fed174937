// The two channel protocols as a current host speaks them: versions
// negotiated, services found under their newer names, and the current access
// record evaluated, through the build that serves both and the classic one.
#include "e2e_support.h"

namespace {

const std::vector<std::string> kNewestNames = {"Info Messages 4", "Texture Functions 6", "LW Item Info 9"};

class CurrentHost : public ::testing::Test {
protected:
    void SetUp() override {
        session.setKind(sim::HostKind::Current);
        scene.addObject("Ball", {0, 0, 0});
        scene.addCamera("Camera", {3, 4, 12});
    }

    // The handler bound the way a current host binds it: from 5 downward.
    int bind(const sim::LoadedModule& module, sim::HandlerBinding& handler) {
        const sim::ServerEntry& server = e2e::server(module, HOST_CHANNEL_HANDLER_CLASS);
        for (int version = host::kCurrentClassVersion; version >= 1; --version)
            if (handler.activate(module, server, version) == host::kActivationOk) return version;
        return 0;
    }

    // The interface bound from 1 upward; 0 when no version is taken.
    int openInterface(const sim::LoadedModule& module, host::InstanceHandle instance) {
        const sim::ServerEntry& server = e2e::server(module, HOST_CHANNEL_INTERFACE_CLASS);
        for (int version = 1; version <= host::kCurrentClassVersion; ++version) {
            sim::InterfaceBinding binding;
            if (binding.activate(module, server, instance, version) == host::kActivationOk) return version;
        }
        return 0;
    }

    // One evaluation of `instance`: the value set, or NaN when none was.
    double evaluated(sim::HandlerBinding& handler, host::InstanceHandle instance) {
        sim::ChannelAccessRecord access(0, 0.0, -1);
        handler.evaluate(instance, access);
        EXPECT_EQ(sim::kelto_facts::evaluationProblem(access), "");
        return access.setCalls().empty() ? std::nan("") : access.setCalls().back();
    }

    host::InstanceHandle loaded(sim::HandlerBinding& handler) {
        host::InstanceHandle instance = handler.create();
        sim::BlockReader reader(e2e::referenceBlock("Ball", "Camera"));
        handler.load(instance, reader);
        return instance;
    }

    sim::Scene scene;
    sim::HostSession session{scene};
};

TEST_F(CurrentHost, TheCurrentBuildSpeaksVersion5ThroughoutAndTheClassicBuildVersion4) {
    std::unique_ptr<sim::LoadedModule> current = e2e::loadModule(KELTO_CURRENT_MODULE_PATH);
    ASSERT_NE(current, nullptr);
    sim::HandlerBinding handler;
    EXPECT_EQ(bind(*current, handler), 5);
    EXPECT_EQ(session.lookups(), kNewestNames);
    host::InstanceHandle instance = loaded(handler);
    EXPECT_EQ(evaluated(handler, instance), 13.0);  // through the current access record
    EXPECT_EQ(openInterface(*current, instance), 5);
    handler.destroy(instance);

    std::unique_ptr<sim::LoadedModule> classic = e2e::loadModule(KELTO_MODULE_PATH);
    ASSERT_NE(classic, nullptr);
    sim::HandlerBinding old;
    EXPECT_EQ(bind(*classic, old), 4);
    instance = loaded(old);
    EXPECT_EQ(evaluated(old, instance), 13.0);  // through the classic access record
    EXPECT_EQ(openInterface(*classic, instance), 4);
    old.destroy(instance);
    EXPECT_EQ(session.violations(), std::vector<std::string>());
}

TEST_F(CurrentHost, TheInterfaceTakesTheVersionTheHandlerWasLastBoundWith) {
    std::unique_ptr<sim::LoadedModule> module = e2e::loadModule(KELTO_CURRENT_MODULE_PATH);
    ASSERT_NE(module, nullptr);
    const sim::ServerEntry& handlerServer = e2e::server(*module, HOST_CHANNEL_HANDLER_CLASS);
    int instanceStandIn = 0;
    EXPECT_EQ(openInterface(*module, &instanceStandIn), 4);  // before any handler: classic

    sim::HandlerBinding handler;
    ASSERT_EQ(handler.activate(*module, handlerServer, 5), host::kActivationOk);
    EXPECT_EQ(openInterface(*module, &instanceStandIn), 5);
    ASSERT_EQ(handler.activate(*module, handlerServer, 4), host::kActivationOk);
    EXPECT_EQ(openInterface(*module, &instanceStandIn), 4);
    EXPECT_EQ(handler.activate(*module, handlerServer, 6), host::kActivationBadVersion);
    EXPECT_EQ(openInterface(*module, &instanceStandIn), 4);
}

TEST_F(CurrentHost, ServicesAreLookedUpNewestNameFirst) {
    std::unique_ptr<sim::LoadedModule> module = e2e::loadModule(KELTO_CURRENT_MODULE_PATH);
    ASSERT_NE(module, nullptr);
    const sim::ServerEntry& server = e2e::server(*module, HOST_CHANNEL_HANDLER_CLASS);
    sim::HandlerBinding handler;
    session.withhold("LW Item Info 9");
    session.withhold("LW Item Info 8");
    ASSERT_EQ(handler.activate(*module, server, 5), host::kActivationOk);
    EXPECT_EQ(session.lookups(), (std::vector<std::string>{"Info Messages 4", "Texture Functions 6", "LW Item Info 9",
                                                           "LW Item Info 8", "LW Item Info 3"}));
    host::InstanceHandle instance = loaded(handler);
    EXPECT_EQ(evaluated(handler, instance), 13.0);

    // A host lacking every name refuses the activation and keeps the tables
    // already held, so the instance goes on working.
    sim::HostSession lacking(scene);
    lacking.setKind(sim::HostKind::Current);
    for (const char* name : {"Texture Functions 6", "Texture Functions 5", "Texture Functions"}) lacking.withhold(name);
    sim::HandlerBinding other;
    EXPECT_EQ(other.activate(*module, server, 5), host::kActivationServiceMissing);
    EXPECT_EQ(lacking.lookups(), (std::vector<std::string>{"Info Messages 4", "Texture Functions 6",
                                                           "Texture Functions 5", "Texture Functions"}));
    EXPECT_EQ(evaluated(handler, instance), 13.0);
    handler.destroy(instance);
}

TEST_F(CurrentHost, AnAccessRecordWithoutSetChannelSetsNothing) {
    std::unique_ptr<sim::LoadedModule> module = e2e::loadModule(KELTO_CURRENT_MODULE_PATH);
    ASSERT_NE(module, nullptr);
    for (int version : {5, 4}) {
        sim::HandlerBinding handler;
        ASSERT_EQ(handler.activate(*module, e2e::server(*module, HOST_CHANNEL_HANDLER_CLASS), version),
                  host::kActivationOk);
        host::InstanceHandle instance = loaded(handler);
        sim::ChannelAccessRecord access(0, 0.0, -1);
        access.withoutSetChannel();
        handler.evaluate(instance, access);
        EXPECT_TRUE(access.setCalls().empty()) << "version " << version;
        handler.destroy(instance);
    }
}

}  // namespace
