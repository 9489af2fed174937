// The two popups every modifier's panel begins with: the reference item among
// the scene's objects and the reference camera among its cameras, whose values
// are read and written straight from the instance's references, and the hints
// that open every modifier's hint list: the panel's title and the popups'
// entries.
#pragma once

#include <array>
#include <cstddef>
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

// The same two as the toolkit's value functions see them, a value of the
// control's data type (int32_t): referenceValue, and setReferenceValue of
// the value given, which is not read for any other control.
void* popupValue(ItemReferences& references, uint32_t control);
int setPopupValue(ItemReferences& references, uint32_t control, const void* value);

// The words that open a panel's hint list: the label hint with the panel's
// title, then each popup's entries from its list through the popup functions.
const size_t kOpeningHintWords = 12;
typedef std::array<host::PanelHintWord, kOpeningHintWords> OpeningHints;
OpeningHints openingHints(const char* title);

// A panel's whole hint list: openingHints(title), then the panel's own hints,
// `rest`, which end the list.
template <size_t kRestWords>
std::array<host::PanelHintWord, kOpeningHintWords + kRestWords> panelHints(
    const char* title, const host::PanelHintWord (&rest)[kRestWords]) {
    std::array<host::PanelHintWord, kOpeningHintWords + kRestWords> hints{};
    OpeningHints opening = openingHints(title);
    for (size_t i = 0; i < kOpeningHintWords; ++i) hints[i] = opening[i];
    for (size_t i = 0; i < kRestWords; ++i) hints[kOpeningHintWords + i] = rest[i];
    return hints;
}

}  // namespace kelto
