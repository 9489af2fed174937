// The record of the "ChannelInterface" class, filled by the interface
// activation when the user opens the modifier's options.
#pragma once

#include "host/host_types.h"

namespace host {

#define HOST_CHANNEL_INTERFACE_CLASS "ChannelInterface"

struct InterfaceRecord {
    InstanceHandle instance;                                                 // given by the host: the instance whose options are opened
    PanelId panel;                                                           // set by the activation; the host owns and destroys the panel
    const char* (HOST_CALL* options)(InstanceHandle instance);               // set by the activation; null here
    const char* (HOST_CALL* command)(InstanceHandle instance, const char* text);  // set by the activation; null here
};

}  // namespace host
