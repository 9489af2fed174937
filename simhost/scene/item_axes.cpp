#include "simhost/scene/item_axes.h"

#include <cmath>

namespace sim {

namespace {

const double kRadiansPerDegree = 3.14159265358979323846 / 180;

Vec3 scaled(const Vec3& v, double factor) { return {v.x * factor, v.y * factor, v.z * factor}; }

}  // namespace

ItemAxes itemAxes(const Rotation& rotation, const Vec3& scale) {
    const double h = rotation.heading * kRadiansPerDegree;
    const double p = rotation.pitch * kRadiansPerDegree;
    const double b = rotation.bank * kRadiansPerDegree;
    const double ch = std::cos(h), sh = std::sin(h);
    const double cp = std::cos(p), sp = std::sin(p);
    const double cb = std::cos(b), sb = std::sin(b);
    // The columns of heading · pitch · bank.
    const Vec3 right = {ch * cb + sh * sp * sb, cp * sb, -sh * cb + ch * sp * sb};
    const Vec3 up = {-ch * sb + sh * sp * cb, cp * cb, sh * sb + ch * sp * cb};
    const Vec3 forward = {sh * cp, -sp, ch * cp};
    return {scaled(right, scale.x), scaled(up, scale.y), scaled(forward, scale.z)};
}

}  // namespace sim
