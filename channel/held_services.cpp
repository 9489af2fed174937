#include "channel/held_services.h"

namespace kelto {

namespace detail {
HostServices g_heldServices = {nullptr, nullptr, nullptr, 0};
}  // namespace detail

void holdHostServices(const HostServices& services) { detail::g_heldServices = services; }

}  // namespace kelto
