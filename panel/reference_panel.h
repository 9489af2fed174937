// The options panel: two popups, the reference item among the scene's objects
// and the reference camera among its cameras, whose values are read and
// written straight from the instance.
#pragma once

#include <cstdint>

#include "channel/distance_instance.h"
#include "host/panel_toolkit.h"

namespace kelto {

const uint32_t kReferenceItemControl = 0x8001;
const uint32_t kReferenceCameraControl = 0x8002;

// The text the toolkit shows for the panel itself.
extern const char kReferencePanelTitle[];

// What the toolkit calls back: the hint list (which names the popup functions)
// and the value functions. All of it stays valid while the module is loaded.
struct PanelCallbacks {
    const host::PanelHintWord* hints;
    host::PanelGetFunction get;
    host::PanelSetFunction set;
};

// Builds the panel bound to `instance` with the host's toolkit: create, hints
// for the panel, data description, the viewed instance, the user data. Null
// when the toolkit lacks a function it needs or builds no panel. The host owns
// the panel; the module keeps no reference to it.
host::PanelId buildReferencePanel(const host::PanelToolkit& toolkit, const PanelCallbacks& callbacks,
                                  DistanceInstance& instance);

// The popup value behind a control, or null for any other control. Choices
// left stale by renumbered items are first set again from the IDs.
int32_t* referenceValue(DistanceInstance& instance, uint32_t control);

// Stores a popup value and points the reference at the chosen item at once.
// Returns kRefreshValues after "(none)", so the toolkit redraws, and
// kRefreshNone otherwise. A choice of an item leaves the stored name to be
// refreshed at save; a choice of no item clears it once the instance is
// resolved, so the reference saves as none. Resolution is left alone.
int setReferenceValue(DistanceInstance& instance, uint32_t control, int32_t value);

}  // namespace kelto
