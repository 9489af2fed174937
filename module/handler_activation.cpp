#include "module/handler_activation.h"

#include "channel/held_services.h"
#include "host/module_descriptor.h"
#include "module/protocols.h"

namespace kelto {

namespace {

// Only the first two functions are the module's; the notice of a renamed
// item stays the host's, since save reads names afresh. A host that binds
// the handler only to preview hands no table.
void fillItemOperations(host::ItemOperations* operations, const HandlerFunctions& functions) {
    if (operations == nullptr) return;
    operations->useItems = functions.useItems;
    operations->changeID = functions.changeID;
}

// Looks the three services up, stopping at the first one missing.
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
void fillHandlerRecord(host::HandlerRecordOf<Access>& record, const HandlerFunctions& functions,
                       void(HOST_CALL* evaluate)(host::InstanceHandle, const Access*)) {
    if (host::InstanceOperations* operations = record.instance) {
        operations->create = functions.create;
        operations->destroy = functions.destroy;
        operations->copy = functions.copy;
        operations->load = functions.load;
        operations->save = functions.save;
        operations->describe = functions.describe;
    }
    fillItemOperations(record.itemOperations, functions);
    record.evaluate = evaluate;
    record.flags = functions.flags;
}

// The two protocols lay the record out alike and differ only in the access
// record that evaluate receives.
void fillHandlerRecord(int classVersion, void* record, const HandlerFunctions& functions) {
#if defined(KELTO_SERVES_CURRENT_PROTOCOL)
    if (classVersion == host::kCurrentClassVersion) {
        fillHandlerRecord(*static_cast<host::HandlerRecordCurrent*>(record), functions, functions.evaluateCurrent);
        return;
    }
#endif
    (void)classVersion;
    fillHandlerRecord(*static_cast<host::HandlerRecord*>(record), functions, functions.evaluate);
}

}  // namespace

int activateHandler(int version, host::GlobalLookup lookup, void* handlerRecord, const HandlerFunctions& functions) {
    const Protocol* protocol = servedProtocol(version);
    if (protocol == nullptr) return host::kActivationBadVersion;
    if (lookup == nullptr) return host::kActivationServiceMissing;
    HostServices found = {};
    if (!lookUpHostServices(lookup, *protocol, found)) return host::kActivationServiceMissing;
    holdHostServices(found);
    if (handlerRecord != nullptr) fillHandlerRecord(version, handlerRecord, functions);
    return host::kActivationOk;
}

}  // namespace kelto
