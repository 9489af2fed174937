#include "simhost/scene/item_transform.h"

#include <cmath>

namespace sim {

namespace {

Vec3 plus(const Vec3& a, const Vec3& b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }

Vec3 times(const Vec3& v, double factor) { return {v.x * factor, v.y * factor, v.z * factor}; }

// axes · v
Vec3 turned(const ItemAxes& axes, const Vec3& v) {
    return plus(plus(times(axes.right, v.x), times(axes.up, v.y)), times(axes.forward, v.z));
}

Vec3 cross(const Vec3& a, const Vec3& b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

double dot(const Vec3& a, const Vec3& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

size_t itemCount(const Scene& scene) {
    return scene.objects.size() + scene.lights.size() + scene.cameras.size() + scene.bones.size();
}

}  // namespace

Vec3 Placement::apply(const Vec3& point) const { return plus(turned(axes, point), origin); }

Placement Placement::then(const Placement& inner) const {
    Placement result;
    result.axes = {turned(axes, inner.axes.right), turned(axes, inner.axes.up), turned(axes, inner.axes.forward)};
    result.origin = apply(inner.origin);
    return result;
}

Placement localPlacement(const SceneItem& item, double time) {
    const ItemAxes pivotTurn = itemAxes(item.pivotRotation, {1, 1, 1});
    const ItemAxes own = itemAxes(item.motion.rotation(time), item.motion.scale(time));
    Placement local;
    local.axes = {turned(pivotTurn, own.right), turned(pivotTurn, own.up), turned(pivotTurn, own.forward)};
    local.origin = plus(item.motion.position(time), times(turned(local.axes, item.pivot), -1));
    return local;
}

Placement worldPlacement(const Scene& scene, const SceneItem& item, double time) {
    Placement world = localPlacement(item, time);
    size_t depth = 0;
    const size_t most = itemCount(scene);
    for (const SceneItem* parent = scene.parentOf(item); parent != nullptr && depth < most;
         parent = scene.parentOf(*parent), ++depth)
        world = localPlacement(*parent, time).then(world);
    return world;
}

Vec3 worldPosition(const Scene& scene, const SceneItem& item, double time) {
    const Vec3 position = item.motion.position(time);
    const SceneItem* parent = scene.parentOf(item);
    return parent == nullptr ? position : worldPlacement(scene, *parent, time).apply(position);
}

ItemAxes inverseAxes(const ItemAxes& axes) {
    // The rows of the inverse are the cross products of the columns over
    // the determinant.
    const Vec3 row0 = cross(axes.up, axes.forward);
    const Vec3 row1 = cross(axes.forward, axes.right);
    const Vec3 row2 = cross(axes.right, axes.up);
    const double determinant = dot(axes.right, row0);
    if (determinant == 0 || !std::isfinite(determinant)) return {{0, 0, 0}, {0, 0, 0}, {0, 0, 0}};
    const double f = 1 / determinant;
    // Column j of the inverse holds the j-th entries of the rows.
    return {{row0.x * f, row1.x * f, row2.x * f},
            {row0.y * f, row1.y * f, row2.y * f},
            {row0.z * f, row1.z * f, row2.z * f}};
}

}  // namespace sim
