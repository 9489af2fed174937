// The one symbol the host reads from kelto_focus.p: the descriptor and the
// server table it points to.
#include "focus/focus_handler_entry.h"
#include "focus/focus_interface_entry.h"
#include "host/channel_handler.h"
#include "host/channel_interface.h"
#include "module/descriptor_fields.h"

namespace {

const char kServerName[] = "Kelto Focus";

const host::ServerRecord kServers[] = {
    {HOST_CHANNEL_HANDLER_CLASS, kServerName, kelto::activateFocusHandler, nullptr},
    {HOST_CHANNEL_INTERFACE_CLASS, kServerName, kelto::activateFocusInterface, nullptr},
    {nullptr, nullptr, nullptr, nullptr},
};

}  // namespace

extern "C" KELTO_EXPORT const host::ModuleDescriptor _mod_descrip = kelto::moduleDescriptor(kServers);
