// The modifier itself with one fault wrapped around it, chosen at compile
// time by a FAULT_<NAME> definition: a module that is whole but for that,
// so that the conformance check must find the fault among checks that pass.
// The faults live in files by what they break; each defines kEntries, the
// functions the descriptor and the server table hand the host, for its own.
// With FAULT_UNDER_CURRENT_ONLY the fault is made under the current protocol
// alone (version 5), as a fault in that protocol's own path would be. With
// FAULTY_KELTO_FOCUS the modifier wrapped is Kelto Focus, under its name.
// Each file also states what each of its faults fails (fault_statement.h).
#pragma once

#include "fault_statement.h"
#include "host/channel_handler.h"
#include "host/module_descriptor.h"

namespace fault {

struct Entries {
    host::ActivateFunction handler;
    host::ActivateFunction interface;
    void*(HOST_CALL* startup)();
    void(HOST_CALL* shutdown)(void*);
};

// The chosen fault's entries.
extern const Entries kEntries;

// The modifier's own start-up and shut-down (faulty_kelto.cpp).
void* HOST_CALL startup();
void HOST_CALL shutdown(void*);

// The modifier's own activations, unchanged.
int HOST_CALL modifierHandler(int version, host::GlobalLookup lookup, void* record, void* serverData);
int HOST_CALL modifierInterface(int version, host::GlobalLookup lookup, void* record, void* serverData);

// The modifier's handler activation; true when it succeeded on a record,
// which the fault may then change. Its result goes to `result`.
bool modifierActivated(int version, host::GlobalLookup lookup, void* record, void* serverData, int& result);

// The record either protocol's activation fills: both lay out their fields
// alike but for the type of evaluate.
inline host::HandlerRecord& handlerRecord(void* record) { return *static_cast<host::HandlerRecord*>(record); }
inline host::HandlerRecordCurrent& currentRecord(void* record) {
    return *static_cast<host::HandlerRecordCurrent*>(record);
}

// Whether the fault is made under a protocol of that version.
inline bool faultApplies(int version) {
#if defined(FAULT_UNDER_CURRENT_ONLY)
    return version == host::kCurrentClassVersion;
#else
    (void)version;
    return true;
#endif
}

// The modifier's handler activation with `Change` made to the record it
// filled, after a success under a protocol the fault applies to.
template <void (*Change)(int version, void* record)>
int HOST_CALL activateChanged(int version, host::GlobalLookup lookup, void* record, void* serverData) {
    int result = 0;
    if (modifierActivated(version, lookup, record, serverData, result) && faultApplies(version))
        Change(version, record);
    return result;
}

// The modifier's evaluate of each protocol, kept when a fault wraps it.
template <typename Access>
struct ModifierEvaluate {
    static inline void(HOST_CALL* function)(host::InstanceHandle, const Access*) = nullptr;
};

typedef void (*InstanceStep)(host::InstanceHandle instance);

template <typename Access, InstanceStep Before, InstanceStep After>
void HOST_CALL evaluateBetween(host::InstanceHandle instance, const Access* access) {
    if constexpr (Before != nullptr) Before(instance);
    ModifierEvaluate<Access>::function(instance, access);
    if constexpr (After != nullptr) After(instance);
}

// Wraps the evaluate of the record of either protocol: `Before` and `After`
// are done on the instance around the modifier's own.
template <InstanceStep Before, InstanceStep After>
void wrapEvaluate(int version, void* record) {
    if (version == host::kCurrentClassVersion) {
        host::HandlerRecordCurrent& current = currentRecord(record);
        ModifierEvaluate<host::ChannelAccessCurrent>::function = current.evaluate;
        current.evaluate = evaluateBetween<host::ChannelAccessCurrent, Before, After>;
    } else {
        host::HandlerRecord& classic = handlerRecord(record);
        ModifierEvaluate<host::ChannelAccess>::function = classic.evaluate;
        classic.evaluate = evaluateBetween<host::ChannelAccess, Before, After>;
    }
}

}  // namespace fault
