// Activation of the "ChannelHandler" server: acquires the host services and
// fills the host's handler record with the instance operations.
#pragma once

#include "host/host_types.h"

namespace kelto {

int HOST_CALL activateChannelHandler(int version, host::GlobalLookup lookup, void* handlerRecord,
                                     void* serverData);

}  // namespace kelto
