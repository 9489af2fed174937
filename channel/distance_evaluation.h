// The modifier's work: at each evaluation the channel becomes the distance
// between the reference item and the reference camera.
#pragma once

#include "channel/distance_instance.h"
#include "channel/item_references.h"

namespace kelto {

// A world position as the host writes it: x, y, z in one array, so that the
// host's query fills it in place.
struct Position {
    double xyz[3];
    double x() const { return xyz[0]; }
    double y() const { return xyz[1]; }
    double z() const { return xyz[2]; }
};

// Straight-line distance, each square a pow(d, 2.0), summed as
// (dz² + dy²) + dx². Rounding depends on that order, so it is kept; every
// build computes the same bits because each does its doubles in SSE2
// registers, rounding after every operation, with no fused multiply-add.
double distanceBetween(const Position& a, const Position& b);

// Resolves if needed, then computes the distance at `time` into `distance`.
// False, with no position asked for, while either reference is missing, and
// false when the host answers a position query with 0: the channel then keeps
// its own value. A resolved evaluation costs two position queries and the
// arithmetic: no list walk, no copy, no allocation.
bool evaluateDistance(DistanceInstance& instance, double time, double& distance);

}  // namespace kelto
