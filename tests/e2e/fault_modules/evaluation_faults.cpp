// Faults of the evaluation.
#include <cmath>

#include "channel/distance_evaluation.h"
#include "faulty_kelto.h"
#include "module/handler_entry.h"
#include "module/instance_handle.h"
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

#else
#error "evaluation_faults.cpp: no fault of this file is chosen"
#endif


constexpr Entries kFault = {fault::activateChanged<change>, fault::modifierInterface, fault::startup,
                            fault::shutdown};

}  // namespace

const fault::Entries fault::kEntries = kFault;
