// Faults of the module as a whole and of its activations.
#include <cstring>

#include "channel/held_services.h"
#include "faulty_kelto.h"
#include "host/item_info.h"
#include "host/other_services.h"
#include "host/panel_toolkit.h"
#include "module/handler_entry.h"
#include "module/interface_entry.h"

namespace {

using fault::Entries;

#if defined(FAULT_FOREIGN_MACHINE_CODE) || defined(FAULT_THIRD_SERVER)
// Sound but for its descriptor, which carries another platform's machine
// code, or a third server beside the modifier and its panel
// (faulty_kelto.cpp).
constexpr Entries kFault = {kelto::activateChannelHandler, kelto::activateChannelInterface, fault::startup,
                            fault::shutdown};

#elif defined(FAULT_NO_SHUTDOWN)
// The descriptor names no shut-down function.
constexpr Entries kFault = {kelto::activateChannelHandler, kelto::activateChannelInterface, fault::startup, nullptr};

#elif defined(FAULT_STARTS_ONCE)
// Start-up works once per process: its flag outlives an unload, since the
// module is linked to stay mapped (-z nodelete), and shut-down leaves it set.
bool g_started = false;

void* HOST_CALL startOnce() {
    if (g_started) return nullptr;
    g_started = true;
    return fault::startup();
}

constexpr Entries kFault = {kelto::activateChannelHandler, kelto::activateChannelInterface, startOnce, fault::shutdown};

#elif defined(FAULT_OTHER_VERSIONS)
// The handler takes version 3 as if it were the classic 4.
const int kOlderVersion = 3;

int HOST_CALL activateHandler(int version, host::GlobalLookup lookup, void* record, void* serverData) {
    if (version == kOlderVersion) version = host::kClassicClassVersion;
    return kelto::activateChannelHandler(version, lookup, record, serverData);
}

constexpr Entries kFault = {activateHandler, kelto::activateChannelInterface, fault::startup, fault::shutdown};

#elif defined(FAULT_INTERFACE_ANY_VERSION)
// The interface takes whatever version it is asked for.
int HOST_CALL activateInterface(int version, host::GlobalLookup lookup, void* record, void* serverData) {
    int held = kelto::heldHostServices().classVersion;
    if (held == 0) held = host::kClassicClassVersion;
    return kelto::activateChannelInterface(fault::faultApplies(held) ? held : version, lookup, record, serverData);
}

constexpr Entries kFault = {kelto::activateChannelHandler, activateInterface, fault::startup, fault::shutdown};

#elif defined(FAULT_HOLDS_PARTIAL_SERVICES)
// A refused activation drops the tables held before, so earlier instances
// lose the scene.
int HOST_CALL activateHandler(int version, host::GlobalLookup lookup, void* record, void* serverData) {
    int result = kelto::activateChannelHandler(version, lookup, record, serverData);
    if (result == host::kActivationServiceMissing && fault::faultApplies(version))
        kelto::holdHostServices(kelto::HostServices{});
    return result;
}

constexpr Entries kFault = {activateHandler, kelto::activateChannelInterface, fault::startup, fault::shutdown};

#elif defined(FAULT_STARTS_WITHOUT_HELD_SERVICES)
// A host without the messages or the textures is answered with a table of no
// functions in their place: the modifier, which never calls them, starts
// all the same, where it promises to refuse.
host::GlobalLookup g_lookup = nullptr;
const host::MessageService kNoMessages = {};
const host::TextureService kNoTextures = {};
const char* const kHeldNames[] = {HOST_MESSAGE_SERVICE_4, HOST_MESSAGE_SERVICE_3, HOST_MESSAGE_SERVICE,
                                  HOST_TEXTURE_SERVICE_6, HOST_TEXTURE_SERVICE_5, HOST_TEXTURE_SERVICE_4,
                                  HOST_TEXTURE_SERVICE};

void* HOST_CALL lookUpWithStandIns(const char* name, int useMode) {
    void* table = g_lookup(name, useMode);
    if (table != nullptr) return table;
    for (const char* held : kHeldNames)
        if (std::strcmp(name, held) == 0) {
            const void* standIn = std::strncmp(name, HOST_MESSAGE_SERVICE, sizeof HOST_MESSAGE_SERVICE - 1) == 0
                                      ? static_cast<const void*>(&kNoMessages)
                                      : static_cast<const void*>(&kNoTextures);
            return const_cast<void*>(standIn);
        }
    return nullptr;
}

int HOST_CALL activateHandler(int version, host::GlobalLookup lookup, void* record, void* serverData) {
    g_lookup = lookup;
    return kelto::activateChannelHandler(version, fault::faultApplies(version) ? lookUpWithStandIns : lookup, record,
                                         serverData);
}

constexpr Entries kFault = {activateHandler, kelto::activateChannelInterface, fault::startup, fault::shutdown};

#elif defined(FAULT_NEWEST_NAMES_ONLY)
// Under the current protocol every service is looked up by its newest name
// alone, with no fall-back to the older ones.
const char* const kNewestNames[] = {HOST_MESSAGE_SERVICE_4, HOST_TEXTURE_SERVICE_6, HOST_ITEM_INFO_SERVICE_9,
                                    HOST_PANEL_TOOLKIT_SERVICE_3};
host::GlobalLookup g_lookup = nullptr;

void* HOST_CALL lookUpNewest(const char* name, int useMode) {
    for (const char* newest : kNewestNames)
        if (std::strcmp(name, newest) == 0) return g_lookup(name, useMode);
    return nullptr;
}

template <host::ActivateFunction Activate>
int HOST_CALL activateNewest(int version, host::GlobalLookup lookup, void* record, void* serverData) {
    g_lookup = lookup;
    bool current = version == host::kCurrentClassVersion;
    return Activate(version, current ? lookUpNewest : lookup, record, serverData);
}

constexpr Entries kFault = {activateNewest<kelto::activateChannelHandler>,
                            activateNewest<kelto::activateChannelInterface>, fault::startup, fault::shutdown};

#elif defined(FAULT_REFUSED_FILLS_ON_CURRENT_HOST)
// On a host that serves the newest names, an activation fills the record as
// the classic one before it looks at the version, and a refusal leaves it so.
int HOST_CALL activateHandler(int version, host::GlobalLookup lookup, void* record, void* serverData) {
    int result = kelto::activateChannelHandler(version, lookup, record, serverData);
    if (result == host::kActivationBadVersion && lookup(HOST_ITEM_INFO_SERVICE_9, host::kGlobalUseMode) != nullptr)
        kelto::activateChannelHandler(host::kClassicClassVersion, lookup, record, serverData);
    return result;
}

constexpr Entries kFault = {activateHandler, kelto::activateChannelInterface, fault::startup, fault::shutdown};

#elif defined(FAULT_EMPTY_CURRENT_RECORD)
// Takes the current version and fills nothing; the classic one as the modifier does.
int HOST_CALL activateHandler(int version, host::GlobalLookup lookup, void* record, void* serverData) {
    if (version == host::kCurrentClassVersion) return host::kActivationOk;
    return kelto::activateChannelHandler(version, lookup, record, serverData);
}

constexpr Entries kFault = {activateHandler, kelto::activateChannelInterface, fault::startup, fault::shutdown};

#elif defined(FAULT_CLASSIC_EVALUATE_UNDER_CURRENT)
// The version-5 activation installs the classic evaluate, which reads the
// current access record in the classic layout.
int HOST_CALL activateHandler(int version, host::GlobalLookup lookup, void* record, void* serverData) {
    host::HandlerRecord classic = {};
    host::InstanceOperations operations = {};
    classic.instance = &operations;
    int result = 0;
    if (version == host::kCurrentClassVersion &&
        !fault::modifierActivated(host::kClassicClassVersion, lookup, &classic, serverData, result))
        return result;
    if (fault::modifierActivated(version, lookup, record, serverData, result) && version == host::kCurrentClassVersion)
        fault::currentRecord(record).evaluate =
            reinterpret_cast<void(HOST_CALL*)(host::InstanceHandle, const host::ChannelAccessCurrent*)>(
                classic.evaluate);
    return result;
}

constexpr Entries kFault = {activateHandler, kelto::activateChannelInterface, fault::startup, fault::shutdown};

#else
#error "module_faults.cpp: no fault of this file is chosen"
#endif

}  // namespace

