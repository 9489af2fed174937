// Module files that are broken in one way each, chosen at compile time, so
// that the loader's refusals can be seen.
#include <cstddef>
#include <cstdlib>

#include "host/channel_handler.h"
#include "host/item_info.h"
#include "host/module_descriptor.h"

namespace {

#if defined(FAULT_BAD_USED_ITEMS)
// useItems lists an ID no list hands out, then live IDs (the scene's first
// object) with no null within the host's limit.
const uintptr_t kUnknownId = 0x7FF1;
const size_t kListLength = 80;
host::ItemId g_used[kListLength];
const host::ItemInfoService* g_itemInfo = nullptr;

const host::ItemId* HOST_CALL useItems(host::InstanceHandle) {
    g_used[0] = reinterpret_cast<host::ItemId>(kUnknownId);
    for (size_t at = 1; at < kListLength; ++at) g_used[at] = g_itemInfo->first(host::kItemTypeObject, nullptr);
    return g_used;
}

int HOST_CALL activate(int, host::GlobalLookup lookup, void* record, void*) {
    g_itemInfo = static_cast<const host::ItemInfoService*>(lookup(HOST_ITEM_INFO_SERVICE, host::kGlobalUseMode));
    if (g_itemInfo == nullptr) return host::kActivationServiceMissing;
    host::HandlerRecord* handler = static_cast<host::HandlerRecord*>(record);
    if (handler != nullptr && handler->itemOperations != nullptr) handler->itemOperations->useItems = useItems;
    return host::kActivationOk;
}
#else
[[maybe_unused]] int HOST_CALL activate(int, host::GlobalLookup, void*, void*) { return host::kActivationOk; }
#endif
[[maybe_unused]] void* HOST_CALL startup() { return reinterpret_cast<void*>(&startup); }
[[maybe_unused]] void* HOST_CALL failedStartup() { return nullptr; }
void HOST_CALL shutdown(void*) {}

#if defined(FAULT_UNTERMINATED_SERVERS)
// Every row is a server, and nothing ends the table within the loader's limit.
struct EndlessTable {
    host::ServerRecord rows[300];
    EndlessTable() {
        for (host::ServerRecord& row : rows) row = {"ChannelHandler", "Endless", activate, nullptr};
    }
} g_endless;
const host::ServerRecord* const kServers = g_endless.rows;
#elif defined(FAULT_STRAY_SERVERS)
// The table pointer leads nowhere: a host that followed it would crash.
const uintptr_t kNowhere = 64;
const host::ServerRecord* const kServers = reinterpret_cast<const host::ServerRecord*>(kNowhere);
#elif defined(FAULT_STRAY_NAME)
// A row whose class name lies outside the module: in the C library's code.
const host::ServerRecord kServerRows[] = {
    {reinterpret_cast<const char*>(&std::abort), "Stray", activate, nullptr},
    {nullptr, nullptr, nullptr, nullptr},
};
const host::ServerRecord* const kServers = kServerRows;
#elif defined(FAULT_IMPOSTOR)
// Claims to be the modifier: both servers, every version taken, no record filled.
const host::ServerRecord kServerRows[] = {
    {"ChannelHandler", "Kelto", activate, nullptr},
    {"ChannelInterface", "Kelto", activate, nullptr},
    {nullptr, nullptr, nullptr, nullptr},
};
const host::ServerRecord* const kServers = kServerRows;
#elif defined(FAULT_TWO_HANDLERS)
// Two channel handlers: a host must be told which to run.
const host::ServerRecord kServerRows[] = {
    {"ChannelHandler", "Fault", activate, nullptr},
    {"ChannelInterface", "Fault", activate, nullptr},
    {"ChannelHandler", "Second Fault", activate, nullptr},
    {nullptr, nullptr, nullptr, nullptr},
};
const host::ServerRecord* const kServers = kServerRows;
#else
const host::ServerRecord kServerRows[] = {
    {"ChannelHandler", "Fault", activate, nullptr},
    {nullptr, nullptr, nullptr, nullptr},
};
const host::ServerRecord* const kServers = kServerRows;
#endif

#if defined(FAULT_WRONG_SYNC)
const uint32_t kSync = 0x19941204u;
#else
const uint32_t kSync = host::kModuleSyncWord;
#endif

#if defined(FAULT_WRONG_SYSTEM_VERSION)
const uint32_t kSystemVersion = 2;
#else
const uint32_t kSystemVersion = host::kPluginSystemVersion;
#endif

#if defined(FAULT_FAILING_STARTUP)
void*(HOST_CALL* const kStartup)() = failedStartup;
#else
void*(HOST_CALL* const kStartup)() = startup;
#endif

}  // namespace

#if defined(FAULT_NO_DESCRIPTOR)
extern "C" __attribute__((visibility("default"))) const host::ModuleDescriptor mod_descrip_misspelt = {
#else
extern "C" __attribute__((visibility("default"))) const host::ModuleDescriptor _mod_descrip = {
#endif
    kSync, kSystemVersion, host::kMachineCodeOfThisPlatform, kStartup, shutdown, kServers,
};
