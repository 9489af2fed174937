// The modifier's work: at each evaluation the channel becomes the distance
// between the reference item and the reference camera.
#pragma once

#include "channel/distance_instance.h"
#include "host/channel_handler.h"

namespace kelto {

struct Position {
    double x, y, z;
};

// Straight-line distance, summed as (dz² + dy²) + dx² so that every build
// produces the same bits.
double distanceBetween(const Position& a, const Position& b);

// Once per load or creation: finds both items by their stored names and sets
// the IDs and popup choices from them. Later calls do nothing.
void resolveReferences(DistanceInstance& instance);

// Resolves if needed, then sets the channel to the distance at the access
// record's time. While either reference is missing the channel keeps its value.
void evaluateDistance(DistanceInstance& instance, const host::ChannelAccess& access);

}  // namespace kelto
