#include "panel/reference_panel.h"

#include "channel/item_list.h"

namespace kelto {

namespace {

const char kItemLabel[] = "Reference Item";
const char kCameraLabel[] = "Reference Camera";
const char kPopupClass[] = "iPopChoice";
const char kIntegerType[] = "integer";
const char kPanelTitle[] = "Zivov Udiruvu";

const host::PanelControl kControls[] = {
    {kReferenceItemControl, kItemLabel, kPopupClass},
    {kReferenceCameraControl, kCameraLabel, kPopupClass},
    {0, nullptr, nullptr},
};

const host::PanelDataDescription kData[] = {
    {kReferenceItemControl, kItemLabel, kIntegerType},
    {kReferenceCameraControl, kCameraLabel, kIntegerType},
    {0, nullptr, nullptr},
};

DistanceInstance* asInstance(void* instance) { return static_cast<DistanceInstance*>(instance); }

// The popups' entry functions; the toolkit's user data is not needed, since
// every walk goes to the host afresh.
template <ItemList List>
int HOST_CALL popupCount(void*) {
    return choiceCount(List);
}

template <ItemList List>
const char* HOST_CALL popupName(void*, int index) {
    return choiceName(List, index);
}

void* HOST_CALL panelGet(void* instance, uint32_t control) { return referenceValue(asInstance(instance), control); }

int HOST_CALL panelSet(void* instance, uint32_t control, void* value) {
    return setReferenceValue(asInstance(instance), control, static_cast<const int32_t*>(value));
}

template <typename Function>
host::PanelHintWord word(Function function) {
    return reinterpret_cast<host::PanelHintWord>(function);
}

const host::PanelHintWord kNoWord = 0;

const host::PanelHintWord kHints[] = {
    host::kHintLabel, host::kPanelControlId, reinterpret_cast<host::PanelHintWord>(kPanelTitle), kNoWord,
    host::kHintPopupFuncs, kReferenceItemControl, word(&popupCount<ItemList::Objects>),
    word(&popupName<ItemList::Objects>),
    host::kHintPopupFuncs, kReferenceCameraControl, word(&popupCount<ItemList::Cameras>),
    word(&popupName<ItemList::Cameras>),
    host::kHintPopupOption, kReferenceItemControl, kNoWord, kNoWord, kNoWord, kNoWord, kNoWord,
};

int setChoice(ItemList list, int32_t value, int32_t& choice, host::ItemId& item) {
    choice = value;
    if (value == kNoChoice) {
        item = nullptr;
        return host::kRefreshValues;
    }
    item = itemAtChoice(list, value);
    return host::kRefreshNone;
}

bool hasEveryFunction(const host::PanelToolkit& toolkit) {
    return toolkit.create != nullptr && toolkit.describe != nullptr && toolkit.hint != nullptr &&
           toolkit.userData != nullptr && toolkit.viewInstance != nullptr;
}

}  // namespace

const host::PanelControl* referencePanelControls() { return kControls; }
const host::PanelDataDescription* referencePanelData() { return kData; }
const host::PanelHintWord* referencePanelHints() { return kHints; }

host::PanelId buildReferencePanel(host::GlobalLookup lookup, DistanceInstance* instance) {
    if (lookup == nullptr) return nullptr;
    const host::PanelToolkit* toolkit =
        static_cast<const host::PanelToolkit*>(lookup(HOST_PANEL_TOOLKIT_SERVICE, host::kGlobalUseMode));
    if (toolkit == nullptr || !hasEveryFunction(*toolkit)) return nullptr;
    host::PanelId panel = toolkit->create(host::kPanelTypeViewer, kControls);
    if (panel == nullptr) return nullptr;
    toolkit->hint(panel, host::kPanelControlId, kHints);
    toolkit->describe(panel, kData, panelGet, panelSet);
    toolkit->viewInstance(panel, instance);
    toolkit->userData(panel, host::kPanelControlId, instance);
    return panel;
}

int32_t* referenceValue(DistanceInstance* instance, uint32_t control) {
    if (instance == nullptr) return nullptr;
    if (control == kReferenceItemControl) return &instance->itemChoice;
    if (control == kReferenceCameraControl) return &instance->cameraChoice;
    return nullptr;
}

int setReferenceValue(DistanceInstance* instance, uint32_t control, const int32_t* value) {
    if (instance == nullptr || value == nullptr) return host::kRefreshNone;
    if (control == kReferenceItemControl)
        return setChoice(ItemList::Objects, *value, instance->itemChoice, instance->itemId);
    if (control == kReferenceCameraControl)
        return setChoice(ItemList::Cameras, *value, instance->cameraChoice, instance->cameraId);
    return host::kRefreshNone;
}

}  // namespace kelto
