// The host's instance operations for one modifier, each a thin shell around
// the modifier's typed functions. The host hands back only what create
// returned, but a null handle or state costs one test and is answered by doing
// nothing. A modifier names its functions once, in a ModifierFunctions table,
// and activates with activateModifierHandler<Lifecycle, kTable>.
#pragma once

#include <cstdint>

#include "channel/item_renumbering.h"
#include "host/channel_handler.h"
#include "module/handler_activation.h"
#include "module/instance_handle.h"

namespace kelto {

// One modifier's typed operations over its instance record, which begins with
// the references (ItemReferences), beyond its lifecycle (InstanceOperations).
template <typename Instance>
struct ModifierFunctions {
    void (*load)(Instance& instance, const host::LoadState& state);
    void (*save)(Instance& instance, const host::SaveState& state);
    const char* idleDescription;  // the line for a null instance
    // Computes the channel's value at `time`; false leaves the channel its own value.
    bool (*evaluate)(Instance& instance, double time, double& value);
};

// The table is a constant, so every call through it is a direct call that
// the compiler may inline: a shell costs what a hand-written one would.
template <typename Lifecycle, const ModifierFunctions<typename Lifecycle::Record>& kModifier>
struct HandlerShells {
    typedef typename Lifecycle::Record Instance;

    static Instance& of(host::InstanceHandle handle) { return *instanceAs<Instance>(handle); }

    static host::InstanceHandle HOST_CALL create(void*, void*, const char**) { return Lifecycle::create(); }

    static void HOST_CALL destroy(host::InstanceHandle instance) { Lifecycle::destroy(instanceAs<Instance>(instance)); }

    static const char* HOST_CALL copy(host::InstanceHandle to, host::InstanceHandle from) {
        if (to != nullptr && from != nullptr) Lifecycle::copy(of(to), of(from));
        return nullptr;
    }

    static const char* HOST_CALL load(host::InstanceHandle instance, const host::LoadState* state) {
        if (instance != nullptr && state != nullptr) kModifier.load(of(instance), *state);
        return nullptr;
    }

    static const char* HOST_CALL save(host::InstanceHandle instance, const host::SaveState* state) {
        if (instance != nullptr && state != nullptr) kModifier.save(of(instance), *state);
        return nullptr;
    }

    static const char* HOST_CALL describe(host::InstanceHandle instance) {
        return instance != nullptr ? Lifecycle::describe(of(instance)) : kModifier.idleDescription;
    }

    static uint32_t HOST_CALL flags(host::InstanceHandle instance) {
        return instance != nullptr ? Lifecycle::flags(of(instance)) : host::kHandlerFlagsNone;
    }

    // The two protocols' evaluate differ only in the access record's layout and
    // set-channel's call; flatten inlines the evaluation, which two callers keep out.
    __attribute__((flatten)) static void HOST_CALL evaluate(host::InstanceHandle instance,
                                                            const host::ChannelAccess* access) {
        if (instance == nullptr || access == nullptr || access->setChannel == nullptr) return;
        double value = 0;
        if (kModifier.evaluate(of(instance), access->time, value)) access->setChannel(access->channel, value);
    }

#if defined(KELTO_SERVES_CURRENT_PROTOCOL)
    __attribute__((flatten)) static void HOST_CALL evaluateCurrent(host::InstanceHandle instance,
                                                                   const host::ChannelAccessCurrent* access) {
        if (instance == nullptr || access == nullptr || access->setChannel == nullptr) return;
        double value = 0;
        if (kModifier.evaluate(of(instance), access->time, value))
            access->setChannel(access->hostData, access->channel, value);
    }
#endif

    // The item operations. The host's pairs are read during the call only.
    static const host::ItemId* HOST_CALL useItems(host::InstanceHandle instance) {
        return instance != nullptr ? usedItems(of(instance)) : nullptr;
    }

    static void HOST_CALL changeID(host::InstanceHandle instance, const host::ItemId* pairs) {
        if (instance != nullptr && pairs != nullptr) renumberReferences(of(instance), pairs);
    }
};

template <typename Lifecycle, const ModifierFunctions<typename Lifecycle::Record>& kModifier>
constexpr HandlerFunctions handlerFunctions() {
    typedef HandlerShells<Lifecycle, kModifier> Shells;
    return {
        Shells::create, Shells::destroy, Shells::copy, Shells::load, Shells::save, Shells::describe, Shells::useItems,
            Shells::changeID, Shells::flags, Shells::evaluate,
#if defined(KELTO_SERVES_CURRENT_PROTOCOL)
            Shells::evaluateCurrent,
#endif
    };
}

// The "ChannelHandler" activation of the modifier of that lifecycle and table.
template <typename Lifecycle, const ModifierFunctions<typename Lifecycle::Record>& kModifier>
int activateModifierHandler(int version, host::GlobalLookup lookup, void* handlerRecord) {
    static constexpr HandlerFunctions kFunctions = handlerFunctions<Lifecycle, kModifier>();
    return activateHandler(version, lookup, handlerRecord, kFunctions);
}

}  // namespace kelto
