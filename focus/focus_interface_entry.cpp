#include "focus/focus_interface_entry.h"

#include "focus/focus_instance.h"
#include "focus/focus_panel.h"
#include "module/interface_activation.h"
#include "module/panel_shells.h"

namespace kelto {

namespace {

typedef PanelShells<FocusInstance, kFocusPanel, focusValue, setFocusValue> FocusPanel;

}  // namespace

int HOST_CALL activateFocusInterface(int version, host::GlobalLookup lookup, void* interfaceRecord, void*) {
    return activateInterface(version, lookup, interfaceRecord, FocusPanel::build);
}

}  // namespace kelto
