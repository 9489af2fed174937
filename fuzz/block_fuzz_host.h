// What both block fuzzers stand on: a small scene served by the simulated
// host (an object named "none", as a reference of "(none)" is saved, among
// them), the modifier's handler activated as a classic host activates it so
// that its services are bound, and a load state whose every read the input
// chooses (unruly_reader.h). The target then loads, saves and evaluates
// through the modifier's own functions.
#pragma once

#include <cstddef>
#include <cstdint>

#include "fuzz_promises.h"
#include "host/channel_handler.h"
#include "host/module_descriptor.h"
#include "simhost/services/host_session.h"
#include "unruly_reader.h"

namespace fuzz {

class BlockFuzzHost {
public:
    BlockFuzzHost(host::ActivateFunction activate, const uint8_t* data, size_t size)
        : scene_(startingScene()), session_(scene_), reader_{data, size} {
        record_.instance = &operations_;
        activate(host::kClassicClassVersion, sim::HostSession::lookup(), &record_, nullptr);
        state_.ioMode = host::kIoModeAscii;
        state_.readData = &reader_;
        state_.read = UnrulyReader::read;
    }
    BlockFuzzHost(const BlockFuzzHost&) = delete;
    BlockFuzzHost& operator=(const BlockFuzzHost&) = delete;

    // Read alone: all the modifier calls.
    const host::LoadState& unrulyState() const { return state_; }
    // The host's rules held to the end of the input.
    void requireNoViolations() { require(session_.violations().empty()); }

private:
    static sim::Scene startingScene() {
        sim::Scene scene;
        scene.addObject("Ball", {1, 2, 3});
        scene.addObject("none");
        scene.addCamera("Camera", {4, 5, 6});
        return scene;
    }

    sim::Scene scene_;
    sim::HostSession session_;
    host::InstanceOperations operations_{};
    host::HandlerRecord record_{};
    UnrulyReader reader_;
    host::LoadState state_{};
};

}  // namespace fuzz
