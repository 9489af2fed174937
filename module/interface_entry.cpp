#include "module/interface_entry.h"

#include "module/instance_handle.h"
#include "module/interface_activation.h"
#include "module/popup_functions.h"
#include "panel/reference_panel.h"

namespace kelto {

namespace {

void* HOST_CALL panelGet(void* instance, uint32_t control) {
    return instance != nullptr ? referenceValue(*instanceOf(instance), control) : nullptr;
}

int HOST_CALL panelSet(void* instance, uint32_t control, void* value) {
    if (instance == nullptr || value == nullptr) return host::kRefreshNone;
    return setReferenceValue(*instanceOf(instance), control, *static_cast<const int32_t*>(value));
}

// The panel's text; each popup's entries from its list; an enable hint on the
// item popup's value that names no control, so it enables nothing; then the
// word that ends its list of controls and the one that ends the hint list.
const host::PanelHintWord kHints[] = {
    host::kHintLabel,
    host::kPanelControlId,
    hintWord(kReferencePanelTitle),
    kNoHintWord,
    host::kHintPopupFuncs,
    kReferenceItemControl,
    hintWord(&popupCount<ItemList::Objects>),
    hintWord(&popupName<ItemList::Objects>),
    host::kHintPopupFuncs,
    kReferenceCameraControl,
    hintWord(&popupCount<ItemList::Cameras>),
    hintWord(&popupName<ItemList::Cameras>),
    host::kHintEnable,
    kReferenceItemControl,
    kNoHintWord,
    kNoHintWord,
    kNoHintWord,
    kNoHintWord,
    kNoHintWord,
};

const PanelCallbacks kCallbacks = {kHints, panelGet, panelSet};

host::PanelId buildKeltoPanel(const host::PanelToolkit& toolkit, host::InstanceHandle instance) {
    return buildReferencePanel(toolkit, kCallbacks, *instanceOf(instance));
}

}  // namespace

int HOST_CALL activateChannelInterface(int version, host::GlobalLookup lookup, void* interfaceRecord, void*) {
    return activateInterface(version, lookup, interfaceRecord, buildKeltoPanel);
}

}  // namespace kelto
