#include "module/interface_entry.h"

#include "channel/distance_instance.h"
#include "module/interface_activation.h"
#include "module/panel_shells.h"
#include "panel/reference_panel.h"

namespace kelto {

namespace {

typedef PanelShells<DistanceInstance, kReferencePanel, popupValue, setPopupValue> KeltoPanel;

}  // namespace

int HOST_CALL activateChannelInterface(int version, host::GlobalLookup lookup, void* interfaceRecord, void*) {
    return activateInterface(version, lookup, interfaceRecord, KeltoPanel::build);
}

}  // namespace kelto
