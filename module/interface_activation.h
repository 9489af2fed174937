// What every modifier's "ChannelInterface" activation does: it checks the
// version against the protocol in force, looks the panel toolkit up and has
// the modifier build its panel for the instance.
#pragma once

#include "host/host_types.h"
#include "host/panel_toolkit.h"

namespace kelto {

// Builds the modifier's panel for `instance` (never null) with the toolkit;
// null for none.
typedef host::PanelId (*PanelBuilder)(const host::PanelToolkit& toolkit, host::InstanceHandle instance);

// The panel speaks the protocol the handler was last bound with, so that a
// host counting versions upward does not take a classic panel for its own
// legacy kind; before any handler activation that is the classic one. A host
// without a panel toolkit still gets a successful activation: the modifier
// works without its panel.
int activateInterface(int version, host::GlobalLookup lookup, void* interfaceRecord, PanelBuilder build);

}  // namespace kelto
