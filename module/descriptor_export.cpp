// The one symbol the host reads from the module file: the descriptor, the
// server table it points to, and the start-up and shut-down pair.
#include "host/channel_handler.h"
#include "host/channel_interface.h"
#include "host/module_descriptor.h"
#include "module/handler_entry.h"
#include "module/interface_entry.h"

#if defined(_WIN32)
#define KELTO_EXPORT __attribute__((used))
#else
#define KELTO_EXPORT __attribute__((visibility("default")))
#endif

namespace {

const char kServerName[] = "Kelto";

// A non-null start-up value tells the host that start-up succeeded.
const uintptr_t kStartupValue = 4;

void* HOST_CALL startup() { return reinterpret_cast<void*>(kStartupValue); }

void HOST_CALL shutdown(void*) {}

const host::ServerRecord kServers[] = {
    {HOST_CHANNEL_HANDLER_CLASS, kServerName, kelto::activateChannelHandler, nullptr},
    {HOST_CHANNEL_INTERFACE_CLASS, kServerName, kelto::activateChannelInterface, nullptr},
    {nullptr, nullptr, nullptr, nullptr},
};

}  // namespace

// Every build carries the Windows machine code. The Windows host reads it.
// The native Linux module exists for the simulated host: its loader reads
// the other words and leaves the machine code alone, but its conformance
// check (`kelto-host validate`) wants a host platform's, so the native build
// carries the Windows one too and both builds show the same descriptor.
extern "C" KELTO_EXPORT const host::ModuleDescriptor _mod_descrip = {
    host::kModuleSyncWord, host::kPluginSystemVersion, host::kMachineCodeWindows,
    startup,               shutdown,                   kServers,
};
