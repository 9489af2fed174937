// Kelto Focus's "ChannelInterface" server: its activation, which builds the
// options panel for the instance whose options the user opened, and every
// function the panel toolkit calls back.
#pragma once

#include "host/host_types.h"

namespace kelto {

int HOST_CALL activateFocusInterface(int version, host::GlobalLookup lookup, void* interfaceRecord, void* serverData);

}  // namespace kelto
