#include "channel/host_services.h"

namespace kelto {

namespace {
// The module's only mutable global: the host's tables are process-wide.
HostServices g_heldServices = {nullptr, nullptr, nullptr};
}  // namespace

const HostServices& heldHostServices() { return g_heldServices; }

void holdHostServices(const HostServices& services) { g_heldServices = services; }

}  // namespace kelto
