// Faults of the options panel. The toolkit the interface is handed passes
// every call on to the host's, but for the function a fault changes.
#include <cstring>
#include <map>

#include "faulty_kelto.h"
#include "host/panel_toolkit.h"
#include "module/handler_entry.h"
#include "module/interface_entry.h"

namespace {

using fault::Entries;

host::GlobalLookup g_lookup = nullptr;
host::PanelToolkit g_hostToolkit;  // the host's, as it was handed over
host::PanelToolkit g_toolkit;      // the module's view of it
host::PanelGetFunction g_get = nullptr;
host::PanelSetFunction g_set = nullptr;

void changeToolkit(host::PanelToolkit& toolkit);

bool isToolkitName(const char* name) {
    for (const char* toolkit : {HOST_PANEL_TOOLKIT_SERVICE_3, HOST_PANEL_TOOLKIT_SERVICE_2, HOST_PANEL_TOOLKIT_SERVICE})
        if (std::strcmp(name, toolkit) == 0) return true;
    return false;
}

void* HOST_CALL lookUpWrapped(const char* name, int useMode) {
    void* table = g_lookup(name, useMode);
    if (table == nullptr || !isToolkitName(name)) return table;
    g_hostToolkit = g_toolkit = *static_cast<const host::PanelToolkit*>(table);
    changeToolkit(g_toolkit);
    return &g_toolkit;
}

int HOST_CALL activateInterface(int version, host::GlobalLookup lookup, void* record, void* serverData) {
    g_lookup = lookup;
    return fault::modifierInterface(version, fault::faultApplies(version) ? lookUpWrapped : lookup, record, serverData);
}

// The fault's own get or set, where it has one (each calls the module's, kept
// in g_get and g_set).
extern const host::PanelGetFunction kOwnGet;
extern const host::PanelSetFunction kOwnSet;

// Describes the values with the fault's own get and set.
[[maybe_unused]] void HOST_CALL describeWithOwn(host::PanelId panel, const host::PanelDataDescription* data,
                                                host::PanelGetFunction get, host::PanelSetFunction set) {
    g_get = get;
    g_set = set;
    g_hostToolkit.describe(panel, data, kOwnGet != nullptr ? kOwnGet : get, kOwnSet != nullptr ? kOwnSet : set);
}

#if defined(FAULT_NO_ITEM_VALUE)
// get answers null for the item popup.
const uint32_t kItemControl = 0x8001;

void* HOST_CALL getNoItemValue(void* instance, uint32_t id) {
    return id == kItemControl ? nullptr : g_get(instance, id);
}

const host::PanelGetFunction kOwnGet = getNoItemValue;
const host::PanelSetFunction kOwnSet = nullptr;
void changeToolkit(host::PanelToolkit& toolkit) { toolkit.describe = describeWithOwn; }
constexpr host::ActivateFunction kHandler = fault::modifierHandler;

#elif defined(FAULT_POPUP_CLASS)
// The camera popup is built as a control of another class.
const char kOtherClass[] = "iChoice";
host::PanelControl g_controls[8];

host::PanelId HOST_CALL createChanged(int type, const host::PanelControl* controls) {
    size_t rows = 0;
    for (; controls[rows].id != 0 && rows + 1 < sizeof g_controls / sizeof g_controls[0]; ++rows)
        g_controls[rows] = controls[rows];
    g_controls[rows] = host::PanelControl{0, nullptr, nullptr};
    if (rows > 1) g_controls[1].controlClass = kOtherClass;
    return g_hostToolkit.create(type, g_controls);
}

const host::PanelGetFunction kOwnGet = nullptr;
const host::PanelSetFunction kOwnSet = nullptr;
void changeToolkit(host::PanelToolkit& toolkit) { toolkit.create = createChanged; }
constexpr host::ActivateFunction kHandler = fault::modifierHandler;

#elif defined(FAULT_REFRESH_ALWAYS)
// set asks for a redraw whatever was picked.
int HOST_CALL setRefreshing(void* instance, uint32_t id, void* value) {
    g_set(instance, id, value);
    return host::kRefreshValues;
}

const host::PanelGetFunction kOwnGet = nullptr;
const host::PanelSetFunction kOwnSet = setRefreshing;
void changeToolkit(host::PanelToolkit& toolkit) { toolkit.describe = describeWithOwn; }
constexpr host::ActivateFunction kHandler = fault::modifierHandler;

#elif defined(FAULT_GET_LAGS_BEHIND_SET)
// A pick takes effect at once, but get shows it only after the next
// evaluation: until then it shows the choice before.
std::map<void*, std::map<uint32_t, int32_t> > g_pending;

int HOST_CALL setLagging(void* instance, uint32_t id, void* value) {
    int32_t* shown = static_cast<int32_t*>(g_get(instance, id));
    int32_t before = shown != nullptr ? *shown : 0;
    int refresh = g_set(instance, id, value);
    if (shown != nullptr) {
        g_pending[instance][id] = *shown;
        *shown = before;
    }
    return refresh;
}

void showPicks(host::InstanceHandle instance) {
    auto pending = g_pending.find(instance);
    if (pending == g_pending.end()) return;
    for (const auto& pick : pending->second)
        if (int32_t* shown = static_cast<int32_t*>(g_get(instance, pick.first))) *shown = pick.second;
    g_pending.erase(pending);
}

const host::PanelGetFunction kOwnGet = nullptr;
const host::PanelSetFunction kOwnSet = setLagging;
void changeToolkit(host::PanelToolkit& toolkit) { toolkit.describe = describeWithOwn; }

void change(int version, void* record) { fault::wrapEvaluate<showPicks, nullptr>(version, record); }
constexpr host::ActivateFunction kHandler = fault::activateChanged<change>;

#elif defined(FAULT_NONE_PICK_KEEPS_ITEM)
// A pick of "(none)" is answered as one but changes nothing: the item picked
// before is still shown, used and measured.
const int32_t kNoneEntry = 0;

int HOST_CALL setIgnoringNone(void* instance, uint32_t id, void* value) {
    if (*static_cast<const int32_t*>(value) == kNoneEntry) return host::kRefreshValues;
    return g_set(instance, id, value);
}

const host::PanelGetFunction kOwnGet = nullptr;
const host::PanelSetFunction kOwnSet = setIgnoringNone;
void changeToolkit(host::PanelToolkit& toolkit) { toolkit.describe = describeWithOwn; }
constexpr host::ActivateFunction kHandler = fault::modifierHandler;

#elif defined(FAULT_PANEL_TITLE)
// The panel is titled with the modifier's name, not with the title the
// README gives it.
const char kOtherTitle[] = "Kelto";

void HOST_CALL hintRetitled(host::PanelId panel, uint32_t id, const host::PanelHintWord* hints) {
    g_hostToolkit.hint(panel, id, hints);
    const host::PanelHintWord title[] = {host::kHintLabel, host::kPanelControlId,
                                         reinterpret_cast<host::PanelHintWord>(kOtherTitle), host::kHintEnd,
                                         host::kHintEnd};
    g_hostToolkit.hint(panel, host::kPanelControlId, title);
}

const host::PanelGetFunction kOwnGet = nullptr;
const host::PanelSetFunction kOwnSet = nullptr;
void changeToolkit(host::PanelToolkit& toolkit) { toolkit.hint = hintRetitled; }
constexpr host::ActivateFunction kHandler = fault::modifierHandler;

#elif defined(FAULT_FOCUS_NEGATIVE_LAG_KEPT)
// Kelto Focus's panel takes a negative lag as its size.
const uint32_t kLagControl = 0x8006;

int HOST_CALL setLagSize(void* instance, uint32_t id, void* value) {
    double size = 0;
    if (id == kLagControl && *static_cast<const double*>(value) < 0) {
        size = -*static_cast<const double*>(value);
        value = &size;
    }
    return g_set(instance, id, value);
}

const host::PanelGetFunction kOwnGet = nullptr;
const host::PanelSetFunction kOwnSet = setLagSize;
void changeToolkit(host::PanelToolkit& toolkit) { toolkit.describe = describeWithOwn; }
constexpr host::ActivateFunction kHandler = fault::modifierHandler;

#else
#error "panel_faults.cpp: no fault of this file is chosen"
#endif

}  // namespace

