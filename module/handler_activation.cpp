#include "module/handler_activation.h"

#include "channel/distance_evaluation.h"
#include "channel/distance_instance.h"
#include "channel/host_services.h"
#include "host/channel_handler.h"
#include "host/module_descriptor.h"
#include "persist/instance_block.h"

namespace kelto {

namespace {

DistanceInstance* asInstance(host::InstanceHandle handle) { return static_cast<DistanceInstance*>(handle); }

// The host's instance operations, each a thin shell around a typed function.

host::InstanceHandle HOST_CALL hostCreate(void*, void*, const char**) { return createInstance(); }

void HOST_CALL hostDestroy(host::InstanceHandle instance) { destroyInstance(asInstance(instance)); }

const char* HOST_CALL hostCopy(host::InstanceHandle to, host::InstanceHandle from) {
    if (to != nullptr && from != nullptr) copyInstance(*asInstance(to), *asInstance(from));
    return nullptr;
}

const char* HOST_CALL hostLoad(host::InstanceHandle instance, const host::LoadState* state) {
    if (instance != nullptr && state != nullptr) loadInstanceBlock(*asInstance(instance), *state);
    return nullptr;
}

const char* HOST_CALL hostSave(host::InstanceHandle instance, const host::SaveState* state) {
    if (instance != nullptr && state != nullptr) saveInstanceBlock(*asInstance(instance), *state);
    return nullptr;
}

void HOST_CALL hostEvaluate(host::InstanceHandle instance, const host::ChannelAccess* access) {
    if (instance != nullptr && access != nullptr) evaluateDistance(*asInstance(instance), *access);
}

const char* HOST_CALL hostDescribe(host::InstanceHandle instance) {
    return instance != nullptr ? describeInstance(*asInstance(instance)) : kDescriptionLine;
}

uint32_t HOST_CALL hostFlags(host::InstanceHandle instance) {
    return instance != nullptr ? instanceFlags(*asInstance(instance)) : 0;
}

// Looks all three services up, stopping at the first one missing. Nothing is
// held unless all were found, so instances of an earlier activation keep
// working when a later one fails.
bool lookUpHostServices(host::GlobalLookup lookup, HostServices& found) {
    found.messages = static_cast<const host::MessageService*>(lookup(HOST_MESSAGE_SERVICE, host::kGlobalUseMode));
    if (found.messages == nullptr) return false;
    found.textures = static_cast<const host::TextureService*>(lookup(HOST_TEXTURE_SERVICE, host::kGlobalUseMode));
    if (found.textures == nullptr) return false;
    found.itemInfo = static_cast<const host::ItemInfoService*>(lookup(HOST_ITEM_INFO_SERVICE, host::kGlobalUseMode));
    return found.itemInfo != nullptr;
}

void fillInstanceOperations(host::InstanceOperations& operations) {
    operations.create = hostCreate;
    operations.destroy = hostDestroy;
    operations.copy = hostCopy;
    operations.load = hostLoad;
    operations.save = hostSave;
    operations.describe = hostDescribe;
}

void fillHandlerRecord(host::HandlerRecord& record) {
    if (record.instance != nullptr) fillInstanceOperations(*record.instance);
    record.evaluate = hostEvaluate;
    record.flags = hostFlags;
}

}  // namespace

int HOST_CALL activateChannelHandler(int version, host::GlobalLookup lookup, void* handlerRecord, void*) {
    if (version != host::kClassVersion) return host::kActivationBadVersion;
    if (lookup == nullptr) return host::kActivationServiceMissing;
    HostServices found = {nullptr, nullptr, nullptr};
    if (!lookUpHostServices(lookup, found)) return host::kActivationServiceMissing;
    holdHostServices(found);
    if (handlerRecord != nullptr) fillHandlerRecord(*static_cast<host::HandlerRecord*>(handlerRecord));
    return host::kActivationOk;
}

}  // namespace kelto
