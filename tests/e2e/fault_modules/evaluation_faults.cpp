// Faults of the evaluation.
#include <cmath>
#include <cstring>
#include <type_traits>

#include "channel/distance_evaluation.h"
#include "channel/held_services.h"
#include "faulty_kelto.h"
#include "host/item_info.h"
#include "host/other_services.h"
#include "module/distance_handle.h"
#include "module/handler_entry.h"
#include "module/interface_entry.h"

namespace {

using fault::Entries;

#if defined(FAULT_RESOLVING_SETS_TWICE)
// Sets the channel a second time in the evaluation that resolves the names.
void(HOST_CALL* g_evaluate)(host::InstanceHandle, const host::ChannelAccess*) = nullptr;

void HOST_CALL evaluateTwiceWhenResolving(host::InstanceHandle instance, const host::ChannelAccess* access) {
    bool resolving = instance != nullptr && kelto::instanceOf(instance)->resolved == 0;
    g_evaluate(instance, access);
    if (resolving) access->setChannel(access->channel, access->value);
}

void change(int, void* record) {
    g_evaluate = fault::handlerRecord(record).evaluate;
    fault::handlerRecord(record).evaluate = evaluateTwiceWhenResolving;
}

#elif defined(FAULT_FRAME_TIME)
// Positions are asked for at the nearest frame of 24 per second, not at the
// time evaluated.
const double kFramesPerSecond = 24;

template <typename Access>
void HOST_CALL evaluateAtFrame(host::InstanceHandle instance, const Access* access) {
    Access atFrame = *access;
    atFrame.time = std::round(access->time * kFramesPerSecond) / kFramesPerSecond;
    fault::ModifierEvaluate<Access>::function(instance, &atFrame);
}

void change(int version, void* record) {
    fault::wrapEvaluate<nullptr, nullptr>(version, record);
    if (version == host::kCurrentClassVersion)
        fault::currentRecord(record).evaluate = evaluateAtFrame<host::ChannelAccessCurrent>;
    else
        fault::handlerRecord(record).evaluate = evaluateAtFrame<host::ChannelAccess>;
}

#elif defined(FAULT_READS_CHANNEL)
// Reads its own channel at every evaluation, as a modifier that blended the
// channel's value in would: the host allows it, the modifier promises never
// to, and the value it sets is the modifier's own.
template <typename Access>
void HOST_CALL evaluateReading(host::InstanceHandle instance, const Access* access) {
    double value = 0;
    if constexpr (std::is_same_v<Access, host::ChannelAccess>)
        access->getChannel(access->channel, access->time, &value);
    else
        access->getChannel(access->hostData, access->channel, access->time, &value);
    fault::ModifierEvaluate<Access>::function(instance, access);
}

void change(int version, void* record) {
    fault::wrapEvaluate<nullptr, nullptr>(version, record);
    if (version == host::kCurrentClassVersion)
        fault::currentRecord(record).evaluate = evaluateReading<host::ChannelAccessCurrent>;
    else
        fault::handlerRecord(record).evaluate = evaluateReading<host::ChannelAccess>;
}

#elif defined(FAULT_NEGATIVE_DISTANCE)
// Sets the distance with its sign turned.
void(HOST_CALL* g_setClassic)(host::ChannelId, double) = nullptr;
void(HOST_CALL* g_setCurrent)(void*, host::ChannelId, double) = nullptr;

void HOST_CALL setNegated(host::ChannelId channel, double value) { g_setClassic(channel, -value); }
void HOST_CALL setNegatedCurrent(void* hostData, host::ChannelId channel, double value) {
    g_setCurrent(hostData, channel, -value);
}

template <typename Access>
void HOST_CALL evaluateNegated(host::InstanceHandle instance, const Access* access) {
    Access negating = *access;
    if constexpr (std::is_same_v<Access, host::ChannelAccess>) {
        g_setClassic = access->setChannel;
        negating.setChannel = setNegated;
    } else {
        g_setCurrent = access->setChannel;
        negating.setChannel = setNegatedCurrent;
    }
    fault::ModifierEvaluate<Access>::function(instance, &negating);
}

void change(int version, void* record) {
    fault::wrapEvaluate<nullptr, nullptr>(version, record);
    if (version == host::kCurrentClassVersion)
        fault::currentRecord(record).evaluate = evaluateNegated<host::ChannelAccessCurrent>;
    else
        fault::handlerRecord(record).evaluate = evaluateNegated<host::ChannelAccess>;
}

#elif defined(FAULT_CALLS_NOISE)
// Calls the texture functions' noise after every evaluation: a service the
// host serves, which Kelto only holds.
void callNoise(host::InstanceHandle) {
    double point[3] = {0, 0, 0};
    kelto::heldHostServices().textures->noise(point);
}

void change(int version, void* record) { fault::wrapEvaluate<nullptr, callNoise>(version, record); }

#elif defined(FAULT_PICKS_LOST)
// Every evaluation looks the stored names up again, so a pick made in the
// panel, and a renamed item, are lost.
void forgetResolution(host::InstanceHandle instance) { kelto::instanceOf(instance)->resolved = 0; }

void change(int version, void* record) { fault::wrapEvaluate<forgetResolution, nullptr>(version, record); }

#elif defined(FAULT_CRASHES_ON_MISSING)
// Reads a field of a record that is not there when a reference is missing:
// a crash, at the small address the field lies at past null.
const uintptr_t kFieldOffset = 8;

void followMissing(host::InstanceHandle instance) {
    kelto::DistanceInstance& held = *kelto::instanceOf(instance);
    if (held.itemId != nullptr && held.cameraId != nullptr) return;
    volatile uintptr_t field = kFieldOffset;
    (void)*reinterpret_cast<const volatile int*>(field);
}

void change(int version, void* record) { fault::wrapEvaluate<nullptr, followMissing>(version, record); }

#elif defined(FAULT_HOST_DATA_AS_CHANNEL)
// Under the current protocol set-channel gets the channel ID where the
// host's data belongs.
void HOST_CALL evaluateCurrent(host::InstanceHandle instance, const host::ChannelAccessCurrent* access) {
    double distance = 0;
    if (kelto::evaluateDistance(*kelto::instanceOf(instance), access->time, distance))
        access->setChannel(access->channel, access->channel, distance);
}

void change(int version, void* record) {
    if (version == host::kCurrentClassVersion) fault::currentRecord(record).evaluate = evaluateCurrent;
}

#elif defined(FAULT_READS_PARAM_RESULT)
// Takes a result from param, which returns nothing: an evaluation in which a
// position query left 0 in the return register is taken as unwritten, and
// the channel is left alone, as a module declaring param to return int would.
host::GlobalLookup g_lookup = nullptr;
host::ItemInfoService g_itemInfo;
void(HOST_CALL* g_hostParam)(host::ItemId, int, double, double*) = nullptr;
bool g_unwritten = false;

void HOST_CALL paramWithResult(host::ItemId item, int code, double time, double* values) {
    typedef int(HOST_CALL * Trusted)(host::ItemId, int, double, double*);
    Trusted trusted = reinterpret_cast<Trusted>(reinterpret_cast<void (*)()>(g_hostParam));
    if (trusted(item, code, time, values) == 0) g_unwritten = true;
}

void* HOST_CALL lookUp(const char* name, int useMode) {
    void* table = g_lookup(name, useMode);
    const char* itemInfoNames[] = {HOST_ITEM_INFO_SERVICE, HOST_ITEM_INFO_SERVICE_8, HOST_ITEM_INFO_SERVICE_9};
    bool itemInfo = false;
    for (const char* itemInfoName : itemInfoNames) itemInfo = itemInfo || std::strcmp(name, itemInfoName) == 0;
    if (table == nullptr || !itemInfo) return table;
    g_itemInfo = *static_cast<const host::ItemInfoService*>(table);
    g_hostParam = g_itemInfo.param;
    g_itemInfo.param = paramWithResult;
    return &g_itemInfo;
}

template <typename Access>
struct HostSet {
    static inline decltype(Access::setChannel) function = nullptr;
};

void HOST_CALL setUnlessUnwritten(host::ChannelId channel, double value) {
    if (!g_unwritten) HostSet<host::ChannelAccess>::function(channel, value);
}

void HOST_CALL setUnlessUnwrittenCurrent(void* hostData, host::ChannelId channel, double value) {
    if (!g_unwritten) HostSet<host::ChannelAccessCurrent>::function(hostData, channel, value);
}

template <typename Access, decltype(Access::setChannel) Set>
void HOST_CALL evaluateTrusting(host::InstanceHandle instance, const Access* access) {
    g_unwritten = false;
    Access trusting = *access;
    HostSet<Access>::function = access->setChannel;
    trusting.setChannel = Set;
    fault::ModifierEvaluate<Access>::function(instance, &trusting);
}

void change(int version, void* record) {
    fault::wrapEvaluate<nullptr, nullptr>(version, record);
    if (version == host::kCurrentClassVersion)
        fault::currentRecord(record).evaluate = evaluateTrusting<host::ChannelAccessCurrent, setUnlessUnwrittenCurrent>;
    else
        fault::handlerRecord(record).evaluate = evaluateTrusting<host::ChannelAccess, setUnlessUnwritten>;
}

int HOST_CALL activateTrusting(int version, host::GlobalLookup lookup, void* record, void* serverData) {
    g_lookup = lookup;
    int result = 0;
    if (fault::modifierActivated(version, lookUp, record, serverData, result) && fault::faultApplies(version))
        change(version, record);
    return result;
}

#else
#error "evaluation_faults.cpp: no fault of this file is chosen"
#endif

#if defined(FAULT_READS_PARAM_RESULT)
constexpr Entries kFault = {activateTrusting, fault::modifierInterface, fault::startup, fault::shutdown};
#else
constexpr Entries kFault = {fault::activateChanged<change>, fault::modifierInterface, fault::startup, fault::shutdown};
#endif

}  // namespace

