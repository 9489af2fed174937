// An item's axes in world coordinates, as the host's item info gives them
// (its right, up and forward): the item's local +X, +Y and +Z turned by its
// rotation and each stretched by its scale on that axis.
//
// The host's rotation order: bank about Z first, then pitch about X, then
// heading about Y, each in the item's frame as the one before left it, so
// that world = heading · pitch · bank · local. Its axes are +X right, +Y up
// and +Z forward; a positive heading turns forward towards +X, a positive
// pitch turns it down towards -Y, and a positive bank turns right towards +Y.
#pragma once

#include "simhost/scene/item_motion.h"

namespace sim {

struct ItemAxes {
    Vec3 right, up, forward;
};

// `rotation` in degrees, as scene files key it.
ItemAxes itemAxes(const Rotation& rotation, const Vec3& scale);

}  // namespace sim
