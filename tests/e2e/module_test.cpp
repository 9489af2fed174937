// The module's servers and instances as the host sees them through kelto.p.
#include "e2e_support.h"

namespace {

using e2e::ModuleFixture;

TEST_F(ModuleFixture, HandlerActivationFillsEveryOperationAndLeavesTheHostsFields) {
    EXPECT_TRUE(handler.complete());
    EXPECT_EQ(handler.operations().hostData, sim::kHostOwnedMarker);
    EXPECT_EQ(handler.record().itemOperations, &handler.itemOperations());
    EXPECT_EQ(handler.itemOperations().renameNotice, sim::kHostOwnedMarker);
    EXPECT_NE(handler.itemOperations().useItems, nullptr);
    EXPECT_NE(handler.itemOperations().changeID, nullptr);
    EXPECT_EQ(session.lookups(), (std::vector<std::string>{"Info Messages", "Texture Functions", "LW Item Info 3"}));
}

TEST_F(ModuleFixture, InstancesAreDistinctCopyAndDestroy) {
    host::InstanceHandle first = newInstance();
    host::InstanceHandle second = newInstance();
    EXPECT_NE(first, second);
    EXPECT_EQ(handler.copy(second, first), nullptr);
    handler.destroy(nullptr);
}

}  // namespace
