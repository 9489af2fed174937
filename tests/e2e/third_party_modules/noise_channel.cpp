// A channel modifier as a third party writes one: it sets its channel from the host's noise function and
// says so through the host's messages when it is first evaluated. Both services are the host's to
// serve to any module; only Kelto and Kelto Focus promise never to call them.
#include "host/channel_handler.h"
#include "host/channel_interface.h"
#include "host/module_descriptor.h"
#include "host/other_services.h"

namespace {

const host::TextureService* g_textures = nullptr;
const host::MessageService* g_messages = nullptr;
int g_instance;

host::InstanceHandle HOST_CALL create(void*, void*, const char**) { return &g_instance; }
void HOST_CALL destroy(host::InstanceHandle) {}
const char* HOST_CALL copy(host::InstanceHandle, host::InstanceHandle) { return nullptr; }
const char* HOST_CALL load(host::InstanceHandle, const host::LoadState*) { return nullptr; }
const char* HOST_CALL save(host::InstanceHandle, const host::SaveState*) { return nullptr; }
const char* HOST_CALL describe(host::InstanceHandle) { return "NOISE CHANNEL"; }
uint32_t HOST_CALL flags(host::InstanceHandle) { return host::kHandlerFlagsNone; }

void HOST_CALL evaluate(host::InstanceHandle, const host::ChannelAccess* access) {
    double point[3] = {access->time, 0, 0};
    if (access->time == 0) g_messages->info("Noise Channel", "evaluating");
    access->setChannel(access->channel, g_textures->noise(point));
}

int HOST_CALL activateHandler(int version, host::GlobalLookup lookup, void* local, void*) {
    if (version != host::kClassicClassVersion) return host::kActivationBadVersion;
    g_textures = static_cast<const host::TextureService*>(lookup(HOST_TEXTURE_SERVICE_5, host::kGlobalUseMode));
    g_messages = static_cast<const host::MessageService*>(lookup(HOST_MESSAGE_SERVICE_3, host::kGlobalUseMode));
    if (g_textures == nullptr || g_messages == nullptr) return host::kActivationServiceMissing;
    host::HandlerRecord* record = static_cast<host::HandlerRecord*>(local);
    *record->instance = {record->instance->hostData, create, destroy, copy, load, save, describe};
    record->evaluate = evaluate;
    record->flags = flags;
    return host::kActivationOk;
}

int HOST_CALL activateInterface(int, host::GlobalLookup, void*, void*) { return host::kActivationOk; }

int g_server;
void* HOST_CALL startup() { return &g_server; }
void HOST_CALL shutdown(void*) {}

const host::ServerRecord kServers[] = {
    {HOST_CHANNEL_HANDLER_CLASS, "NoiseChannel", activateHandler, nullptr},
    {HOST_CHANNEL_INTERFACE_CLASS, "NoiseChannel", activateInterface, nullptr},
    {nullptr, nullptr, nullptr, nullptr},
};

}  // namespace

extern "C" __attribute__((visibility("default"))) const host::ModuleDescriptor _mod_descrip = {
    host::kModuleSyncWord, host::kPluginSystemVersion, host::kMachineCodeOfThisPlatform, startup, shutdown, kServers,
};
