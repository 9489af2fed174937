// Kelto Focus's options panel: the two reference popups as in Kelto's panel,
// then one control for each setting, whose values are read and written
// straight from the instance.
//
//   0x8001 "Reference Item"    iPopChoice  integer    objects, from the popup functions
//   0x8002 "Reference Camera"  iPopChoice  integer    cameras, from the popup functions
//   0x8003 "Measure"           iPopChoice  integer    "Straight line", "Along view" (a string list)
//   0x8004 "Subject Offset"    distance3   distance3  double[3]
//   0x8005 "Focus Offset"      distance    distance   double
//   0x8006 "Lag"               time        time       double, seconds
#pragma once

#include <cstdint>

#include "focus/focus_instance.h"
#include "panel/reference_popups.h"
#include "panel/toolkit_panel.h"

namespace kelto {

const uint32_t kMeasureControl = 0x8003;
const uint32_t kSubjectOffsetControl = 0x8004;
const uint32_t kFocusOffsetControl = 0x8005;
const uint32_t kLagControl = 0x8006;

// The text the toolkit shows for the panel itself.
extern const char kFocusPanelTitle[];  // "Kelto Focus"

// The controls, their data description and the hints.
extern const PanelDescription kFocusPanel;

// The value behind a control, of the control's data type, or null for any
// other control. Popup choices left stale by renumbered items are first set
// again from the IDs.
void* focusValue(FocusInstance& instance, uint32_t control);

// Stores a value of the control's data type through the settings' setters.
// The popups answer as Kelto's do. A setting's value that is stored as given
// returns kRefreshNone; one refused (an unknown measure, a value that is not
// finite) keeps the setting and returns kRefreshValues, as does a negative
// lag, which is stored as 0, so that the toolkit shows what is kept. Any other
// control: kRefreshNone.
int setFocusValue(FocusInstance& instance, uint32_t control, const void* value);

}  // namespace kelto
