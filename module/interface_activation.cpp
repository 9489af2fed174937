#include "module/interface_activation.h"

#include "host/channel_interface.h"
#include "host/module_descriptor.h"
#include "panel/reference_panel.h"

namespace kelto {

// A host without a panel toolkit still gets a successful activation: the
// modifier works without its panel.
int HOST_CALL activateChannelInterface(int version, host::GlobalLookup lookup, void* interfaceRecord, void*) {
    if (version != host::kClassVersion) return host::kActivationBadVersion;
    if (interfaceRecord == nullptr) return host::kActivationOk;
    host::InterfaceRecord& record = *static_cast<host::InterfaceRecord*>(interfaceRecord);
    DistanceInstance* instance = static_cast<DistanceInstance*>(record.instance);
    record.panel = instance != nullptr ? buildReferencePanel(lookup, instance) : nullptr;
    record.options = nullptr;
    record.command = nullptr;
    return host::kActivationOk;
}

}  // namespace kelto
