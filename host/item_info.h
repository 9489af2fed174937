// The item-info service "LW Item Info 3": walks the scene's item lists and
// answers questions about one item.
#pragma once

#include "host/host_types.h"

namespace host {

#define HOST_ITEM_INFO_SERVICE "LW Item Info 3"

// Parameter code that yields an item's world position.
const int kItemParamWorldPosition = 8;

// Function table owned by the host; every function may be called at any time
// while the module is loaded. Slots the module never calls are opaque.
struct ItemInfoService {
    ItemId (HOST_CALL* first)(int typeCode, ItemId parent);  // first item of the list of typeCode (parent null), or null when empty
    ItemId (HOST_CALL* next)(ItemId item);                   // the item after `item` in its list, or null at the end
    const void* reserved3;                                   // not used by the module
    const void* reserved4;                                   // not used by the module
    const void* reserved5;                                   // not used by the module
    const void* reserved6;                                   // not used by the module
    const void* reserved7;                                   // not used by the module
    const void* reserved8;                                   // not used by the module
    const char* (HOST_CALL* name)(ItemId item);              // item's NUL-terminated name, owned by the host and valid only until the next host call
    int (HOST_CALL* param)(ItemId item, int code, double time, double out[3]);  // writes the parameter `code` at `time` into out; result ignored
};

}  // namespace host
