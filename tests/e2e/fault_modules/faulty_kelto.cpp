// The frame of every faulty modifier: its descriptor and server table, over
// the entries its fault chose.
#include "faulty_kelto.h"

#include "host/channel_interface.h"
#include "module/handler_entry.h"

namespace fault {

void* HOST_CALL startup() { return reinterpret_cast<void*>(&startup); }
void HOST_CALL shutdown(void*) {}

bool modifierActivated(int version, host::GlobalLookup lookup, void* record, void* serverData, int& result) {
    result = kelto::activateChannelHandler(version, lookup, record, serverData);
    return result == host::kActivationOk && record != nullptr;
}

}  // namespace fault

namespace {

const host::ServerRecord kServers[] = {
    {HOST_CHANNEL_HANDLER_CLASS, "Kelto", fault::kEntries.handler, nullptr},
    {HOST_CHANNEL_INTERFACE_CLASS, "Kelto", fault::kEntries.interface, nullptr},
    {nullptr, nullptr, nullptr, nullptr},
};

}  // namespace

extern "C" __attribute__((visibility("default"))) const host::ModuleDescriptor _mod_descrip = {
    host::kModuleSyncWord, host::kPluginSystemVersion, host::kMachineCodeWindows,
    fault::kEntries.startup, fault::kEntries.shutdown, kServers,
};
