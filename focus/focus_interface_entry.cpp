#include "focus/focus_interface_entry.h"

#include "focus/focus_panel.h"
#include "focus/focus_settings.h"
#include "module/instance_handle.h"
#include "module/interface_activation.h"
#include "module/popup_functions.h"

namespace kelto {

namespace {

void* HOST_CALL panelGet(void* instance, uint32_t control) {
    return instance != nullptr ? focusValue(*instanceAs<FocusInstance>(instance), control) : nullptr;
}

int HOST_CALL panelSet(void* instance, uint32_t control, void* value) {
    if (instance == nullptr || value == nullptr) return host::kRefreshNone;
    return setFocusValue(*instanceAs<FocusInstance>(instance), control, value);
}

// The panel's text; each reference popup's entries from its list, as in
// Kelto's panel; the measure's entries from its static list; then the word
// that closes the list.
const host::PanelHintWord kHints[] = {
    host::kHintLabel,
    host::kPanelControlId,
    hintWord(kFocusPanelTitle),
    kNoHintWord,
    host::kHintPopupFuncs,
    kReferenceItemControl,
    hintWord(&popupCount<ItemList::Objects>),
    hintWord(&popupName<ItemList::Objects>),
    host::kHintPopupFuncs,
    kReferenceCameraControl,
    hintWord(&popupCount<ItemList::Cameras>),
    hintWord(&popupName<ItemList::Cameras>),
    host::kHintStringList,
    kMeasureControl,
    hintWord(kMeasureNames),
    kNoHintWord,
    kNoHintWord,
};

const PanelCallbacks kCallbacks = {kHints, panelGet, panelSet};

host::PanelId buildFocusPanelFor(const host::PanelToolkit& toolkit, host::InstanceHandle instance) {
    return buildFocusPanel(toolkit, kCallbacks, *instanceAs<FocusInstance>(instance));
}

}  // namespace

int HOST_CALL activateFocusInterface(int version, host::GlobalLookup lookup, void* interfaceRecord, void*) {
    return activateInterface(version, lookup, interfaceRecord, buildFocusPanelFor);
}

}  // namespace kelto
