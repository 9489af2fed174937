// The per-channel record that the host creates for each applied modifier, and
// the lifecycle operations that do not touch the scene file.
#pragma once

#include <cstddef>
#include <cstdint>

#include "channel/item_references.h"

namespace kelto {

const size_t kDescriptionSize = 100;

// The line shown in the host's lists for every instance.
extern const char kDescriptionLine[];

// Fixed-size record, zero when new: the two references and the description.
struct DistanceInstance : ItemReferences {
    char description[kDescriptionSize];  // the description line
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
