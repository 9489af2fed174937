#include "simhost/scene/scene.h"

#include <algorithm>

namespace sim {

namespace {

Vec3 lerp(const Vec3& a, const Vec3& b, double t) {
    return {a.x + (b.x - a.x) * t, a.y + (b.y - a.y) * t, a.z + (b.z - a.z) * t};
}

SceneItem makeItem(const std::string& name, Vec3 position) {
    SceneItem item;
    item.name = name;
    item.keys.push_back({0, position});
    return item;
}

}  // namespace

Vec3 SceneItem::positionAtFrame(double frame) const {
    if (keys.empty()) return Vec3();
    if (frame <= keys.front().frame) return keys.front().position;
    // Searched, not walked: every evaluation asks, and a scene may hold
    // millions of keys.
    auto after = std::lower_bound(keys.begin() + 1, keys.end(), frame,
                                  [](const PositionKey& key, double at) { return key.frame < at; });
    if (after == keys.end()) return keys.back().position;
    const PositionKey& before = *(after - 1);
    double span = after->frame - before.frame;
    return span > 0 ? lerp(before.position, after->position, (frame - before.frame) / span) : after->position;
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
