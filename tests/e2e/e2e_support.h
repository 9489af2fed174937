// What the end-to-end tests share: the built module, loaded through the
// simulated host, with its handler activated over a scene.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "host/channel_handler.h"
#include "host/channel_interface.h"
#include "simhost/host_session.h"
#include "simhost/module_loader.h"
#include "simhost/server_bindings.h"

namespace e2e {

inline std::unique_ptr<sim::LoadedModule> loadKelto() {
    sim::LoadResult loaded = sim::LoadedModule::load(KELTO_MODULE_PATH);
    EXPECT_EQ(loaded.error, "");
    return std::move(loaded.module);
}

inline const sim::ServerEntry& server(const sim::LoadedModule& module, const char* className) {
    const sim::ServerEntry* found = module.findServer(className, "Kelto");
    if (found == nullptr) ADD_FAILURE() << "no " << className << " server";
    return *found;
}

// The module loaded and its channel handler bound over `scene`.
class ModuleFixture : public ::testing::Test {
protected:
    void SetUp() override {
        module = loadKelto();
        ASSERT_NE(module, nullptr);
        ASSERT_EQ(handler.activate(*module, server(*module, HOST_CHANNEL_HANDLER_CLASS)), host::kActivationOk);
    }
    void TearDown() override {
        EXPECT_EQ(session.violations(), std::vector<std::string>());
        for (host::InstanceHandle instance : instances) handler.destroy(instance);
    }

    host::InstanceHandle create() {
        host::InstanceHandle instance = handler.create();
        EXPECT_NE(instance, nullptr);
        instances.push_back(instance);
        return instance;
    }

    sim::Scene scene;
    sim::HostSession session{scene};
    std::unique_ptr<sim::LoadedModule> module;
    sim::HandlerBinding handler;
    std::vector<host::InstanceHandle> instances;
};

}  // namespace e2e
