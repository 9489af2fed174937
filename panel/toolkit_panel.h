// A panel built with the host's toolkit from tables: the controls, their data
// description, the hints and the value functions.
#pragma once

#include "host/panel_toolkit.h"

namespace kelto {

// What the toolkit calls back: the hint list for the panel itself (which
// names the popup functions) and the value functions. All of it stays valid
// while the module is loaded.
struct PanelCallbacks {
    const host::PanelHintWord* hints;
    host::PanelGetFunction get;
    host::PanelSetFunction set;
};

// Builds a viewer panel of `controls`, whose values `data` describes, bound
// to `instance`: create, hints for the panel, data description, the viewed
// instance, the user data. Null when the toolkit lacks a function it needs or
// builds no panel. The host owns the panel; the module keeps no reference to
// it. The tables stay the module's and valid while it is loaded.
host::PanelId buildPanel(const host::PanelToolkit& toolkit, const host::PanelControl* controls,
                         const host::PanelDataDescription* data, const PanelCallbacks& callbacks, void* instance);

}  // namespace kelto
