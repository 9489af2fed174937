// The two references every modifier of this module holds, the reference item
// and the reference camera, and their resolution: stored names turned into the
// host's item IDs once per load.
#pragma once

#include <cstddef>
#include <cstdint>

#include "channel/item_name.h"
#include "host/host_types.h"

namespace kelto {

// The reference item and the reference camera.
const size_t kReferenceCount = 2;

// Zero when new. Names are what the scene file holds; IDs are what evaluation
// uses, valid only once `resolved` is set. Once resolved, a name is the
// reference only while its ID is null: a reference that found no item keeps
// the name it was loaded with. Each modifier's instance record begins with it.
struct ItemReferences {
    char itemName[kNameSize];                     // reference item's name; empty when new
    char cameraName[kNameSize];                   // reference camera's name; empty when new
    host::ItemId itemId;                          // reference item, or null
    host::ItemId cameraId;                        // reference camera, or null
    int32_t itemChoice;                           // "Reference Item" popup value (object list choice)
    int32_t cameraChoice;                         // "Reference Camera" popup value (camera list choice)
    uint8_t resolved;                             // 1 once the names have been turned into IDs
    uint8_t choicesStale;                         // 1 when item IDs changed since the choices were set
    host::ItemId usedItems[kReferenceCount + 1];  // the list handed to the host's useItems, null-ended
};

// Finds both items by their stored names and sets the IDs and popup choices
// from them. Out of line and cold: it runs once per load.
void resolveNames(ItemReferences& references);

// Once per load or creation: resolves the names. Later calls do nothing. Only
// the instance is written, and the host never evaluates one instance on two
// threads at once, so this lazy write needs no lock. Inline, since every
// evaluation asks.
inline void resolveReferences(ItemReferences& references) {
    if (!references.resolved) resolveNames(references);
}

// Drops the IDs and marks the names for resolution again, as after a load.
void unresolveReferences(ItemReferences& references);

}  // namespace kelto
