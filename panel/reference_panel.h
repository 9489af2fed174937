// The options panel: two popups, the reference item among the scene's objects
// and the reference camera among its cameras, read and written straight from
// the instance.
#pragma once

#include <cstdint>

#include "channel/distance_instance.h"
#include "host/host_types.h"
#include "host/panel_toolkit.h"

namespace kelto {

const uint32_t kReferenceItemControl = 0x8001;
const uint32_t kReferenceCameraControl = 0x8002;

// Builds the panel bound to `instance` with the host's panel toolkit; null
// when the host has no toolkit or the toolkit builds no panel. The host owns
// the panel; the module keeps no reference to it.
host::PanelId buildReferencePanel(host::GlobalLookup lookup, DistanceInstance* instance);

// The popup value behind a control, or null for any other control.
int32_t* referenceValue(DistanceInstance* instance, uint32_t control);

// Stores a popup value and points the reference at the chosen item at once.
// Returns kRefreshValues after "(none)", so the toolkit redraws, and
// kRefreshNone otherwise. Names and resolution are left alone.
int setReferenceValue(DistanceInstance* instance, uint32_t control, const int32_t* value);

// The lists handed to the toolkit, as it reads them.
const host::PanelControl* referencePanelControls();
const host::PanelDataDescription* referencePanelData();
const host::PanelHintWord* referencePanelHints();

}  // namespace kelto
