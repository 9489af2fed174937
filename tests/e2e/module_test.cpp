// The module's servers and instances as the host sees them through kelto.p.
#include "e2e_support.h"

namespace {

using e2e::ModuleFixture;

TEST_F(ModuleFixture, HandlerActivationFillsEveryOperationAndLeavesTheHostsFields) {
    EXPECT_TRUE(handler.complete());
    EXPECT_EQ(handler.operations().hostData, sim::kHostOwnedMarker);
    EXPECT_EQ(handler.record().itemOperations, sim::kHostOwnedMarker);
    EXPECT_EQ(session.lookups(), (std::vector<std::string>{"Info Messages", "Texture Functions", "LW Item Info 3"}));
}

TEST_F(ModuleFixture, InstancesDescribeThemselvesCopyAndDestroy) {
    host::InstanceHandle first = create();
    host::InstanceHandle second = create();
    EXPECT_NE(first, second);
    EXPECT_EQ(handler.describe(first), "KELTO   by VEM");
    EXPECT_EQ(handler.flags(first), 0u);
    EXPECT_EQ(handler.copy(second, first), nullptr);
    EXPECT_EQ(handler.describe(second), "KELTO   by VEM");
    handler.destroy(nullptr);
}

TEST_F(ModuleFixture, ActivationResultsForVersionsAndMissingServices) {
    sim::HandlerBinding other;
    const sim::ServerEntry& handlerServer = e2e::server(*module, HOST_CHANNEL_HANDLER_CLASS);
    EXPECT_EQ(other.activate(*module, handlerServer, 3), host::kActivationBadVersion);
    EXPECT_EQ(other.activate(*module, handlerServer, 5), host::kActivationBadVersion);
    EXPECT_EQ(other.operations().create, nullptr);

    sim::HostSession lacking(scene);
    lacking.withhold("Texture Functions");
    EXPECT_EQ(other.activate(*module, handlerServer), host::kActivationServiceMissing);
    EXPECT_EQ(lacking.lookups(), (std::vector<std::string>{"Info Messages", "Texture Functions"}));
    EXPECT_EQ(other.operations().create, nullptr);

    sim::InterfaceBinding panel;
    const sim::ServerEntry& interfaceServer = e2e::server(*module, HOST_CHANNEL_INTERFACE_CLASS);
    EXPECT_EQ(panel.activate(*module, interfaceServer, nullptr, 3), host::kActivationBadVersion);
}

}  // namespace
