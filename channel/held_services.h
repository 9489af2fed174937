// The host service tables that the module holds: set by each successful
// handler activation, read by everything that reaches the scene.
#pragma once

#include "host/item_info.h"
#include "host/other_services.h"

namespace kelto {

struct HostServices {
    const host::MessageService* messages;   // held because the host requires it; never called
    const host::TextureService* textures;   // held because the host requires it; never called
    const host::ItemInfoService* itemInfo;  // the scene's items
    int classVersion;                       // the protocol the tables were found under; 0 before any
};

namespace detail {
// The module's only mutable global: the host's tables are process-wide. The
// host writes it through an activation on its main thread while nothing is
// evaluated, so readers need no lock.
extern HostServices g_heldServices;
}  // namespace detail

// The tables in force; all null until a handler activation succeeds. Inline,
// since every evaluation reads it.
inline const HostServices& heldHostServices() { return detail::g_heldServices; }

// Replaces the tables in force. Callers pass a complete set only.
void holdHostServices(const HostServices& services);

}  // namespace kelto
