#include "module/interface_activation.h"

#include "host/channel_interface.h"
#include "host/module_descriptor.h"

namespace kelto {

int HOST_CALL activateChannelInterface(int version, host::GlobalLookup, void* interfaceRecord, void*) {
    if (version != host::kClassVersion) return host::kActivationBadVersion;
    if (interfaceRecord == nullptr) return host::kActivationOk;
    host::InterfaceRecord& record = *static_cast<host::InterfaceRecord*>(interfaceRecord);
    record.panel = nullptr;
    record.options = nullptr;
    record.command = nullptr;
    return host::kActivationOk;
}

}  // namespace kelto
