// The records of the "ChannelHandler" class: the table of instance operations,
// the handler record that the activation fills, and the access record handed
// to each evaluation.
#pragma once

#include "host/host_types.h"
#include "host/scene_file_states.h"

namespace host {

#define HOST_CHANNEL_HANDLER_CLASS "ChannelHandler"

// Handed to evaluate; owned by the host and valid only during that call.
struct ChannelAccess {
    ChannelId channel;                                               // the channel being evaluated; passed back to the functions below
    int frame;                                                       // frame number being evaluated; not read by the module
    double time;                                                     // evaluation time in seconds
    double value;                                                    // channel's value before modifiers; not read by the module
    void (HOST_CALL* getChannel)(ChannelId channel, double time, double* value);  // reads any channel at any time; not called by the module
    void (HOST_CALL* setChannel)(ChannelId channel, double value);   // called by evaluate to set this evaluation's result
    const char* (HOST_CALL* channelName)(ChannelId channel);         // not called by the module
};

// Instance operations; the table is owned by the host and filled by the
// activation. Instances returned by create are owned by the module's heap and
// held by the host until it calls destroy.
struct InstanceOperations {
    void* hostData;                                                          // the host's own; left as given
    InstanceHandle (HOST_CALL* create)(void* hostData, void* context, const char** error);  // called when the modifier is applied or a scene is loaded
    void (HOST_CALL* destroy)(InstanceHandle instance);                      // called once per instance when the host is done with it
    const char* (HOST_CALL* copy)(InstanceHandle to, InstanceHandle from);   // duplicates `from` into `to`; returns error text or null
    const char* (HOST_CALL* load)(InstanceHandle instance, const LoadState* state);  // reads the instance's block; returns error text or null
    const char* (HOST_CALL* save)(InstanceHandle instance, const SaveState* state);  // writes the instance's block; returns error text or null
    const char* (HOST_CALL* describe)(InstanceHandle instance);              // one-line description, owned by the instance, valid until its next call
};

struct HandlerRecord {
    InstanceOperations* instance;                                            // table owned by the host; the activation fills its functions
    void* itemOperations;                                                    // the host's own; left as given
    void (HOST_CALL* evaluate)(InstanceHandle instance, const ChannelAccess* access);  // called at each evaluation of the channel
    uint32_t (HOST_CALL* flags)(InstanceHandle instance);                    // called by the host to learn the instance's handler flags
};

}  // namespace host
