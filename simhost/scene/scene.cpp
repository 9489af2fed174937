#include "simhost/scene/scene.h"

#include <algorithm>

namespace sim {

namespace {

const Vec3 kUnitScale = {1, 1, 1};

Vec3 lerp(const Vec3& a, const Vec3& b, double t) {
    return {a.x + (b.x - a.x) * t, a.y + (b.y - a.y) * t, a.z + (b.z - a.z) * t};
}

Rotation lerp(const Rotation& a, const Rotation& b, double t) {
    return {a.heading + (b.heading - a.heading) * t, a.pitch + (b.pitch - a.pitch) * t, a.bank + (b.bank - a.bank) * t};
}

// The keyed value at `frame`: linear between keys, held outside them,
// `none` without keys.
template <typename Key, typename Value>
Value keyedAtFrame(const std::vector<Key>& keys, Value Key::*value, double frame, const Value& none) {
    if (keys.empty()) return none;
    if (frame <= keys.front().frame) return keys.front().*value;
    // Searched, not walked: every evaluation asks, and a scene may hold
    // millions of keys.
    auto after =
        std::lower_bound(keys.begin() + 1, keys.end(), frame, [](const Key& key, double at) { return key.frame < at; });
    if (after == keys.end()) return keys.back().*value;
    // A key's own frame gives its value exactly: past a key far larger, the
    // blend would round it away (1e-170 after 1 gives 0).
    if (after->frame == frame) return (*after).*value;
    const Key& before = *(after - 1);
    double span = after->frame - before.frame;
    return span > 0 ? lerp(before.*value, (*after).*value, (frame - before.frame) / span) : (*after).*value;
}

SceneItem makeItem(const std::string& name, Vec3 position) {
    SceneItem item;
    item.name = name;
    item.keys.push_back({0, position});
    return item;
}

}  // namespace

Vec3 SceneItem::positionAtFrame(double frame) const {
    return keyedAtFrame(keys, &PositionKey::position, frame, Vec3());
}

Rotation SceneItem::rotationAtFrame(double frame) const {
    return keyedAtFrame(rotationKeys, &RotationKey::rotation, frame, Rotation());
}

Vec3 SceneItem::scaleAtFrame(double frame) const {
    return keyedAtFrame(scaleKeys, &ScaleKey::scale, frame, kUnitScale);
}

SceneItem& Scene::addObject(const std::string& name, Vec3 position) {
    objects.push_back(makeItem(name, position));
    return objects.back();
}

SceneItem& Scene::addCamera(const std::string& name, Vec3 position) {
    cameras.push_back(makeItem(name, position));
    return cameras.back();
}

}  // namespace sim
