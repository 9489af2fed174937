// Activation of the "ChannelInterface" server: binds the options panel to the
// instance whose options the user opened.
#pragma once

#include "host/host_types.h"

namespace kelto {

int HOST_CALL activateChannelInterface(int version, host::GlobalLookup lookup, void* interfaceRecord,
                                       void* serverData);

}  // namespace kelto
