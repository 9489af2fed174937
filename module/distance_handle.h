// Kelto's instance behind the host's opaque handle.
#pragma once

#include "channel/distance_instance.h"
#include "host/host_types.h"
#include "module/instance_handle.h"

namespace kelto {

inline DistanceInstance* instanceOf(host::InstanceHandle handle) { return instanceAs<DistanceInstance>(handle); }

}  // namespace kelto
