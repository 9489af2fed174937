// Faults of the item operations.
#include <cstring>

#include "channel/item_renumbering.h"
#include "faulty_kelto.h"
#include "module/distance_handle.h"
#include "module/handler_entry.h"
#include "module/interface_entry.h"

namespace {

using fault::Entries;

#if defined(FAULT_NO_ITEM_OPERATIONS)
// The item operations are left unfilled: the module hears of no new IDs.
void change(int, void* record) {
    host::ItemOperations* operations = fault::handlerRecord(record).itemOperations;
    if (operations == nullptr) return;
    operations->useItems = nullptr;
    operations->changeID = nullptr;
}

#elif defined(FAULT_CHANGEID_ITEM_ONLY)
// changeID follows the item reference alone: the camera keeps its old ID.
void(HOST_CALL* g_changeID)(host::InstanceHandle, const host::ItemId*) = nullptr;

void HOST_CALL changeItemOnly(host::InstanceHandle instance, const host::ItemId* pairs) {
    kelto::DistanceInstance& held = *kelto::instanceOf(instance);
    host::ItemId camera = held.cameraId;
    g_changeID(instance, pairs);
    held.cameraId = camera;
}

void change(int, void* record) {
    host::ItemOperations* operations = fault::handlerRecord(record).itemOperations;
    if (operations == nullptr) return;
    g_changeID = operations->changeID;
    operations->changeID = changeItemOnly;
}

#elif defined(FAULT_DELETED_SAVED_BY_NAME)
// A reference whose item is deleted keeps the name it held, so the scene
// saves that name where the README promises none.
void(HOST_CALL* g_changeID)(host::InstanceHandle, const host::ItemId*) = nullptr;

void HOST_CALL changeKeepingNames(host::InstanceHandle instance, const host::ItemId* pairs) {
    kelto::DistanceInstance& held = *kelto::instanceOf(instance);
    kelto::DistanceInstance before = held;
    g_changeID(instance, pairs);
    if (before.itemId != nullptr && held.itemId == nullptr)
        std::memcpy(held.itemName, before.itemName, sizeof held.itemName);
    if (before.cameraId != nullptr && held.cameraId == nullptr)
        std::memcpy(held.cameraName, before.cameraName, sizeof held.cameraName);
}

void change(int, void* record) {
    host::ItemOperations* operations = fault::handlerRecord(record).itemOperations;
    if (operations == nullptr) return;
    g_changeID = operations->changeID;
    operations->changeID = changeKeepingNames;
}

#elif defined(FAULT_USES_ITEM_ONLY)
// useItems lists the item reference alone.
host::ItemId g_used[2];

const host::ItemId* HOST_CALL usesItemOnly(host::InstanceHandle instance) {
    g_used[0] = kelto::instanceOf(instance)->itemId;
    g_used[1] = nullptr;
    return g_used[0] != nullptr ? g_used : nullptr;
}

void change(int, void* record) {
    if (host::ItemOperations* operations = fault::handlerRecord(record).itemOperations)
        operations->useItems = usesItemOnly;
}

#elif defined(FAULT_CHOICES_FOLLOW_OWN_IDS)
// The popup choices are set again only when a reference's own ID changes,
// as if IDs were places: under a host that keeps IDs, a deletion before the
// reference leaves the panel showing the wrong place.
void(HOST_CALL* g_changeID)(host::InstanceHandle, const host::ItemId*) = nullptr;

void HOST_CALL changeKeepingChoices(host::InstanceHandle instance, const host::ItemId* pairs) {
    kelto::DistanceInstance& held = *kelto::instanceOf(instance);
    host::ItemId before[2] = {held.itemId, held.cameraId};
    uint8_t stale = held.choicesStale;
    g_changeID(instance, pairs);
    if (held.itemId == before[0] && held.cameraId == before[1]) held.choicesStale = stale;
}

void change(int, void* record) {
    host::ItemOperations* operations = fault::handlerRecord(record).itemOperations;
    if (operations == nullptr) return;
    g_changeID = operations->changeID;
    operations->changeID = changeKeepingChoices;
}

#else
#error "item_faults.cpp: no fault of this file is chosen"
#endif

constexpr Entries kFault = {fault::activateChanged<change>, kelto::activateChannelInterface, fault::startup,
                            fault::shutdown};

}  // namespace

const fault::Entries fault::kEntries = kFault;

// What each fails.
#if defined(FAULT_NO_ITEM_OPERATIONS)
// Without item operations a module neither follows IDs nor lists the items
// it uses.
FAULT_FAILS("classic/renumbering classic/used-items")
#elif defined(FAULT_CHANGEID_ITEM_ONLY) || defined(FAULT_DELETED_SAVED_BY_NAME)
FAULT_FAILS("classic/renumbering")
#elif defined(FAULT_USES_ITEM_ONLY)
FAULT_FAILS("classic/used-items")
#elif defined(FAULT_CHOICES_FOLLOW_OWN_IDS)
FAULT_FAILS("current/renumbering")
#endif
