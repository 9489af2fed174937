#include "panel/reference_popups.h"

#include <cstring>

#include "channel/item_list.h"
#include "channel/item_renumbering.h"

namespace kelto {

const char kReferenceItemLabel[] = "Reference Item";
const char kReferenceCameraLabel[] = "Reference Camera";

namespace {

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

}  // namespace

bool isReferenceControl(uint32_t control) {
    return control == kReferenceItemControl || control == kReferenceCameraControl;
}

int32_t* referenceValue(ItemReferences& references, uint32_t control) {
    if (isReferenceControl(control)) refreshStaleChoices(references);
    if (control == kReferenceItemControl) return &references.itemChoice;
    if (control == kReferenceCameraControl) return &references.cameraChoice;
    return nullptr;
}

int setReferenceValue(ItemReferences& references, uint32_t control, int32_t value) {
    if (!isReferenceControl(control)) return host::kRefreshNone;
    // The other popup's choice must not be lost to a later refresh.
    refreshStaleChoices(references);
    bool resolved = references.resolved != 0;
    if (control == kReferenceItemControl)
        return setChoice(ItemList::Objects, value, references.itemChoice, references.itemId, references.itemName,
                         resolved);
    return setChoice(ItemList::Cameras, value, references.cameraChoice, references.cameraId, references.cameraName,
                     resolved);
}

}  // namespace kelto
