// A panel built with the host's toolkit from tables: the controls, their data
// description, the hints and the value functions.
#pragma once

#include "host/panel_toolkit.h"

namespace kelto {

// What the toolkit reads and calls back. All of it stays valid while the
// module is loaded.
struct PanelLayout {
    const host::PanelControl* controls;
    const host::PanelDataDescription* data;
    const host::PanelHintWord* hints;  // for the panel itself (control 0)
    host::PanelGetFunction get;
    host::PanelSetFunction set;
};

// Builds a viewer panel bound to `instance`: create, hints for the panel, data
// description, the viewed instance, the user data. Null when the toolkit
// lacks a function it needs or builds no panel. The host owns the panel; the
// module keeps no reference to it.
host::PanelId buildPanel(const host::PanelToolkit& toolkit, const PanelLayout& layout, void* instance);

}  // namespace kelto
