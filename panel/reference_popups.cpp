#include "panel/reference_popups.h"

#include <cstring>

#include "channel/item_list.h"
#include "channel/item_renumbering.h"
#include "panel/toolkit_panel.h"

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

// The popups' entry functions, which the hint lists name. The toolkit's user
// data is not needed: every walk goes to the host's lists afresh.
template <ItemList List>
int HOST_CALL popupCount(void*) {
    return choiceCount(List);
}

template <ItemList List>
const char* HOST_CALL popupName(void*, int index) {
    return choiceName(List, index);
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

void* popupValue(ItemReferences& references, uint32_t control) { return referenceValue(references, control); }

int setPopupValue(ItemReferences& references, uint32_t control, const void* value) {
    if (!isReferenceControl(control)) return host::kRefreshNone;
    return setReferenceValue(references, control, *static_cast<const int32_t*>(value));
}

OpeningHints openingHints(const char* title) {
    return {
        host::kHintLabel,
        host::kPanelControlId,
        hintWord(title),
        kNoHintWord,
        host::kHintPopupFuncs,
        kReferenceItemControl,
        hintWord(&popupCount<ItemList::Objects>),
        hintWord(&popupName<ItemList::Objects>),
        host::kHintPopupFuncs,
        kReferenceCameraControl,
        hintWord(&popupCount<ItemList::Cameras>),
        hintWord(&popupName<ItemList::Cameras>),
    };
}

}  // namespace kelto
