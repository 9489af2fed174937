// The per-channel record that the host creates for each applied modifier, and
// the lifecycle operations that do not touch the scene file.
#pragma once

#include <cstddef>

#include "channel/instance_record.h"
#include "channel/item_references.h"

namespace kelto {

const size_t kDescriptionSize = 100;

// The line shown in the host's lists for every instance.
extern const char kDescriptionLine[];

// Fixed-size record, zero when new: the two references and the description.
struct DistanceInstance : ItemReferences {
    char description[kDescriptionSize];  // the description line
};

// Writes kDescriptionLine into the instance's description buffer.
void writeDistanceDescription(DistanceInstance& instance);

// Kelto's lifecycle: every instance describes itself with kDescriptionLine.
typedef InstanceOperations<DistanceInstance, writeDistanceDescription> DistanceLifecycle;

}  // namespace kelto
