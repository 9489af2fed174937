// A module that serves a run as far as evaluate and then, at one frame,
// does not come back: it crashes (CRASH_IN_EVALUATE) or never returns
// (HANG_IN_EVALUATE). For the run's one line about a call into the module
// that did not end.
#include <chrono>
#include <cstdint>
#include <thread>

#include "host/channel_handler.h"
#include "host/channel_interface.h"
#include "host/module_descriptor.h"

namespace {

const int kFaultFrame = 3;
// An address in the first page, which no process maps; not null, which a
// sanitizer would report before the crash.
const uintptr_t kUnmappedAddress = 16;

int g_instance;

host::InstanceHandle HOST_CALL create(void*, void*, const char**) { return &g_instance; }
void HOST_CALL destroy(host::InstanceHandle) {}
const char* HOST_CALL copy(host::InstanceHandle, host::InstanceHandle) { return nullptr; }
const char* HOST_CALL load(host::InstanceHandle, const host::LoadState*) { return nullptr; }
const char* HOST_CALL save(host::InstanceHandle, const host::SaveState*) { return nullptr; }
const char* HOST_CALL describe(host::InstanceHandle) { return "does not come back from frame 3"; }
uint32_t HOST_CALL flags(host::InstanceHandle) { return host::kHandlerFlagsNone; }

void HOST_CALL evaluate(host::InstanceHandle, const host::ChannelAccess* access) {
    if (access->frame != kFaultFrame) return;
#if defined(CRASH_IN_EVALUATE)
    volatile uintptr_t nowhere = kUnmappedAddress;
    *reinterpret_cast<volatile int*>(nowhere) = 1;
#elif defined(HANG_IN_EVALUATE)
    for (;;) std::this_thread::sleep_for(std::chrono::hours(1));
#endif
}

int HOST_CALL activateHandler(int version, host::GlobalLookup, void* local, void*) {
    if (version != host::kClassicClassVersion) return host::kActivationBadVersion;
    host::HandlerRecord* record = static_cast<host::HandlerRecord*>(local);
    *record->instance = {record->instance->hostData, create, destroy, copy, load, save, describe};
    record->evaluate = evaluate;
    record->flags = flags;
    return host::kActivationOk;
}

// No panel: the run goes on without one.
int HOST_CALL activateInterface(int, host::GlobalLookup, void*, void*) { return host::kActivationOk; }

void* HOST_CALL startup() { return &g_instance; }
void HOST_CALL shutdown(void*) {}

const host::ServerRecord kServers[] = {
    {HOST_CHANNEL_HANDLER_CLASS, "Kelto", activateHandler, nullptr},
    {HOST_CHANNEL_INTERFACE_CLASS, "Kelto", activateInterface, nullptr},
    {nullptr, nullptr, nullptr, nullptr},
};

}  // namespace

extern "C" __attribute__((visibility("default"))) const host::ModuleDescriptor _mod_descrip = {
    host::kModuleSyncWord, host::kPluginSystemVersion, host::kMachineCodeOfThisPlatform, startup, shutdown, kServers,
};
