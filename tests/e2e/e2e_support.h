// What the end-to-end tests share: the built module, loaded through the
// simulated host, with its handler activated over a scene.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <memory>
#include <string>

#include "host/channel_handler.h"
#include "host/channel_interface.h"
#include "simhost/modifiers/kelto_facts.h"
#include "simhost/services/host_session.h"
#include "simhost/services/module_loader.h"
#include "simhost/services/server_bindings.h"

namespace e2e {

// A module file under test: the classic build unless `variable` names
// another, so that the suite runs over each build (and over a mutant).
inline std::string chosenModule(const char* variable, const char* classic) {
    const char* chosen = std::getenv(variable);
    return chosen != nullptr && *chosen != '\0' ? chosen : classic;
}

inline std::string keltoPath() { return chosenModule("KELTO_MODULE", KELTO_MODULE_PATH); }
inline std::string focusPath() { return chosenModule("KELTO_FOCUS_MODULE", KELTO_FOCUS_MODULE_PATH); }

inline std::unique_ptr<sim::LoadedModule> loadModule(const std::string& path) {
    sim::LoadResult loaded = sim::LoadedModule::load(path);
    EXPECT_EQ(loaded.error, "");
    return std::move(loaded.module);
}

inline std::unique_ptr<sim::LoadedModule> loadKelto() { return loadModule(keltoPath()); }

inline const sim::ServerEntry& server(const sim::LoadedModule& module, const char* className) {
    const sim::ServerEntry* found = module.findServer(className, sim::kelto_facts::kServerName);
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

    host::InstanceHandle newInstance() {
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

namespace e2e {

using sim::kelto_facts::referenceBlock;

// A scene of two objects and two cameras with the channel's block in hand.
class ChannelFixture : public ModuleFixture {
protected:
    void SetUp() override {
        scene.addObject("Ground", {5, 5, 5});
        scene.addObject("Ball", {0, 0, 0});
        scene.addCamera("Camera", {3, 4, 12});
        scene.addCamera("Close-up", {0, 0, 2});
        ModuleFixture::SetUp();
    }

    host::InstanceHandle loaded(const std::vector<std::string>& lines) {
        host::InstanceHandle instance = newInstance();
        sim::BlockReader reader(lines);
        EXPECT_EQ(handler.load(instance, reader), nullptr);
        return instance;
    }

    // The channel after one evaluation at `frame`, from `before`; NaN when
    // the module did not set it.
    double evaluated(host::InstanceHandle instance, double frame = 0, double before = -1) {
        sim::ChannelAccessRecord access(static_cast<int>(frame), scene.timeOfFrame(frame), before);
        handler.evaluate(instance, access);
        EXPECT_EQ(sim::kelto_facts::evaluationProblem(access), "");
        return access.setCalls().empty() ? std::nan("") : access.setCalls().back();
    }

    std::vector<std::string> saved(host::InstanceHandle instance) {
        sim::BlockWriter writer;
        EXPECT_EQ(handler.save(instance, writer), nullptr);
        return writer.lines();
    }
};

}  // namespace e2e
