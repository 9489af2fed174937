// The host's side of the module's two server classes: the records that an
// activation fills, and calls through them as the host makes them, each
// named for the record's function it calls.
#pragma once

#include <cstdint>
#include <string>

#include "host/channel_handler.h"
#include "host/channel_interface.h"
#include "simhost/services/block_states.h"
#include "simhost/services/channel_access_record.h"
#include "simhost/services/module_loader.h"

namespace sim {

// Values the host puts in the record fields that a module must leave alone.
extern void* const kHostOwnedMarker;

class HandlerBinding {
public:
    HandlerBinding();
    HandlerBinding(const HandlerBinding&) = delete;
    HandlerBinding& operator=(const HandlerBinding&) = delete;

    // Activates the "ChannelHandler" server with the current session's lookup,
    // handing it the record of that version's protocol. After a success the
    // binding speaks that protocol.
    int activate(const LoadedModule& module, const ServerEntry& server, int version = host::kClassicClassVersion);
    // The same through an activation function at hand, as code linked in
    // directly offers it (a fuzzer, say).
    int activateLinked(host::ActivateFunction activation, int version, void* serverData = nullptr);
    // The version of the last successful activation; 0 before any.

    const host::HandlerRecord& record() const { return record_; }
    const host::HandlerRecordCurrent& currentRecord() const { return currentRecord_; }
    const host::InstanceOperations& operations() const { return operations_; }
    const host::ItemOperations& itemOperations() const { return itemOperations_; }
    // Whether the record holds every function the host calls: create,
    // destroy, copy, load, save, describe, evaluate and flags.
    bool complete() const;

    host::InstanceHandle create();
    void destroy(host::InstanceHandle instance);
    const char* copy(host::InstanceHandle to, host::InstanceHandle from);
    std::string describe(host::InstanceHandle instance);
    uint32_t flags(host::InstanceHandle instance);
    const char* load(host::InstanceHandle instance, BlockReader& reader);
    const char* save(host::InstanceHandle instance, BlockWriter& writer);
    void evaluate(host::InstanceHandle instance, ChannelAccessRecord& access);
    // The item operations, when the activation filled them: the module's
    // list of used items (null when it has none or left useItems empty), and
    // the announcement of new IDs (false when it left changeID empty).
    bool fillsUseItems() const { return itemOperations_.useItems != nullptr; }
    const host::ItemId* useItems(host::InstanceHandle instance);
    bool changeID(host::InstanceHandle instance, const host::ItemId* pairs);

private:
    bool speaksCurrent() const;

    host::InstanceOperations operations_;
    host::ItemOperations itemOperations_;
    host::HandlerRecord record_;
    host::HandlerRecordCurrent currentRecord_;
    int boundVersion_ = 0;
};

class InterfaceBinding {
public:
    // Activates the "ChannelInterface" server for `instance`.
    int activate(const LoadedModule& module, const ServerEntry& server, host::InstanceHandle instance,
                 int version = host::kClassicClassVersion);
    int activateLinked(host::ActivateFunction activation, host::InstanceHandle instance, int version,
                       void* serverData = nullptr);
    const host::InterfaceRecord& record() const { return record_; }

private:
    host::InterfaceRecord record_{};
};

}  // namespace sim
