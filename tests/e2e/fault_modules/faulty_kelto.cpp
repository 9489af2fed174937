// The frame of every faulty modifier: its descriptor and server table, over
// the entries its fault chose.
#include "faulty_kelto.h"

#include "focus/focus_handler_entry.h"
#include "focus/focus_interface_entry.h"
#include "host/channel_interface.h"
#include "module/handler_entry.h"
#include "module/interface_entry.h"

namespace {

#if defined(FAULTY_KELTO_FOCUS)
const char kServerName[] = "Kelto Focus";
constexpr host::ActivateFunction kHandler = kelto::activateFocusHandler;
constexpr host::ActivateFunction kInterface = kelto::activateFocusInterface;
#else
const char kServerName[] = "Kelto";
constexpr host::ActivateFunction kHandler = kelto::activateChannelHandler;
constexpr host::ActivateFunction kInterface = kelto::activateChannelInterface;
#endif

}  // namespace

namespace fault {

void* HOST_CALL startup() { return reinterpret_cast<void*>(&startup); }
void HOST_CALL shutdown(void*) {}

int HOST_CALL modifierHandler(int version, host::GlobalLookup lookup, void* record, void* serverData) {
    return kHandler(version, lookup, record, serverData);
}

int HOST_CALL modifierInterface(int version, host::GlobalLookup lookup, void* record, void* serverData) {
    return kInterface(version, lookup, record, serverData);
}

bool modifierActivated(int version, host::GlobalLookup lookup, void* record, void* serverData, int& result) {
    result = kHandler(version, lookup, record, serverData);
    return result == host::kActivationOk && record != nullptr;
}

}  // namespace fault

namespace {

const host::ServerRecord kServers[] = {
    {HOST_CHANNEL_HANDLER_CLASS, kServerName, fault::kEntries.handler, nullptr},
    {HOST_CHANNEL_INTERFACE_CLASS, kServerName, fault::kEntries.interface, nullptr},
#if defined(FAULT_THIRD_SERVER)
    // A third plug-in in the file, where the README promises the modifier and its panel.
    {"ChannelGizmo", kServerName, fault::kEntries.interface, nullptr},
#endif
    {nullptr, nullptr, nullptr, nullptr},
};

#if defined(FAULT_FOREIGN_MACHINE_CODE)
// Windows' on any other platform, Linux's on Windows.
const uint32_t kMachineCode =
    host::kMachineCodeOfThisPlatform == host::kMachineCodeWindows ? host::kMachineCodeLinux : host::kMachineCodeWindows;
#else
const uint32_t kMachineCode = host::kMachineCodeOfThisPlatform;
#endif

}  // namespace

extern "C" __attribute__((visibility("default"))) const host::ModuleDescriptor _mod_descrip = {
    host::kModuleSyncWord,   host::kPluginSystemVersion, kMachineCode,
    fault::kEntries.startup, fault::kEntries.shutdown,   kServers,
};
