// The one cast between the host's opaque instance handle and the record
// behind it: the host hands back exactly what create returned.
#pragma once

#include "host/host_types.h"

namespace kelto {

template <typename Instance>
Instance* instanceAs(host::InstanceHandle handle) {
    return static_cast<Instance*>(handle);
}

}  // namespace kelto
