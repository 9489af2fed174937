// The service tables that the simulated host's global lookup hands out. Each
// function reaches the current host session.
#pragma once

#include "host/item_info.h"
#include "host/other_services.h"
#include "host/panel_toolkit.h"

namespace sim {

// "LW Item Info 3" over the current session's scene.
const host::ItemInfoService& itemInfoServiceTable();

// "LWXPanel", recording into the current session's panel toolkit.
const host::PanelToolkit& panelToolkitTable();

// "Info Messages" and "Texture Functions", answering neutrally; each call is
// noted in the session (held service calls).
const host::MessageService& messageServiceTable();
const host::TextureService& textureServiceTable();

}  // namespace sim
