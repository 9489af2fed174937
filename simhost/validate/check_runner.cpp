#include "simhost/validate/check_runner.h"

#include <random>

#include "host/channel_handler.h"
#include "host/channel_interface.h"

namespace sim {

namespace {

// Whether the handler takes the protocol's version from a host of that
// protocol that serves everything: any answer but a refused version.
bool takesVersion(const LoadedModule& module, const HostProtocol& protocol, const ValidatedModifier& modifier) {
    Scene scene = checkScene();
    HostSession session(scene);
    session.setKind(protocol.host);
    HandlerBinding binding;
    const ServerEntry* server = module.findServer(HOST_CHANNEL_HANDLER_CLASS, modifier.name);
    return binding.activate(module, *server, protocol.version) != host::kActivationBadVersion;
}

// Why the check does not apply to the loaded module, or "".
std::string notApplying(const RegisteredCheck& check, const LoadedModule& module) {
    if (check.id == descriptorCheckIdOf(*check.modifier)) return "";
    for (const char* serverClass : {HOST_CHANNEL_HANDLER_CLASS, HOST_CHANNEL_INTERFACE_CLASS})
        if (module.findServer(serverClass, check.modifier->name) == nullptr)
            return "the module has no " + check.modifier->serverText(serverClass) + " (see " +
                   descriptorCheckIdOf(*check.modifier) + ")";
    // Only a module that takes an optional version is held to it; one that
    // takes it and then fails is held to it all the same.
    if (check.protocol != nullptr && check.protocol->optional &&
        !takesVersion(module, *check.protocol, *check.modifier))
        return "the module does not serve version " + std::to_string(check.protocol->version);
    return "";
}

}  // namespace

CheckOutcome runCheckHere(const RegisteredCheck& check, const std::string& path, uint32_t seed) {
    Expect expect;
    LoadResult loaded = LoadedModule::load(path);
    std::string skip = loaded.module ? notApplying(check, *loaded.module) : "";
    const std::string descriptorCheck = descriptorCheckIdOf(*check.modifier);
    if (!loaded.module && check.id == descriptorCheck)
        expect.fail(loaded.error);
    else if (!loaded.module)
        expect.skip("the module does not load (see " + descriptorCheck + ")");
    else if (!skip.empty())
        expect.skip(skip);
    if (!expect.ok()) return expect.outcome();
    // A check that loads the module itself sees it unloaded first.
    if (check.loadsModuleItself) loaded.module.reset();
    std::mt19937 random(seed);
    CheckContext context{path,
                         loaded.module.get(),
                         check.protocol != nullptr ? *check.protocol : kClassicProtocol,
                         *check.modifier,
                         random,
                         expect};
    check.run(context);
    return expect.outcome();
}

}  // namespace sim
