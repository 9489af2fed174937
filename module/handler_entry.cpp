#include "module/handler_entry.h"

#include "channel/distance_evaluation.h"
#include "channel/held_services.h"
#include "channel/item_renumbering.h"
#include "host/channel_handler.h"
#include "host/module_descriptor.h"
#include "module/instance_handle.h"
#include "module/protocols.h"
#include "persist/instance_block.h"

namespace kelto {

namespace {

// The host's instance operations, each a thin shell around a typed function.
// The host hands back only what create returned, but a null handle or state
// costs one test and is answered by doing nothing.

host::InstanceHandle HOST_CALL hostCreate(void*, void*, const char**) { return createInstance(); }

void HOST_CALL hostDestroy(host::InstanceHandle instance) { destroyInstance(instanceOf(instance)); }

const char* HOST_CALL hostCopy(host::InstanceHandle to, host::InstanceHandle from) {
    if (to != nullptr && from != nullptr) copyInstance(*instanceOf(to), *instanceOf(from));
    return nullptr;
}

const char* HOST_CALL hostLoad(host::InstanceHandle instance, const host::LoadState* state) {
    if (instance != nullptr && state != nullptr) loadInstanceBlock(*instanceOf(instance), *state);
    return nullptr;
}

const char* HOST_CALL hostSave(host::InstanceHandle instance, const host::SaveState* state) {
    if (instance != nullptr && state != nullptr) saveInstanceBlock(*instanceOf(instance), *state);
    return nullptr;
}

const char* HOST_CALL hostDescribe(host::InstanceHandle instance) {
    return instance != nullptr ? describeInstance(*instanceOf(instance)) : kDescriptionLine;
}

uint32_t HOST_CALL hostFlags(host::InstanceHandle instance) {
    return instance != nullptr ? instanceFlags(*instanceOf(instance)) : host::kHandlerFlagsNone;
}

// The two protocols' evaluate differ only in how the access record is laid
// out and how set-channel is called.
void HOST_CALL hostEvaluate(host::InstanceHandle instance, const host::ChannelAccess* access) {
    if (instance == nullptr || access == nullptr || access->setChannel == nullptr) return;
    double distance = 0;
    if (evaluateDistance(*instanceOf(instance), access->time, distance)) access->setChannel(access->channel, distance);
}

#if defined(KELTO_SERVES_CURRENT_PROTOCOL)
void HOST_CALL hostEvaluateCurrent(host::InstanceHandle instance, const host::ChannelAccessCurrent* access) {
    if (instance == nullptr || access == nullptr || access->setChannel == nullptr) return;
    double distance = 0;
    if (evaluateDistance(*instanceOf(instance), access->time, distance))
        access->setChannel(access->hostData, access->channel, distance);
}
#endif

// The item operations. The host's pairs are read during the call only.

const host::ItemId* HOST_CALL hostUseItems(host::InstanceHandle instance) {
    return instance != nullptr ? usedItems(*instanceOf(instance)) : nullptr;
}

void HOST_CALL hostChangeID(host::InstanceHandle instance, const host::ItemId* pairs) {
    if (instance != nullptr && pairs != nullptr) renumberReferences(*instanceOf(instance), pairs);
}

// Only the first two functions are the module's; the notice of a renamed
// item stays the host's, since save reads names afresh. A host that binds
// the handler only to preview hands no table.
void fillItemOperations(host::ItemOperations* operations) {
    if (operations == nullptr) return;
    operations->useItems = hostUseItems;
    operations->changeID = hostChangeID;
}

// Looks the three services up, stopping at the first one missing. Nothing is
// held unless all were found, so instances of an earlier activation keep
// working when a later one fails.
bool lookUpHostServices(host::GlobalLookup lookup, const Protocol& protocol, HostServices& found) {
    found.messages = static_cast<const host::MessageService*>(lookUpService(lookup, protocol.messageServices));
    if (found.messages == nullptr) return false;
    found.textures = static_cast<const host::TextureService*>(lookUpService(lookup, protocol.textureServices));
    if (found.textures == nullptr) return false;
    found.itemInfo = static_cast<const host::ItemInfoService*>(lookUpService(lookup, protocol.itemInfoServices));
    found.classVersion = protocol.classVersion;
    return found.itemInfo != nullptr;
}

// The table's host data and the record's item-operations field are the
// host's and stay as given.
template <typename Access>
void fillHandlerRecord(host::HandlerRecordOf<Access>& record,
                       void(HOST_CALL* evaluate)(host::InstanceHandle, const Access*)) {
    if (host::InstanceOperations* operations = record.instance) {
        operations->create = hostCreate;
        operations->destroy = hostDestroy;
        operations->copy = hostCopy;
        operations->load = hostLoad;
        operations->save = hostSave;
        operations->describe = hostDescribe;
    }
    fillItemOperations(record.itemOperations);
    record.evaluate = evaluate;
    record.flags = hostFlags;
}

void fillHandlerRecord(int classVersion, void* record) {
#if defined(KELTO_SERVES_CURRENT_PROTOCOL)
    if (classVersion == host::kCurrentClassVersion) {
        fillHandlerRecord(*static_cast<host::HandlerRecordCurrent*>(record), hostEvaluateCurrent);
        return;
    }
#endif
    (void)classVersion;
    fillHandlerRecord(*static_cast<host::HandlerRecord*>(record), hostEvaluate);
}

}  // namespace

int HOST_CALL activateChannelHandler(int version, host::GlobalLookup lookup, void* handlerRecord, void*) {
    const Protocol* protocol = servedProtocol(version);
    if (protocol == nullptr) return host::kActivationBadVersion;
    if (lookup == nullptr) return host::kActivationServiceMissing;
    HostServices found = {};
    if (!lookUpHostServices(lookup, *protocol, found)) return host::kActivationServiceMissing;
    holdHostServices(found);
    if (handlerRecord != nullptr) fillHandlerRecord(version, handlerRecord);
    return host::kActivationOk;
}

}  // namespace kelto
