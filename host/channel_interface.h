// The record of the "ChannelInterface" class: the options of one instance.
#pragma once

#include "host/host_types.h"

namespace host {

#define HOST_CHANNEL_INTERFACE_CLASS "ChannelInterface"

// Handed to the interface activation; owned by the host, which reads it after a successful
// activation.
struct InterfaceRecord {
    // Set by the host: the instance whose options the user opened.
    InstanceHandle instance;
    // Set by the activation: a toolkit panel bound to the instance, or null for none; the host
    // destroys it.
    PanelId panel;
    // Set by the activation: opens a dialog of the module's own instead of a panel; null for none.
    // No thread is promised.
    const char*(HOST_CALL* options)(InstanceHandle instance);
    // Set by the activation: applies a command line to the instance; null for none.
    // No thread is promised.
    const char*(HOST_CALL* command)(InstanceHandle instance, const char* text);
};

}  // namespace host
