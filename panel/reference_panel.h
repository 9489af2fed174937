// Kelto's options panel: the two reference popups alone.
#pragma once

#include "channel/distance_instance.h"
#include "host/panel_toolkit.h"
#include "panel/reference_popups.h"

namespace kelto {

// The text the toolkit shows for the panel itself.
extern const char kReferencePanelTitle[];

// What the toolkit calls back: the hint list (which names the popup functions)
// and the value functions. All of it stays valid while the module is loaded.
struct PanelCallbacks {
    const host::PanelHintWord* hints;
    host::PanelGetFunction get;
    host::PanelSetFunction set;
};

// Builds the panel bound to `instance` with the host's toolkit (buildPanel).
host::PanelId buildReferencePanel(const host::PanelToolkit& toolkit, const PanelCallbacks& callbacks,
                                  DistanceInstance& instance);

}  // namespace kelto
