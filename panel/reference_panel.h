// Kelto's options panel: the two reference popups alone.
#pragma once

#include "channel/distance_instance.h"
#include "host/panel_toolkit.h"
#include "panel/reference_popups.h"
#include "panel/toolkit_panel.h"

namespace kelto {

// The text the toolkit shows for the panel itself.
extern const char kReferencePanelTitle[];

// Builds the panel bound to `instance` with the host's toolkit (buildPanel).
host::PanelId buildReferencePanel(const host::PanelToolkit& toolkit, const PanelCallbacks& callbacks,
                                  DistanceInstance& instance);

}  // namespace kelto
