// The modifier's work: at each evaluation the channel becomes the distance
// between the reference item and the reference camera.
#pragma once

#include "channel/distance_instance.h"
#include "channel/item_references.h"
#include "channel/straight_line.h"

namespace kelto {

// Resolves if needed, then computes the distance at `time` into `distance`.
// False, with no position asked for, while either reference is missing (or
// the host serves no position query): the channel then keeps its own value. A resolved evaluation costs two position
// queries and the arithmetic: no list walk, no copy, no allocation.
bool evaluateDistance(DistanceInstance& instance, double time, double& distance);

}  // namespace kelto
