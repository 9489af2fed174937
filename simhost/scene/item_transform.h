// Where an item is and how it is turned at a time, through its parents, as
// the host computes it:
//
//     local = position · pivot rotation · heading · pitch · bank · scale · -pivot
//     world = parent's world · local
//
// so that a point p of the item's own coordinates lies in the world at
// world(p), and the item's world position, its pivot's world point, is its
// keyed position carried through its parents. The item's right, up and
// forward are the columns of the world's turn and stretch (item info's
// codes 2 to 4); their inverse, the world's axes as the item sees them,
// codes 9 to 11. A question costs the depth of the item's hierarchy.
#pragma once

#include "simhost/scene/item_axes.h"
#include "simhost/scene/scene.h"

namespace sim {

// x' = axes · x + origin, the axes as the columns.
struct Placement {
    ItemAxes axes = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
    Vec3 origin;

    Vec3 apply(const Vec3& point) const;
    Placement then(const Placement& inner) const;  // this · inner
};

// The item's placement in its parent's coordinates, at a time on the
// scene's motion clock.
Placement localPlacement(const SceneItem& item, double time);

// The item's placement in the world: its parents' placements and its own.
// A hierarchy deeper than the scene has items (a loop, which a scene file
// cannot make) stops there.
Placement worldPlacement(const Scene& scene, const SceneItem& item, double time);

// The item's pivot in the world: its keyed position through its parents.
Vec3 worldPosition(const Scene& scene, const SceneItem& item, double time);

// The world's +X, +Y and +Z in the item's coordinates: the inverse of its
// world axes; zeros where they have no inverse (a scale of 0).
ItemAxes inverseAxes(const ItemAxes& axes);

}  // namespace sim