const fault::Entries fault::kEntries = {kHandler, activateInterface, fault::startup, fault::shutdown};

// What each fails; around Kelto Focus its own checks too, where they look at
// the same thing.
#if defined(FAULT_NO_ITEM_VALUE)
// get gives nothing for the item popup: every check that reads the panel's
// choices.
FAULT_FAILS("classic/panel classic/picks classic/renumbering classic/renames")
#elif defined(FAULT_NONE_PICK_KEEPS_ITEM)
// The item before is still used: useItems lists it after "(none)".
FAULT_FAILS("classic/picks classic/used-items")
#elif defined(FAULT_POPUP_CLASS) || defined(FAULT_PANEL_TITLE)
FAULT_FAILS("classic/panel")
#elif defined(FAULT_REFRESH_ALWAYS) && defined(FAULTY_KELTO_FOCUS)
// A redraw asked for after every value, a valid setting's too.
FAULT_FAILS("classic/refresh classic/panel-settings")
#elif defined(FAULT_REFRESH_ALWAYS)
FAULT_FAILS("classic/refresh")
#elif defined(FAULT_GET_LAGS_BEHIND_SET) && defined(FAULTY_KELTO_FOCUS)
// Every value shown as it was before the last set: the settings too, and the
// measure the description names.
FAULT_FAILS("classic/picks classic/panel-settings classic/description-measure")
#elif defined(FAULT_GET_LAGS_BEHIND_SET)
FAULT_FAILS("classic/picks")
#elif defined(FAULT_FOCUS_NEGATIVE_LAG_KEPT)
FAULT_FAILS("classic/panel-settings")
#endif
