// Unit tests call a module's functions directly, over a scene served by the
// simulated host's services and held as a successful activation holds them.
#pragma once

#include <gtest/gtest.h>

#include "channel/held_services.h"
#include "host/channel_handler.h"
#include "host/module_descriptor.h"
#include "simhost/services/host_session.h"
#include "simhost/services/item_ids.h"

namespace unit {

// A scene and the session serving it, with the services held by a classic
// activation of the handler `kActivate`.
template <host::ActivateFunction kActivate>
class ActivatedSceneFixture : public ::testing::Test {
protected:
    void SetUp() override {
        host::InstanceOperations operations{};
        host::HandlerRecord record{};
        record.instance = &operations;
        ASSERT_EQ(kActivate(host::kClassicClassVersion, sim::HostSession::lookup(), &record, nullptr),
                  host::kActivationOk);
    }
    void TearDown() override {
        EXPECT_EQ(session.violations(), std::vector<std::string>());
        kelto::holdHostServices(kelto::HostServices{});
    }

    // The IDs the host hands out for the items at these places now.
    host::ItemId object(size_t index) { return sim::itemIdAt(host::kItemTypeObject, index); }
    host::ItemId camera(size_t index) { return sim::itemIdAt(host::kItemTypeCamera, index); }

    sim::Scene scene;
    sim::HostSession session{scene};
};

}  // namespace unit
