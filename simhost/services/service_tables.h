// The service tables that the simulated host's global lookup hands out. Each
// function reaches the current host session.
#pragma once

#include "host/item_info.h"
#include "host/panel_toolkit.h"

namespace sim {

// "LW Item Info 3" over the current session's scene.
const host::ItemInfoService& itemInfoServiceTable();

// "LWXPanel", recording into the current session's panel toolkit.
const host::PanelToolkit& panelToolkitTable();

// "Info Messages" and "Texture Functions": tables whose every function records
// a violation, since a module must hold them and never call them.
void* messageServiceTable();
void* textureServiceTable();

}  // namespace sim
