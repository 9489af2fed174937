// "LWXPanel" as the simulated host serves it: the C table whose functions
// reach the current session's panel model.
#include "simhost/services/host_session.h"
#include "simhost/services/service_tables.h"

namespace sim {

namespace {

PanelToolkitModel& toolkit(const char* function) {
    return HostSession::serving(HOST_PANEL_TOOLKIT_SERVICE, function).panels();
}

host::PanelId HOST_CALL create(int type, const host::PanelControl* controls) {
    return toolkit("create").createPanel(type, controls);
}
void HOST_CALL describe(host::PanelId panel, const host::PanelDataDescription* data, host::PanelGetFunction get,
                        host::PanelSetFunction set) {
    toolkit("describe").describeValues(panel, data, get, set);
}
void HOST_CALL hint(host::PanelId panel, uint32_t id, const host::PanelHintWord* hints) {
    toolkit("hint").applyHints(panel, id, hints);
}
void HOST_CALL userData(host::PanelId panel, uint32_t id, void* data) { toolkit("userData").setUserData(panel, id, data); }
void HOST_CALL viewInstance(host::PanelId panel, void* instance) { toolkit("viewInstance").setViewedInstance(panel, instance); }

template <int Slot>
void HOST_CALL unusedSlot() {
    std::string function = std::to_string(Slot);
    HostSession::serving(HOST_PANEL_TOOLKIT_SERVICE, function.c_str())
        .recordViolation(HOST_PANEL_TOOLKIT_SERVICE " function " + function + " was called");
}

const int kToolkitVersion = 1;

const host::PanelToolkit kToolkit = {
    kToolkitVersion,
    reinterpret_cast<const void*>(&unusedSlot<2>),
    create,
    reinterpret_cast<const void*>(&unusedSlot<4>),
    describe,
    hint,
    reinterpret_cast<const void*>(&unusedSlot<7>),
    userData,
    reinterpret_cast<const void*>(&unusedSlot<9>),
    reinterpret_cast<const void*>(&unusedSlot<10>),
    viewInstance,
};

}  // namespace

const host::PanelToolkit& panelToolkitTable() { return kToolkit; }

}  // namespace sim
