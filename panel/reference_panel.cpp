#include "panel/reference_panel.h"

#include <cstring>

#include "channel/item_list.h"
#include "channel/item_renumbering.h"

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

// A choice of no item on a resolved instance also forgets the stored name,
// which would otherwise be saved as the reference. Before resolution the
// names stand, as they do against any choice.
int setChoice(ItemList list, int32_t value, int32_t& choice, host::ItemId& item, char (&name)[kNameSize],
              bool resolved) {
    choice = value;
    item = value == kNoChoice ? nullptr : itemAtChoice(list, value);
    if (item == nullptr && resolved) std::memset(name, 0, sizeof name);
    return value == kNoChoice ? host::kRefreshValues : host::kRefreshNone;
}

bool isReferenceControl(uint32_t control) {
    return control == kReferenceItemControl || control == kReferenceCameraControl;
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
    if (isReferenceControl(control)) refreshStaleChoices(instance);
    if (control == kReferenceItemControl) return &instance.itemChoice;
    if (control == kReferenceCameraControl) return &instance.cameraChoice;
    return nullptr;
}

int setReferenceValue(DistanceInstance& instance, uint32_t control, int32_t value) {
    if (!isReferenceControl(control)) return host::kRefreshNone;
    // The other popup's choice must not be lost to a later refresh.
    refreshStaleChoices(instance);
    bool resolved = instance.resolved != 0;
    if (control == kReferenceItemControl)
        return setChoice(ItemList::Objects, value, instance.itemChoice, instance.itemId, instance.itemName, resolved);
    return setChoice(ItemList::Cameras, value, instance.cameraChoice, instance.cameraId, instance.cameraName,
                     resolved);
}

}  // namespace kelto
