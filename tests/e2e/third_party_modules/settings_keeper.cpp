// A channel modifier as a third party writes one from the SDK's records alone: it keeps its settings in
// the scene file through the typed functions of the load and save states, in blocks, never through
// read or write. Its channel is set to how many saves its settings have been through, so a run shows
// whether load found them; everything else it saves as it loaded it, so a scene saved twice differs
// only in the count.
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>

#include "host/channel_handler.h"
#include "host/channel_interface.h"
#include "host/module_descriptor.h"
#include "host/scene_file_states.h"

namespace {

struct Settings {
    float gain = 1.5f;
    float notANumber = std::numeric_limits<float>::quiet_NaN();
    double offset = -0.1;  // no float holds it: a double's all 17 digits must come back
    double infinite = -std::numeric_limits<double>::infinity();
    int saves = 0;
    int window[3] = {-2147483647 - 1, 0, 2147483647};
    char tiny = -128;
    short small = -32768;
    unsigned char byte = 0xFF;
    unsigned short word = 0xBEEF;
    unsigned int flags = 0xDEADBEEF;
    char label[32] = " first \"take\"";
};

const host::IdCode kSettingsId = host::idCode('K', 'E', 'E', 'P');
const host::IdCode kGainId = host::idCode('G', 'A', 'I', 'N'), kOffsetId = host::idCode('O', 'F', 'S', 'T'),
                   kSavesId = host::idCode('S', 'A', 'V', 'E'), kWindowId = host::idCode('W', 'N', 'D', 'W'),
                   kSmallId = host::idCode('S', 'M', 'A', 'L'), kUnsignedId = host::idCode('U', 'N', 'S', 'G'),
                   kLabelId = host::idCode('L', 'A', 'B', 'L');

const host::BlockIdent kRoot[] = {{kSettingsId, "KeeperSettings"}, {host::kNoBlock, nullptr}};
// In the order saved; Label is also the block a later version added, which load must find by name.
const host::BlockIdent kFields[] = {
    {kGainId, "Gain"},   {kOffsetId, "Offset"},     {kSavesId, "Saves"}, {kWindowId, "Window"},
    {kSmallId, "Small"}, {kUnsignedId, "Unsigned"}, {kLabelId, "Label"}, {host::kNoBlock, nullptr},
};
const int kGain = 0, kOffset = 1, kSaves = 2, kWindow = 3, kSmall = 4, kUnsigned = 5, kLabel = 6;

host::InstanceHandle HOST_CALL create(void*, void*, const char**) { return new Settings(); }
void HOST_CALL destroy(host::InstanceHandle instance) { delete static_cast<Settings*>(instance); }
const char* HOST_CALL copy(host::InstanceHandle to, host::InstanceHandle from) {
    *static_cast<Settings*>(to) = *static_cast<const Settings*>(from);
    return nullptr;
}

const char* HOST_CALL save(host::InstanceHandle instance, const host::SaveState* state) {
    const Settings& s = *static_cast<const Settings*>(instance);
    void* data = state->writeData;
    int saves = s.saves + 1;
    state->beginBlk(data, &kRoot[0], 0);
    if (state->depth(data) != 1) return "depth is not 1 inside the settings";
    state->beginBlk(data, &kFields[kGain], 1);
    if (state->depth(data) != 2) return "depth is not 2 inside a field";
    state->writeFP(data, &s.gain, 1);
    state->writeFP(data, &s.notANumber, 1);
    state->endBlk(data);
    state->beginBlk(data, &kFields[kOffset], 1);
    state->writeDP(data, &s.offset, 1);
    state->writeDP(data, &s.infinite, 1);
    state->endBlk(data);
    state->beginBlk(data, &kFields[kSaves], 1);
    state->writeI4(data, &saves, 1);
    state->endBlk(data);
    state->beginBlk(data, &kFields[kWindow], 1);
    state->writeI4(data, s.window, 3);
    state->endBlk(data);
    state->beginBlk(data, &kFields[kSmall], 1);
    state->writeI1(data, &s.tiny, 1);
    state->writeI2(data, &s.small, 1);
    state->endBlk(data);
    state->beginBlk(data, &kFields[kUnsigned], 1);
    state->writeU1(data, &s.byte, 1);
    state->writeU2(data, &s.word, 1);
    state->writeU4(data, &s.flags, 1);
    state->endBlk(data);
    state->beginBlk(data, &kFields[kLabel], 1);
    state->writeStr(data, s.label);
    state->endBlk(data);
    state->endBlk(data);
    return state->depth(data) == 0 ? nullptr : "depth is not 0 after the settings";
}

// Each field read whole or not at all: a short read keeps the default.
const char* HOST_CALL load(host::InstanceHandle instance, const host::LoadState* state) {
    Settings& s = *static_cast<Settings*>(instance);
    void* data = state->readData;
    if (state->findBlk(data, kRoot) != kSettingsId) return "no settings block";
    for (host::IdCode id; (id = state->findBlk(data, kFields)) != host::kNoBlock; state->endBlk(data)) {
        Settings read = s;
        bool whole = false;
        if (id == kGainId) {
            whole = state->readFP(data, &read.gain, 1) == 1 && state->readFP(data, &read.notANumber, 1) == 1;
        } else if (id == kOffsetId) {
            whole = state->readDP(data, &read.offset, 1) == 1 && state->readDP(data, &read.infinite, 1) == 1;
        } else if (id == kSavesId) {
            whole = state->readI4(data, &read.saves, 1) == 1;
        } else if (id == kWindowId) {
            whole = state->readI4(data, read.window, 3) == 3;
        } else if (id == kSmallId) {
            whole = state->readI1(data, &read.tiny, 1) == 1 && state->readI2(data, &read.small, 1) == 1;
        } else if (id == kUnsignedId) {
            whole = state->readU1(data, &read.byte, 1) == 1 && state->readU2(data, &read.word, 1) == 1 &&
                    state->readU4(data, &read.flags, 1) == 1;
        } else if (id == kLabelId) {
            whole = state->readStr(data, read.label, sizeof read.label) >= 0;
        }
        if (!whole) return "a field read short";
        s = read;
        if (state->depth(data) != 2) return "depth is not 2 inside a field";
    }
    state->endBlk(data);
    if (state->depth(data) != 0) return "depth is not 0 after the settings";
    // What NaN and infinity came back as, where the channel cannot show it.
    if (!std::isnan(s.notANumber) || s.infinite != -std::numeric_limits<double>::infinity())
        return "NaN or infinity did not come back";
    return nullptr;
}

const char* HOST_CALL describe(host::InstanceHandle) { return "SETTINGS KEEPER"; }
uint32_t HOST_CALL flags(host::InstanceHandle) { return host::kHandlerFlagsNone; }

void HOST_CALL evaluate(host::InstanceHandle instance, const host::ChannelAccess* access) {
    access->setChannel(access->channel, static_cast<const Settings*>(instance)->saves);
}

int HOST_CALL activateHandler(int version, host::GlobalLookup, void* local, void*) {
    if (version != host::kClassicClassVersion) return host::kActivationBadVersion;
    host::HandlerRecord* record = static_cast<host::HandlerRecord*>(local);
    *record->instance = {record->instance->hostData, create, destroy, copy, load, save, describe};
    record->evaluate = evaluate;
    record->flags = flags;
    return host::kActivationOk;
}

// No panel: the run goes on without one.
int HOST_CALL activateInterface(int, host::GlobalLookup, void*, void*) { return host::kActivationOk; }

int g_server;
void* HOST_CALL startup() { return &g_server; }
void HOST_CALL shutdown(void*) {}

const host::ServerRecord kServers[] = {
    {HOST_CHANNEL_HANDLER_CLASS, "SettingsKeeper", activateHandler, nullptr},
    {HOST_CHANNEL_INTERFACE_CLASS, "SettingsKeeper", activateInterface, nullptr},
    {nullptr, nullptr, nullptr, nullptr},
};

}  // namespace

extern "C" __attribute__((visibility("default"))) const host::ModuleDescriptor _mod_descrip = {
    host::kModuleSyncWord, host::kPluginSystemVersion, host::kMachineCodeOfThisPlatform, startup, shutdown, kServers,
};
