// A module that serves a run as far as evaluate and then, at one frame,
// does not come back: it crashes (CRASH_IN_EVALUATE), never returns
// (HANG_IN_EVALUATE), or ends the process (EXIT_IN_EVALUATE,
// QUICK_EXIT_IN_EVALUATE). For the run's one line about a call into the
// module that did not end. Or one that breaks the run otherwise, for the line
// that names what it did: it crashes in create (CRASH_IN_CREATE), its
// interface activation returns a result the host does not know
// (INTERFACE_UNKNOWN_RESULT), at that frame it writes into the name item info
// hands it (WRITES_INTO_NAME) or past its end (WRITES_PAST_NAME), or there it
// calls the host from a thread of its own, joined before it returns: the
// channel's setChannel (SETS_CHANNEL_FROM_THREAD) or item info
// (ASKS_ITEM_INFO_FROM_THREAD).
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <thread>

#include "host/channel_handler.h"
#include "host/channel_interface.h"
#include "host/item_info.h"
#include "host/module_descriptor.h"

namespace {

const int kFaultFrame = 3;
// An address in the first page, which no process maps; not null, which a
// sanitizer would report before the crash.
const uintptr_t kUnmappedAddress = 16;

// Past the end of a name, far enough to reach another allocation of the host's.
[[maybe_unused]] const size_t kBytesPastName = 600;
[[maybe_unused]] const int kUnknownResult = -1;
// What the module ends the process with: a status a run would take for success.
[[maybe_unused]] const int kExitStatus = 0;
[[maybe_unused]] const double kValueFromThread = 1;

int g_instance;
const host::ItemInfoService* g_itemInfo = nullptr;

[[maybe_unused]] void crash() {
    volatile uintptr_t nowhere = kUnmappedAddress;
    *reinterpret_cast<volatile int*>(nowhere) = 1;
}

host::InstanceHandle HOST_CALL create(void*, void*, const char**) {
#if defined(CRASH_IN_CREATE)
    crash();
#endif
    return &g_instance;
}
void HOST_CALL destroy(host::InstanceHandle) {}
const char* HOST_CALL copy(host::InstanceHandle, host::InstanceHandle) { return nullptr; }
const char* HOST_CALL load(host::InstanceHandle, const host::LoadState*) { return nullptr; }
const char* HOST_CALL save(host::InstanceHandle, const host::SaveState*) { return nullptr; }
const char* HOST_CALL describe(host::InstanceHandle) { return "does not come back from frame 3"; }
uint32_t HOST_CALL flags(host::InstanceHandle) { return host::kHandlerFlagsNone; }

void HOST_CALL evaluate(host::InstanceHandle, const host::ChannelAccess* access) {
    if (access->frame != kFaultFrame) return;
#if defined(CRASH_IN_EVALUATE)
    crash();
#elif defined(HANG_IN_EVALUATE)
    for (;;) std::this_thread::sleep_for(std::chrono::hours(1));
#elif defined(WRITES_INTO_NAME) || defined(WRITES_PAST_NAME)
    host::ItemId first = g_itemInfo->first(host::kItemTypeObject, nullptr);
    char* name = first != nullptr ? const_cast<char*>(g_itemInfo->name(first)) : nullptr;
    if (name == nullptr) return;
#if defined(WRITES_INTO_NAME)
    name[0] = '#';
#else
    std::memset(name + std::strlen(name), '#', kBytesPastName);
#endif
#elif defined(EXIT_IN_EVALUATE)
    std::exit(kExitStatus);
#elif defined(QUICK_EXIT_IN_EVALUATE)
    std::quick_exit(kExitStatus);
#elif defined(SETS_CHANNEL_FROM_THREAD)
    std::thread([access] { access->setChannel(access->channel, kValueFromThread); }).join();
#elif defined(ASKS_ITEM_INFO_FROM_THREAD)
    std::thread([] {
        host::ItemId first = g_itemInfo->first(host::kItemTypeObject, nullptr);
        g_itemInfo->name(first);
    }).join();
#endif
}

int HOST_CALL activateHandler(int version, host::GlobalLookup lookup, void* local, void*) {
    if (version != host::kClassicClassVersion) return host::kActivationBadVersion;
    g_itemInfo = static_cast<const host::ItemInfoService*>(lookup(HOST_ITEM_INFO_SERVICE, host::kGlobalUseMode));
    if (g_itemInfo == nullptr) return host::kActivationServiceMissing;
    host::HandlerRecord* record = static_cast<host::HandlerRecord*>(local);
    *record->instance = {record->instance->hostData, create, destroy, copy, load, save, describe};
    record->evaluate = evaluate;
    record->flags = flags;
    return host::kActivationOk;
}

// No panel: the run goes on without one.
int HOST_CALL activateInterface(int, host::GlobalLookup, void*, void*) {
#if defined(INTERFACE_UNKNOWN_RESULT)
    return kUnknownResult;
#else
    return host::kActivationOk;
#endif
}

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
