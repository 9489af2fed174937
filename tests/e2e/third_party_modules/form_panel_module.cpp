// A channel modifier as a third party would write it against the host's panel
// toolkit, sharing nothing with Kelto: "Step Scale" sets the channel to a
// factor picked from a popup plus an offset typed in a field, at most a limit
// that a checkbox turns on, and with it the limit's field. Its panel is a
// form: the toolkit keeps the values, the module sets them with formSet, hears
// of the user's changes through a change notification and reads them back
// with formGet. Its popup reads its entries from the user data given for the
// popup's own control, and the notification finds the instance through the
// panel's. One hint is of a kind the toolkit draws nothing for (a divider).
#include <cstdint>

#include "host/channel_handler.h"
#include "host/channel_interface.h"
#include "host/module_descriptor.h"
#include "host/panel_toolkit.h"

namespace {

const char kServerName[] = "Step Scale";
const char kPanelTitle[] = "Step Scale";
const uint32_t kFactorControl = host::kFirstModuleControlId + 1;
const uint32_t kOffsetControl = host::kFirstModuleControlId + 2;
const uint32_t kUseLimitControl = host::kFirstModuleControlId + 3;
const uint32_t kLimitControl = host::kFirstModuleControlId + 4;
const char kLimitUnused[] = "the limit holds only while it is used";

struct Factor {
    const char* name;
    double value;
};
struct FactorTable {
    int count;
    const Factor* factors;
};
const Factor kFactors[] = {{"Half", 0.5}, {"Double", 2.0}, {"Triple", 3.0}};
const FactorTable kFactorTable = {sizeof kFactors / sizeof kFactors[0], kFactors};

struct StepScale {
    int32_t factor = 0;
    double offset = 0.0;
    int32_t useLimit = 0;
    double limit = 10.0;
};
StepScale g_instance;
const host::PanelToolkit* g_toolkit = nullptr;

// The popup's functions know only what the toolkit hands them.
int HOST_CALL factorCount(void* data) { return data != nullptr ? static_cast<const FactorTable*>(data)->count : 0; }
const char* HOST_CALL factorName(void* data, int index) {
    const FactorTable* table = static_cast<const FactorTable*>(data);
    return table != nullptr && index >= 0 && index < table->count ? table->factors[index].name : "";
}

int HOST_CALL changed(host::PanelId panel, uint32_t, uint32_t value, int event) {
    StepScale* instance = static_cast<StepScale*>(g_toolkit->getData(panel, host::kPanelControlId));
    if (instance == nullptr || event != host::kPanelEventValue) return host::kRefreshNone;
    void* kept = g_toolkit->formGet(panel, value);
    if (kept == nullptr) return host::kRefreshNone;
    if (value == kFactorControl) instance->factor = *static_cast<const int32_t*>(kept);
    if (value == kOffsetControl) instance->offset = *static_cast<const double*>(kept);
    if (value == kUseLimitControl) instance->useLimit = *static_cast<const int32_t*>(kept);
    if (value == kLimitControl) instance->limit = *static_cast<const double*>(kept);
    return host::kRefreshNone;
}

const host::PanelControl kControls[] = {
    {kFactorControl, "Factor", HOST_PANEL_CLASS_POPUP_CHOICE},
    {kOffsetControl, "Offset", HOST_PANEL_CLASS_FLOAT},
    {kUseLimitControl, "Use limit", HOST_PANEL_CLASS_BOOLEAN},
    {kLimitControl, "Limit", HOST_PANEL_CLASS_FLOAT},
    {0, nullptr, nullptr},
};
const host::PanelDataDescription kData[] = {
    {kFactorControl, "Factor", HOST_PANEL_TYPE_INTEGER},
    {kOffsetControl, "Offset", HOST_PANEL_TYPE_FLOAT},
    {kUseLimitControl, "Use limit", HOST_PANEL_TYPE_INTEGER},
    {kLimitControl, "Limit", HOST_PANEL_TYPE_FLOAT},
    {0, nullptr, nullptr},
};
const host::PanelHintWord kHints[] = {
    host::kHintLabel,
    host::kPanelControlId,
    reinterpret_cast<host::PanelHintWord>(kPanelTitle),
    host::kHintEnd,
    host::kHintPopupFuncs,
    kFactorControl,
    reinterpret_cast<host::PanelHintWord>(&factorCount),
    reinterpret_cast<host::PanelHintWord>(&factorName),
    host::kHintChangeNotify,
    reinterpret_cast<host::PanelHintWord>(&changed),
    host::kHintDividerAdd,
    kFactorControl,
    host::kHintEnd,
    host::kHintEnable,
    kUseLimitControl,
    reinterpret_cast<host::PanelHintWord>(kLimitUnused),
    0,
    0,
    kLimitControl,
    host::kHintEnd,
    host::kHintEnd,
};

host::InstanceHandle HOST_CALL create(void*, void*, const char**) { return &g_instance; }
void HOST_CALL destroy(host::InstanceHandle) {}
const char* HOST_CALL copy(host::InstanceHandle, host::InstanceHandle) { return nullptr; }
const char* HOST_CALL load(host::InstanceHandle, const host::LoadState*) { return nullptr; }
const char* HOST_CALL save(host::InstanceHandle, const host::SaveState*) { return nullptr; }
const char* HOST_CALL describe(host::InstanceHandle) { return "factor and offset"; }
uint32_t HOST_CALL flags(host::InstanceHandle) { return host::kHandlerFlagsNone; }

void HOST_CALL evaluate(host::InstanceHandle instance, const host::ChannelAccess* access) {
    const StepScale& scale = *static_cast<const StepScale*>(instance);
    double factor = scale.factor >= 0 && scale.factor < kFactorTable.count ? kFactors[scale.factor].value : 1.0;
    double value = factor + scale.offset;
    access->setChannel(access->channel, scale.useLimit != 0 && value > scale.limit ? scale.limit : value);
}

int HOST_CALL activateHandler(int version, host::GlobalLookup, void* local, void*) {
    if (version != host::kClassicClassVersion) return host::kActivationBadVersion;
    host::HandlerRecord* record = static_cast<host::HandlerRecord*>(local);
    *record->instance = {record->instance->hostData, create, destroy, copy, load, save, describe};
    record->evaluate = evaluate;
    record->flags = flags;
    return host::kActivationOk;
}

int HOST_CALL activateInterface(int version, host::GlobalLookup lookup, void* local, void*) {
    if (version != host::kClassicClassVersion) return host::kActivationBadVersion;
    g_toolkit = static_cast<const host::PanelToolkit*>(lookup(HOST_PANEL_TOOLKIT_SERVICE, host::kGlobalUseMode));
    if (g_toolkit == nullptr) return host::kActivationServiceMissing;
    host::InterfaceRecord* record = static_cast<host::InterfaceRecord*>(local);
    StepScale* instance = static_cast<StepScale*>(record->instance);
    host::PanelId panel = g_toolkit->create(host::kPanelTypeForm, kControls);
    if (panel == nullptr) return host::kActivationServiceMissing;
    g_toolkit->describe(panel, kData, nullptr, nullptr);
    g_toolkit->hint(panel, host::kPanelControlId, kHints);
    g_toolkit->setData(panel, host::kPanelControlId, instance);
    g_toolkit->setData(panel, kFactorControl, const_cast<FactorTable*>(&kFactorTable));
    g_toolkit->formSet(panel, kFactorControl, &instance->factor);
    g_toolkit->formSet(panel, kOffsetControl, &instance->offset);
    g_toolkit->formSet(panel, kUseLimitControl, &instance->useLimit);
    g_toolkit->formSet(panel, kLimitControl, &instance->limit);
    record->panel = panel;
    record->options = nullptr;
    record->command = nullptr;
    return host::kActivationOk;
}

void* HOST_CALL startup() { return &g_instance; }
void HOST_CALL shutdown(void*) {}

const host::ServerRecord kServers[] = {
    {HOST_CHANNEL_HANDLER_CLASS, kServerName, activateHandler, nullptr},
    {HOST_CHANNEL_INTERFACE_CLASS, kServerName, activateInterface, nullptr},
    {nullptr, nullptr, nullptr, nullptr},
};

}  // namespace

extern "C" __attribute__((visibility("default"))) const host::ModuleDescriptor _mod_descrip = {
    host::kModuleSyncWord, host::kPluginSystemVersion, host::kMachineCodeOfThisPlatform, startup, shutdown, kServers,
};
