#include "panel/reference_panel.h"

#include "channel/item_list.h"

namespace kelto {

const char kReferencePanelTitle[] = "Zivov Udiruvu";

namespace {

const char kItemLabel[] = "Reference Item";
const char kCameraLabel[] = "Reference Camera";
const char kPopupClass[] = "iPopChoice";
const char kIntegerType[] = "integer";

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

host::PanelId buildReferencePanel(const host::PanelToolkit& toolkit, const PanelCallbacks& callbacks,
                                  DistanceInstance& instance) {
    if (!hasEveryFunction(toolkit)) return nullptr;
    host::PanelId panel = toolkit.create(host::kPanelTypeViewer, kControls);
    if (panel == nullptr) return nullptr;
    toolkit.hint(panel, host::kPanelControlId, callbacks.hints);
    toolkit.describe(panel, kData, callbacks.get, callbacks.set);
    toolkit.viewInstance(panel, &instance);
    toolkit.userData(panel, host::kPanelControlId, &instance);
    return panel;
}

int32_t* referenceValue(DistanceInstance& instance, uint32_t control) {
    if (control == kReferenceItemControl) return &instance.itemChoice;
    if (control == kReferenceCameraControl) return &instance.cameraChoice;
    return nullptr;
}

int setReferenceValue(DistanceInstance& instance, uint32_t control, int32_t value) {
    if (control == kReferenceItemControl)
        return setChoice(ItemList::Objects, value, instance.itemChoice, instance.itemId);
    if (control == kReferenceCameraControl)
        return setChoice(ItemList::Cameras, value, instance.cameraChoice, instance.cameraId);
    return host::kRefreshNone;
}

}  // namespace kelto
