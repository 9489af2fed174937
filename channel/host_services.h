// The host service tables held by the module: set by each successful handler
// activation, read by everything that reaches the scene.
#pragma once

#include "host/item_info.h"
#include "host/other_services.h"

namespace kelto {

struct HostServices {
    const host::MessageService* messages;   // held, never called
    const host::TextureService* textures;   // held, never called
    const host::ItemInfoService* itemInfo;  // the scene's items
};

// The tables in force; all null until a handler activation succeeds.
const HostServices& heldHostServices();

// Replaces the tables in force. Callers pass a complete set only.
void holdHostServices(const HostServices& services);

}  // namespace kelto
