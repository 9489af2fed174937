// Kelto Focus's "ChannelHandler" server: its activation, which acquires the
// host services and fills the host's handler record, and every function the
// host calls through that record.
#pragma once

#include "host/host_types.h"

namespace kelto {

int HOST_CALL activateFocusHandler(int version, host::GlobalLookup lookup, void* handlerRecord, void* serverData);

}  // namespace kelto
