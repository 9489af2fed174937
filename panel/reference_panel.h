// Kelto's options panel: the two reference popups alone, whose values are the
// popups' own (popupValue, setPopupValue).
#pragma once

#include "panel/reference_popups.h"
#include "panel/toolkit_panel.h"

namespace kelto {

// The text the toolkit shows for the panel itself.
extern const char kReferencePanelTitle[];  // "Zivov Udiruvu"

// The controls, their data description and the hints.
extern const PanelDescription kReferencePanel;

}  // namespace kelto