const fault::Entries fault::kEntries = kFault;

// What each fails.
#define SETTING_CHECKS(protocol)                                                                                   \
    protocol "/random-blocks " protocol "/missing-references " protocol "/long-names " protocol "/picks " protocol \
             "/sub-frame-times " protocol "/hierarchy " protocol "/renumbering " protocol "/renames "
#define FOCUS_SETTING_CHECKS(protocol) protocol "/straight-line " protocol "/measure " protocol "/lag "
// Checks whose blocks of names found must set the channel.
#define FOUND_BLOCK_CHECKS(protocol) protocol "/save-load-save " protocol "/empty-line "
#define FOCUS_FOUND_BLOCK_CHECKS(protocol) protocol "/blanks " protocol "/kelto-block "
#if defined(FAULT_RESOLVING_SETS_TWICE) || defined(FAULT_CRASHES_ON_MISSING)
// Told by what their failures say, not by which fail.
FAULT_FAILS("apart")
#elif defined(FAULT_FRAME_TIME) && defined(FAULTY_KELTO_FOCUS)
// Positions asked for at the nearest frame: every check of the value at
// times between frames.
FAULT_FAILS("classic/sub-frame-times " FOCUS_SETTING_CHECKS("classic"))
#elif defined(FAULT_FRAME_TIME)
FAULT_FAILS("classic/sub-frame-times")
#elif defined(FAULT_NEGATIVE_DISTANCE)
// A distance below 0 breaks Kelto's promise in every check whose channel is
// set: all but the versions', the interface's, the empty names' and the
// calls', which judges only what is called.
FAULT_FAILS("module/repeated-load classic/* -classic/versions -classic/interface -classic/empty-names -classic/calls")
#elif defined(FAULT_CALLS_NOISE) || defined(FAULT_READS_CHANNEL)
// A call the host allows and the modifier promises never to make: the calls
// check's alone.
FAULT_FAILS("classic/calls")
#elif defined(FAULT_PICKS_LOST)
// Looking names up at every evaluation loses picks and renamed items (the
// long-names check picks its items of long names), and finds an item added
// under a missing name before the next load.
FAULT_FAILS("classic/picks classic/renames classic/long-names classic/missing-references")
#elif defined(FAULT_HOST_DATA_AS_CHANNEL)
// A set-channel the host refuses fails every current check that sets the
// channel, but the calls check, which judges only what is called.
FAULT_FAILS("current/* -current/versions -current/interface -current/empty-names -current/calls")
#elif defined(FAULT_READS_PARAM_RESULT)
// A result read from param, which returns nothing, is "not written" wherever
// the host leaves 0: every check whose channel must be set fails, under each
// protocol the fault is made under; the repeated load evaluates under the
// classic one, the service names' check under the current one.
#if defined(FAULTY_KELTO_FOCUS) && defined(FAULT_UNDER_CURRENT_ONLY)
FAULT_FAILS(SETTING_CHECKS("classic") FOUND_BLOCK_CHECKS("classic") FOCUS_SETTING_CHECKS("classic")
                FOCUS_FOUND_BLOCK_CHECKS("classic") "classic/hierarchy-view current/service-names")
#elif defined(FAULTY_KELTO_FOCUS)
FAULT_FAILS(SETTING_CHECKS("classic") FOUND_BLOCK_CHECKS("classic") FOCUS_SETTING_CHECKS("classic")
                FOCUS_FOUND_BLOCK_CHECKS("classic") "classic/hierarchy-view module/repeated-load")
#else
FAULT_FAILS(SETTING_CHECKS("classic") FOUND_BLOCK_CHECKS("classic") SETTING_CHECKS("current")
                FOUND_BLOCK_CHECKS("current") "module/repeated-load current/service-names")
#endif
#endif
