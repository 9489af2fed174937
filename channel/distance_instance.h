// The per-channel record that the host creates for each applied modifier, and
// the lifecycle operations that do not touch the scene file.
#pragma once

#include <cstddef>
#include <cstdint>

#include "host/host_types.h"

namespace kelto {

const size_t kDescriptionSize = 100;
const size_t kNameSize = 256;
// The reference item and the reference camera.
const size_t kReferenceCount = 2;

// The line shown in the host's lists for every instance.
extern const char kDescriptionLine[];

// Fixed-size record, zero when new. Names are what the scene file holds; IDs
// are what evaluation uses, valid only once `resolved` is set. Once resolved,
// a name is the reference only while its ID is null: a reference that found
// no item keeps the name it was loaded with.
struct DistanceInstance {
    char description[kDescriptionSize];  // the description line
    char itemName[kNameSize];            // reference item's name; empty when new
    char cameraName[kNameSize];          // reference camera's name; empty when new
    host::ItemId itemId;                 // reference item, or null
    host::ItemId cameraId;               // reference camera, or null
    int32_t itemChoice;                  // "Reference Item" popup value (object list choice)
    int32_t cameraChoice;                // "Reference Camera" popup value (camera list choice)
    uint8_t resolved;                    // 1 once the names have been turned into IDs
    uint8_t choicesStale;                // 1 when item IDs changed since the choices were set
    host::ItemId usedItems[kReferenceCount + 1];  // the list handed to the host's useItems, null-ended
};

// A zero-filled instance from the heap with its description set, or null when
// the heap is exhausted.
DistanceInstance* createInstance();

// Returns the instance to the heap; null is ignored.
void destroyInstance(DistanceInstance* instance);

// Makes `to` an exact duplicate of `from`.
void copyInstance(DistanceInstance& to, const DistanceInstance& from);

// Rewrites and returns the instance's description buffer.
const char* describeInstance(DistanceInstance& instance);

// Handler flags: none.
uint32_t instanceFlags(const DistanceInstance& instance);

}  // namespace kelto
