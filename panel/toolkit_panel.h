// A panel built with the host's toolkit from tables: the controls, their data
// description, the hints and the value functions.
#pragma once

#include "host/panel_toolkit.h"

namespace kelto {

// One modifier's panel as the toolkit is told of it: its controls, their
// values' data description and the hint list for the panel itself (which
// names the popup functions). All of it stays valid while the module is
// loaded.
struct PanelDescription {
    const host::PanelControl* controls;
    const host::PanelDataDescription* data;
    const host::PanelHintWord* hints;
};

// Builds a viewer panel of `panel`, whose values `get` and `set` read and
// write, bound to `instance`: create, hints for the panel, data description,
// the viewed instance, the user data. Null when the toolkit lacks a function
// it needs or builds no panel. The host owns the panel; the module keeps no
// reference to it. The tables stay the module's and valid while it is loaded.
host::PanelId buildPanel(const host::PanelToolkit& toolkit, const PanelDescription& panel, host::PanelGetFunction get,
                         host::PanelSetFunction set, void* instance);

// A hint list's word for a pointer or a function.
template <typename Pointer>
host::PanelHintWord hintWord(Pointer pointer) {
    return reinterpret_cast<host::PanelHintWord>(pointer);
}

// The word that ends a hint list, or stands for an argument of none.
const host::PanelHintWord kNoHintWord = 0;

}  // namespace kelto
