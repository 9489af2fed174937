// The module as a whole: its descriptor and server table, and loading it
// again and again.
#include "host/channel_handler.h"
#include "host/channel_interface.h"
#include "simhost/text/text_format.h"
#include "simhost/validate/checks/check_tables.h"

namespace sim {

namespace {

const int kLoadCycles = 16;
// The host adds two plug-ins for a modifier's file: the modifier and its panel.
const size_t kServersOfAModifier = 2;

bool sameServer(const ServerEntry& a, const ServerEntry& b) {
    return a.className == b.className && a.serverName == b.serverName;
}

// One load, bind, load of a block and evaluation; false when it failed.
bool loadsAndEvaluates(CheckContext& context, int cycle) {
    const std::string where = "load " + std::to_string(cycle);
    LoadResult loaded = LoadedModule::load(context.path);
    if (!context.expect.that(loaded.module != nullptr, [&] { return where + ": " + loaded.error; })) return false;
    Expect cycleExpect;
    {
        CheckRig rig(*loaded.module, kClassicProtocol, context.modifier, cycleExpect);
        host::InstanceHandle instance = rig.bind() ? rig.loaded(rig.referenceBlock("Ball", "Camera")) : nullptr;
        if (instance != nullptr) cycleExpect.that(rig.evaluated(instance, 0).set, "the channel was not set");
    }
    return context.expect.passes(cycleExpect, where);
}

}  // namespace

void checkDescriptor(CheckContext& context) {
    const LoadedModule& module = context.module();
    const host::ModuleDescriptor& d = module.descriptor();
    Expect& expect = context.expect;
    // A module file this host can load is of the host's own platform.
    expect.that(d.machineCode == host::kMachineCodeOfThisPlatform, [&] {
        return "machine code " + hexText(d.machineCode) + ", where this platform's is " +
               hexText(host::kMachineCodeOfThisPlatform);
    });
    expect.that(d.shutdown != nullptr, "the descriptor has no shut-down function");
    for (const char* serverClass : {HOST_CHANNEL_HANDLER_CLASS, HOST_CHANNEL_INTERFACE_CLASS})
        expect.that(module.findServer(serverClass, context.modifier.name) != nullptr,
                    [&] { return "no " + context.modifier.serverText(serverClass); });
    const std::vector<ServerEntry>& servers = module.servers();
    expect.that(servers.size() == kServersOfAModifier, [&] {
        return std::to_string(servers.size()) + " servers, where the modifier and its panel are " +
               std::to_string(kServersOfAModifier);
    });
    for (size_t i = 0; i < servers.size(); ++i)
        for (size_t j = i + 1; j < servers.size(); ++j)
            expect.that(!sameServer(servers[i], servers[j]), [&] {
                return "the server " + servers[i].className + " \"" + servers[i].serverName + "\" is listed twice";
            });
}

// Run only on a module with Kelto Focus's servers (check_runner.cpp).
void checkServesKeltoFocusAlone(CheckContext& context) {
    context.expect.that(context.module().findServer(HOST_CHANNEL_HANDLER_CLASS, kValidatedKelto.name) == nullptr,
                        [] { return "the module serves Kelto as well"; });
}

// The module is loaded and unloaded again, each time bound and used: one
// that starts only once per process, or leaves something behind that the
// next start trips over, fails. The module is not held meanwhile, so each
// unload is a real one.
void checkRepeatedLoads(CheckContext& context) {
    for (int cycle = 1; cycle <= kLoadCycles && loadsAndEvaluates(context, cycle); ++cycle) {}
}

// The module's own, the descriptor first: a module that does not load is
// reported there.
const CheckDefinition kModuleDefinitions[] = {
    {"descriptor", "descriptor and server table", CheckScope::Module, checkDescriptor},
    {"repeated-load", "repeated load and unload", CheckScope::ModuleFile, checkRepeatedLoads},
};

constexpr CheckTable kModuleChecks = checkTable(kModuleDefinitions);

}  // namespace sim