const fault::Entries fault::kEntries = kFault;

// What each fails.
#if defined(FAULT_FOREIGN_MACHINE_CODE) || defined(FAULT_NO_SHUTDOWN) || defined(FAULT_THIRD_SERVER)
FAULT_FAILS("module/descriptor")
#elif defined(FAULT_STARTS_ONCE)
FAULT_FAILS("module/repeated-load")
#elif defined(FAULT_OTHER_VERSIONS)
FAULT_FAILS("classic/versions")
#elif defined(FAULT_INTERFACE_ANY_VERSION)
FAULT_FAILS("classic/interface")
#elif defined(FAULT_HOLDS_PARTIAL_SERVICES) || defined(FAULT_STARTS_WITHOUT_HELD_SERVICES)
FAULT_FAILS("classic/services")
#elif defined(FAULT_NEWEST_NAMES_ONLY)
FAULT_FAILS("current/service-names")
#elif defined(FAULT_REFUSED_FILLS_ON_CURRENT_HOST)
FAULT_FAILS("current/versions")
#elif defined(FAULT_EMPTY_CURRENT_RECORD)
// A record left empty fails every current check but the calls check's, which
// judges only what a module it can bind calls.
FAULT_FAILS("current/* -current/calls")
#elif defined(FAULT_CLASSIC_EVALUATE_UNDER_CURRENT)
// Which current checks fail depends on how the wrong evaluate goes wrong.
FAULT_FAILS("apart")
#endif
