// The modifier itself with one fault wrapped around it, chosen at compile
// time: a module that is whole but for that, so that the conformance check
// must find the fault among checks that pass.
#include <cstring>

#include "host/channel_handler.h"
#include "host/channel_interface.h"
#include "host/module_descriptor.h"
#include "host/panel_toolkit.h"
#include "module/handler_entry.h"
#include "module/instance_handle.h"
#include "module/interface_entry.h"

namespace {

#if defined(FAULT_EMPTY_CURRENT_RECORD)
// Takes the current version and fills nothing; the classic one as the modifier does.
int HOST_CALL activateHandler(int version, host::GlobalLookup lookup, void* record, void* serverData) {
    if (version == host::kCurrentClassVersion) return host::kActivationOk;
    return kelto::activateChannelHandler(version, lookup, record, serverData);
}
#elif defined(FAULT_RESOLVING_SETS_TWICE)
// Sets the channel a second time in the evaluation that resolves the names.
void(HOST_CALL* g_evaluate)(host::InstanceHandle, const host::ChannelAccess*) = nullptr;

void HOST_CALL evaluateTwiceWhenResolving(host::InstanceHandle instance, const host::ChannelAccess* access) {
    bool resolving = instance != nullptr && kelto::instanceOf(instance)->resolved == 0;
    g_evaluate(instance, access);
    if (resolving) access->setChannel(access->channel, access->value);
}

int HOST_CALL activateHandler(int version, host::GlobalLookup lookup, void* record, void* serverData) {
    int result = kelto::activateChannelHandler(version, lookup, record, serverData);
    if (result == host::kActivationOk && record != nullptr) {
        host::HandlerRecord& handler = *static_cast<host::HandlerRecord*>(record);
        g_evaluate = handler.evaluate;
        handler.evaluate = evaluateTwiceWhenResolving;
    }
    return result;
}
#elif defined(FAULT_SAVE_ERROR) || defined(FAULT_LOAD_ERROR)
// Saves or loads as the modifier does, then says it failed.
#if defined(FAULT_SAVE_ERROR)
typedef host::SaveState State;
const char kError[] = "the disk is full";
const char* (HOST_CALL* host::InstanceOperations::*const kOperation)(host::InstanceHandle, const State*) =
    &host::InstanceOperations::save;
#else
typedef host::LoadState State;
const char kError[] = "the block is unreadable";
const char* (HOST_CALL* host::InstanceOperations::*const kOperation)(host::InstanceHandle, const State*) =
    &host::InstanceOperations::load;
#endif
const char*(HOST_CALL* g_operation)(host::InstanceHandle, const State*) = nullptr;

const char* HOST_CALL operateAndFail(host::InstanceHandle instance, const State* state) {
    g_operation(instance, state);
    return kError;
}

int HOST_CALL activateHandler(int version, host::GlobalLookup lookup, void* record, void* serverData) {
    int result = kelto::activateChannelHandler(version, lookup, record, serverData);
    host::InstanceOperations* operations =
        record != nullptr ? static_cast<host::HandlerRecord*>(record)->instance : nullptr;
    if (result == host::kActivationOk && operations != nullptr) {
        g_operation = operations->*kOperation;
        operations->*kOperation = operateAndFail;
    }
    return result;
}
#endif

#if defined(FAULT_NO_ITEM_VALUE)
// The panel's get answers null for the item popup: the toolkit the module is
// handed passes every call on, but describes the values with a get of its own.
const uint32_t kItemControl = 0x8001;
host::GlobalLookup g_lookup = nullptr;
host::PanelToolkit g_toolkit;
host::PanelGetFunction g_get = nullptr;

void* HOST_CALL getNoItemValue(void* instance, uint32_t id) { return id == kItemControl ? nullptr : g_get(instance, id); }

void HOST_CALL describeWithOwnGet(host::PanelId panel, const host::PanelDataDescription* data,
                                  host::PanelGetFunction get, host::PanelSetFunction set) {
    g_get = get;
    static_cast<const host::PanelToolkit*>(g_lookup(HOST_PANEL_TOOLKIT_SERVICE, host::kGlobalUseMode))
        ->describe(panel, data, getNoItemValue, set);
}

void* HOST_CALL lookUpWrapped(const char* name, int useMode) {
    void* table = g_lookup(name, useMode);
    if (table == nullptr || std::strcmp(name, HOST_PANEL_TOOLKIT_SERVICE) != 0) return table;
    g_toolkit = *static_cast<const host::PanelToolkit*>(table);
    g_toolkit.describe = describeWithOwnGet;
    return &g_toolkit;
}

int HOST_CALL activateInterface(int version, host::GlobalLookup lookup, void* record, void* serverData) {
    g_lookup = lookup;
    return kelto::activateChannelInterface(version, lookUpWrapped, record, serverData);
}
#else
const host::ActivateFunction activateInterface = kelto::activateChannelInterface;
#endif

#if !defined(FAULT_EMPTY_CURRENT_RECORD) && !defined(FAULT_RESOLVING_SETS_TWICE) && !defined(FAULT_SAVE_ERROR) && \
    !defined(FAULT_LOAD_ERROR)
const host::ActivateFunction activateHandler = kelto::activateChannelHandler;
#endif

void* HOST_CALL startup() { return reinterpret_cast<void*>(&startup); }
void HOST_CALL shutdown(void*) {}

const host::ServerRecord kServers[] = {
    {HOST_CHANNEL_HANDLER_CLASS, "Kelto", activateHandler, nullptr},
    {HOST_CHANNEL_INTERFACE_CLASS, "Kelto", activateInterface, nullptr},
    {nullptr, nullptr, nullptr, nullptr},
};

}  // namespace

extern "C" __attribute__((visibility("default"))) const host::ModuleDescriptor _mod_descrip = {
    host::kModuleSyncWord, host::kPluginSystemVersion, host::kMachineCodeWindows, startup, shutdown, kServers,
};
