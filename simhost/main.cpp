// kelto-host: loads a module file as the host does and shows what it offers.
#include <cstdio>
#include <iostream>
#include <string>

#include "host/channel_handler.h"
#include "simhost/host_session.h"
#include "simhost/module_loader.h"
#include "simhost/module_report.h"
#include "simhost/server_bindings.h"

namespace {

const char kServerName[] = "Kelto";

int fail(const std::string& message) {
    std::cerr << "kelto-host: " << message << "\n";
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    std::string path = argc > 1 ? argv[1] : "kelto.p";
    sim::LoadResult loaded = sim::LoadedModule::load(path);
    if (!loaded.module) return fail(loaded.error);
    sim::LoadedModule& module = *loaded.module;
    std::cout << sim::describeModule(module);

    sim::Scene scene;
    sim::HostSession session(scene);
    const sim::ServerEntry* server = module.findServer(HOST_CHANNEL_HANDLER_CLASS, kServerName);
    if (server == nullptr) return fail("no server ChannelHandler \"Kelto\" in " + path);
    sim::HandlerBinding handler;
    int result = handler.activate(module, *server);
    std::cout << "Activation  ChannelHandler \"Kelto\": " << sim::describeActivationResult(result) << "\n";
    if (result != host::kActivationOk) return 1;
    host::InstanceHandle instance = handler.create();
    if (instance == nullptr) return fail("the module created no instance");
    std::cout << "Instance    \"" << handler.describe(instance) << "\", flags " << handler.flags(instance) << "\n";
    handler.destroy(instance);
    return 0;
}
