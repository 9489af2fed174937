// What every modifier's "ChannelHandler" activation does: it checks the
// version, acquires and holds the host services, and fills the host's handler
// record with the modifier's functions.
#pragma once

#include <cstdint>

#include "host/channel_handler.h"

namespace kelto {

// The functions one modifier hands the host through its handler record.
struct HandlerFunctions {
    host::InstanceHandle(HOST_CALL* create)(void* hostData, void* context, const char** error);
    void(HOST_CALL* destroy)(host::InstanceHandle instance);
    const char*(HOST_CALL* copy)(host::InstanceHandle to, host::InstanceHandle from);
    const char*(HOST_CALL* load)(host::InstanceHandle instance, const host::LoadState* state);
    const char*(HOST_CALL* save)(host::InstanceHandle instance, const host::SaveState* state);
    const char*(HOST_CALL* describe)(host::InstanceHandle instance);
    const host::ItemId*(HOST_CALL* useItems)(host::InstanceHandle instance);
    void(HOST_CALL* changeID)(host::InstanceHandle instance, const host::ItemId* pairs);
    uint32_t(HOST_CALL* flags)(host::InstanceHandle instance);
    void(HOST_CALL* evaluate)(host::InstanceHandle instance, const host::ChannelAccess* access);
#if defined(KELTO_SERVES_CURRENT_PROTOCOL)
    void(HOST_CALL* evaluateCurrent)(host::InstanceHandle instance, const host::ChannelAccessCurrent* access);
#endif
};

// The activation of a handler serving `functions`: kActivationBadVersion for a
// version this build does not serve, kActivationServiceMissing when the host
// lacks a service (earlier instances keep working: nothing is held unless all
// were found), else kActivationOk with the services held and the record, when
// given, filled.
int activateHandler(int version, host::GlobalLookup lookup, void* handlerRecord, const HandlerFunctions& functions);

}  // namespace kelto
