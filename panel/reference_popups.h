// The two popups every modifier's panel begins with: the reference item among
// the scene's objects and the reference camera among its cameras, whose values
// are read and written straight from the instance's references.
#pragma once

#include <cstdint>

#include "channel/item_references.h"
#include "host/panel_toolkit.h"

namespace kelto {

const uint32_t kReferenceItemControl = 0x8001;
const uint32_t kReferenceCameraControl = 0x8002;

extern const char kReferenceItemLabel[];    // "Reference Item"
extern const char kReferenceCameraLabel[];  // "Reference Camera"

bool isReferenceControl(uint32_t control);

// The popup value behind a control, or null for any other control. Choices
// left stale by renumbered items are first set again from the IDs.
int32_t* referenceValue(ItemReferences& references, uint32_t control);

// Stores a popup value and points the reference at the chosen item at once.
// Returns kRefreshValues after "(none)", so the toolkit redraws, and
// kRefreshNone otherwise, and for any other control. A choice of an item
// leaves the stored name to be refreshed at save; a choice of no item clears
// it once the references are resolved, so the reference saves as none.
// Resolution is left alone.
int setReferenceValue(ItemReferences& references, uint32_t control, int32_t value);

}  // namespace kelto
