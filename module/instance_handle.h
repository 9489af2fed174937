// The one cast between the host's opaque instance handle and the record
// behind it: the host hands back exactly what create returned.
#pragma once

#include "channel/distance_instance.h"
#include "host/host_types.h"

namespace kelto {

inline DistanceInstance* instanceOf(host::InstanceHandle handle) { return static_cast<DistanceInstance*>(handle); }

}  // namespace kelto
