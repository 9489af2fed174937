// The records of the "ChannelHandler" class: the instance operations and the handler record that
// the activation fills, the host's item operations, and the access record handed to each
// evaluation.
//
// Threads. The host activates handlers and calls create, destroy, copy, load, save, describe and
// the item operations on its main thread, never while it evaluates. It may evaluate on threads of
// its own (while rendering), but it evaluates one instance on one thread at a time and orders those
// calls with its own hand-off, so what one call writes into an instance the next call on that
// instance sees. Different instances may be evaluated at once.
#pragma once

#include "host/host_types.h"
#include "host/scene_file_states.h"

namespace host {

#define HOST_CHANNEL_HANDLER_CLASS "ChannelHandler"

// Class versions of the two protocols the host has spoken. Hosts since 2020 activate with the
// current version first and count down to the classic one; they ask a handler's interface from low
// versions upward.

// The classic protocol: the records below with ChannelAccess.
const int kClassicClassVersion = 4;
// The current protocol: the same records with ChannelAccessCurrent.
const int kCurrentClassVersion = 5;

// Handed to evaluate; owned by the host and valid only during that call.
struct ChannelAccess {
    // The channel being evaluated; passed back to the functions below.
    ChannelId channel;
    // The frame being evaluated.
    int frame;
    // The evaluation time, in seconds.
    double time;
    // The channel's value before this modifier.
    double value;
    // Reads any channel at any time into the caller's value. Called by the module during evaluate,
    // on the thread that evaluates.
    void(HOST_CALL* getChannel)(ChannelId channel, double time, double* value);
    // Sets this evaluation's result; at most once per evaluation; without a call the channel keeps
    // `value`. Called by the module during evaluate, on the thread that evaluates.
    void(HOST_CALL* setChannel)(ChannelId channel, double value);
    // The channel's name; the host's text, valid during the evaluation. Called by the module during
    // evaluate, on the thread that evaluates.
    const char*(HOST_CALL* channelName)(ChannelId channel);
};

// Handed to evaluate under the current protocol; owned by the host and valid only during that call.
// Its functions take the host's private data first.
struct ChannelAccessCurrent {
    // The host's own; passed back as the first argument below.
    void* hostData;
    // The channel being evaluated.
    ChannelId channel;
    // The frame being evaluated.
    int frame;
    // The evaluation time, in seconds.
    double time;
    // The channel's value before this modifier.
    double value;
    // Reads any channel at any time into the caller's value. Called by the module during evaluate,
    // on the thread that evaluates.
    void(HOST_CALL* getChannel)(void* hostData, ChannelId channel, double time, double* value);
    // Sets this evaluation's result; at most once per evaluation; without a call the channel keeps
    // `value`. Called by the module during evaluate, on the thread that evaluates.
    void(HOST_CALL* setChannel)(void* hostData, ChannelId channel, double value);
    // The channel's name in UTF-8; the host's text, valid during the evaluation. Called by the
    // module during evaluate, on the thread that evaluates.
    const char*(HOST_CALL* channelName)(void* hostData, ChannelId channel);
};

// Instance operations. The table belongs to the host; the activation fills its functions, which the
// host calls on its main thread. An error text returned by copy, load or save is the module's, read
// at once and shown to the user; null means no error.
struct InstanceOperations {
    // The host's own; passed back as create's first argument.
    void* hostData;
    // Called when the modifier is applied or its scene is loaded; `context` is the channel, the
    // host's. On failure returns null and may point *error at the module's text. Main thread.
    InstanceHandle(HOST_CALL* create)(void* hostData, void* context, const char** error);
    // Called once per instance when the host is done with it; the instance is gone afterwards.
    // Main thread.
    void(HOST_CALL* destroy)(InstanceHandle instance);
    // Makes `to` a duplicate of `from` (both the module's, both alive). Main thread.
    const char*(HOST_CALL* copy)(InstanceHandle to, InstanceHandle from);
    // Reads the instance's data from a scene file, after create. Main thread.
    const char*(HOST_CALL* load)(InstanceHandle instance, const LoadState* state);
    // Writes the instance's data into a scene file. Main thread.
    const char*(HOST_CALL* save)(InstanceHandle instance, const SaveState* state);
    // One line for the host's lists; the module's text, valid until the next call on the instance.
    // Main thread.
    const char*(HOST_CALL* describe)(InstanceHandle instance);
};

// The item operations: how an instance tells the host which items it depends on, and how it hears
// that item IDs change.
struct ItemOperations {
    // The items the instance depends on, ended by a null ID; the instance's list, valid until its
    // next call; null for none. The host re-evaluates the channel after those items change.
    // Main thread.
    const ItemId*(HOST_CALL* useItems)(InstanceHandle instance);
    // Called before item IDs change, with "old 1, new 1, old 2, new 2, ..." ended by a null old ID;
    // the host's, valid during the call. A null new ID means the item is deleted; equal IDs mean
    // its data changed. All pairs hold at once. The item lists may not show the change yet.
    // Main thread.
    void(HOST_CALL* changeID)(InstanceHandle instance, const ItemId* pairs);
    // The host's notice of a renamed item; not declared here.
    const void* renameNotice;
};

// Bits of the word that flags returns. The host defines none for channel handlers of this class;
// every bit is reserved and a handler returns 0.
const uint32_t kHandlerFlagsNone = 0;

// Handed to the handler activation; owned by the host. The two protocols lay it out alike and
// differ only in the access record that evaluate receives.
template <typename Access>
struct HandlerRecordOf {
    // The host's table of instance operations, for the activation to fill.
    InstanceOperations* instance;
    // The host's table of item operations, for the activation to fill; null when the host binds the
    // handler only to preview, when no item can change.
    ItemOperations* itemOperations;
    // Set by the activation; called by the host at each evaluation of the channel. Main thread, or
    // the host's own threads while rendering: one instance on one thread at a time, different
    // instances at once.
    void(HOST_CALL* evaluate)(InstanceHandle instance, const Access* access);
    // Set by the activation; returns the instance's handler flags. No thread is promised.
    uint32_t(HOST_CALL* flags)(InstanceHandle instance);
};

// The classic protocol's handler record.
typedef HandlerRecordOf<ChannelAccess> HandlerRecord;
// The current protocol's handler record.
typedef HandlerRecordOf<ChannelAccessCurrent> HandlerRecordCurrent;

}  // namespace host
