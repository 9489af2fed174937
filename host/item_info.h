// The item-info service: walks the scene's item lists and answers questions about one item.
#pragma once

#include <cstddef>

#include "host/host_types.h"

namespace host {

// The service's names, newest first. Every one serves the functions below at the same positions;
// the newer ones return names in UTF-8.
#define HOST_ITEM_INFO_SERVICE_9 "LW Item Info 9"
#define HOST_ITEM_INFO_SERVICE_8 "LW Item Info 8"
#define HOST_ITEM_INFO_SERVICE "LW Item Info 3"

// Parameter codes of param. Each writes three doubles, in world coordinates, for the item as it
// stands at the time asked, its parents' motion included.

// The item's +X axis (its right): a unit vector times the item's X scale.
const int kItemParamRight = 2;
// The item's +Y axis (its up): a unit vector times the item's Y scale.
const int kItemParamUp = 3;
// The item's +Z axis (its forward, where a camera looks): a unit vector times the item's Z scale.
const int kItemParamForward = 4;
// The item's pivot point in the world.
const int kItemParamWorldPosition = 8;

// Process-wide table owned by the host, valid while the module is loaded. Its functions may be
// called from any host call into the module, evaluate on a render thread included. A text that one
// returns belongs to the host and stays valid only until the next call of this table on the same
// thread: copy or compare it at once.
struct ItemInfoService {
    // First item of the typeCode list (children of `parent`, or all with null); null when empty.
    // Any thread the host calls the module on.
    ItemId (HOST_CALL* first)(int typeCode, ItemId parent);
    // The item after `item` in its list; null at the end. Any thread the host calls the module on.
    ItemId (HOST_CALL* next)(ItemId item);
    // Host function not declared here.
    const void* slot3;
    // Host function not declared here.
    const void* slot4;
    // Host function not declared here.
    const void* slot5;
    // Host function not declared here.
    const void* slot6;
    // Host function not declared here.
    const void* slot7;
    // Host function not declared here.
    const void* slot8;
    // The item's NUL-terminated name; the host's text, valid until the thread's next call of this
    // table. Any thread the host calls the module on.
    const char* (HOST_CALL* name)(ItemId item);
    // Writes parameter `code` at `time` into the caller's out; returns nonzero when written.
    // Any thread the host calls the module on.
    int (HOST_CALL* param)(ItemId item, int code, double time, double out[3]);
};

// The positions above are the host's; a miscounted slot must not compile.
static_assert(offsetof(ItemInfoService, next) == 1 * sizeof(void*), "next is the 2nd function");
static_assert(offsetof(ItemInfoService, name) == 8 * sizeof(void*), "name is the 9th function");
static_assert(offsetof(ItemInfoService, param) == 9 * sizeof(void*), "param is the 10th function");

}  // namespace host
