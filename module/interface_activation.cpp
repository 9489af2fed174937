#include "module/interface_activation.h"

#include "channel/held_services.h"
#include "host/channel_handler.h"
#include "host/channel_interface.h"
#include "host/module_descriptor.h"
#include "module/protocols.h"

namespace kelto {

namespace {

host::PanelId buildPanel(host::GlobalLookup lookup, const Protocol& protocol, host::InstanceHandle instance,
                         PanelBuilder build) {
    if (lookup == nullptr || instance == nullptr) return nullptr;
    const void* toolkit = lookUpService(lookup, protocol.panelToolkitServices);
    if (toolkit == nullptr) return nullptr;
    return build(*static_cast<const host::PanelToolkit*>(toolkit), instance);
}

const Protocol* protocolInForce() {
    int version = heldHostServices().classVersion;
    return servedProtocol(version != 0 ? version : host::kClassicClassVersion);
}

}  // namespace

int activateInterface(int version, host::GlobalLookup lookup, void* interfaceRecord, PanelBuilder build) {
    const Protocol* protocol = protocolInForce();
    if (protocol == nullptr || version != protocol->classVersion) return host::kActivationBadVersion;
    if (interfaceRecord == nullptr) return host::kActivationOk;
    host::InterfaceRecord& record = *static_cast<host::InterfaceRecord*>(interfaceRecord);
    record.panel = buildPanel(lookup, *protocol, record.instance, build);
    record.options = nullptr;
    record.command = nullptr;
    return host::kActivationOk;
}

}  // namespace kelto
