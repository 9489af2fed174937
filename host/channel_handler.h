// The records of the "ChannelHandler" class: the instance operations and the
// handler record that the activation fills, the host's item operations, and
// the access record handed to each evaluation.
//
// Threads. The host activates handlers and calls create, destroy, copy, load,
// save, describe and the item operations on its main thread, never while it
// evaluates. It may evaluate on threads of its own (while rendering), but it
// evaluates one instance on one thread at a time and orders those calls with
// its own hand-off, so what one call writes into an instance the next call on
// that instance sees. Different instances may be evaluated at once.
#pragma once

#include "host/host_types.h"
#include "host/scene_file_states.h"

namespace host {

#define HOST_CHANNEL_HANDLER_CLASS "ChannelHandler"

// Class versions of the two protocols the host has spoken. Hosts since 2020
// activate with the current version first and count down to the classic one;
// they ask a handler's interface from low versions upward.
const int kClassicClassVersion = 4;  // the records below with ChannelAccess
const int kCurrentClassVersion = 5;  // the same records with ChannelAccessCurrent

// Handed to evaluate; owned by the host and valid only during that call.
struct ChannelAccess {
    ChannelId channel;                                                            // the channel being evaluated; passed back to the functions below
    int frame;                                                                    // the frame being evaluated
    double time;                                                                  // the evaluation time, in seconds
    double value;                                                                 // the channel's value before this modifier
    void (HOST_CALL* getChannel)(ChannelId channel, double time, double* value);  // reads any channel at any time into the caller's value
    void (HOST_CALL* setChannel)(ChannelId channel, double value);               // sets this evaluation's result; at most once per evaluation; without a call the channel keeps `value`
    const char* (HOST_CALL* channelName)(ChannelId channel);                      // the channel's name; the host's text, valid during the evaluation
};

// Handed to evaluate under the current protocol; owned by the host and valid
// only during that call. Its functions take the host's private data first.
struct ChannelAccessCurrent {
    void* hostData;                                                                               // the host's own; passed back as the first argument below
    ChannelId channel;                                                                            // the channel being evaluated
    int frame;                                                                                    // the frame being evaluated
    double time;                                                                                  // the evaluation time, in seconds
    double value;                                                                                 // the channel's value before this modifier
    void (HOST_CALL* getChannel)(void* hostData, ChannelId channel, double time, double* value);  // reads any channel at any time into the caller's value
    void (HOST_CALL* setChannel)(void* hostData, ChannelId channel, double value);               // sets this evaluation's result; at most once per evaluation; without a call the channel keeps `value`
    const char* (HOST_CALL* channelName)(void* hostData, ChannelId channel);                      // the channel's name in UTF-8; the host's text, valid during the evaluation
};

// Instance operations. The table belongs to the host; the activation fills its
// functions, which the host calls on its main thread. An error text returned
// by copy, load or save is the module's, read at once and shown to the user;
// null means no error.
struct InstanceOperations {
    void* hostData;                                                                         // the host's own; passed back as create's first argument
    InstanceHandle (HOST_CALL* create)(void* hostData, void* context, const char** error);  // when the modifier is applied or its scene is loaded; `context` is the channel, the host's; on failure returns null and may point *error at the module's text
    void (HOST_CALL* destroy)(InstanceHandle instance);                                     // once per instance when the host is done with it; the instance is gone afterwards
    const char* (HOST_CALL* copy)(InstanceHandle to, InstanceHandle from);                  // makes `to` a duplicate of `from` (both the module's, both alive)
    const char* (HOST_CALL* load)(InstanceHandle instance, const LoadState* state);         // reads the instance's data from a scene file, after create
    const char* (HOST_CALL* save)(InstanceHandle instance, const SaveState* state);         // writes the instance's data into a scene file
    const char* (HOST_CALL* describe)(InstanceHandle instance);                             // one line for the host's lists; the module's text, valid until the next call on the instance
};

// The item operations: how an instance tells the host which items it depends
// on, and how it hears that item IDs change.
struct ItemOperations {
    const ItemId* (HOST_CALL* useItems)(InstanceHandle instance);         // the items the instance depends on, ended by a null ID; the instance's list, valid until its next call; null for none. The host re-evaluates the channel after those items change
    void (HOST_CALL* changeID)(InstanceHandle instance, const ItemId* pairs);  // before item IDs change: "old 1, new 1, old 2, new 2, ..." ended by a null old ID, the host's, valid during the call. A null new ID means the item is deleted; equal IDs mean its data changed. All pairs hold at once. The item lists may not show the change yet
    const void* renameNotice;                                              // the host's notice of a renamed item; not declared here
};

// Bits of the word that flags returns. The host defines none for channel
// handlers of this class; every bit is reserved and a handler returns 0.
const uint32_t kHandlerFlagsNone = 0;

// Handed to the handler activation; owned by the host. The two protocols lay
// it out alike and differ only in the access record that evaluate receives.
template <typename Access>
struct HandlerRecordOf {
    InstanceOperations* instance;                                               // the host's table of instance operations, for the activation to fill
    ItemOperations* itemOperations;                                             // the host's table of item operations, for the activation to fill; null when the host binds the handler only to preview, when no item can change
    void (HOST_CALL* evaluate)(InstanceHandle instance, const Access* access);  // set by the activation; at each evaluation of the channel, possibly off the main thread
    uint32_t (HOST_CALL* flags)(InstanceHandle instance);                       // set by the activation; returns the instance's handler flags
};

typedef HandlerRecordOf<ChannelAccess> HandlerRecord;                // classic protocol
typedef HandlerRecordOf<ChannelAccessCurrent> HandlerRecordCurrent;  // current protocol

}  // namespace host
