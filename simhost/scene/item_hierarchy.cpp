#include "simhost/scene/item_hierarchy.h"

namespace sim {

namespace {

size_t itemCount(const Scene& scene) {
    return scene.objects.size() + scene.lights.size() + scene.cameras.size() + scene.bones.size();
}

// The next place after `after` in the lists' order whose item `wanted` takes.
template <typename Wanted>
ItemPlace nextPlace(const Scene& scene, ItemPlace after, Wanted wanted) {
    bool started = after.typeCode < 0;
    for (int typeCode : kHostItemTypes) {
        const std::vector<SceneItem>& items = *scene.list(typeCode);
        size_t from = 0;
        if (!started) {
            if (typeCode != after.typeCode) continue;
            started = true;
            from = after.index + 1;
        }
        for (size_t index = from; index < items.size(); ++index)
            if (wanted(typeCode, items[index])) return {typeCode, index};
    }
    return {};
}

}  // namespace

std::vector<const SceneItem*> itemsOf(const Scene& scene) {
    std::vector<const SceneItem*> items;
    for (int typeCode : kHostItemTypes)
        for (const SceneItem& item : *scene.list(typeCode)) items.push_back(&item);
    return items;
}

ItemPlace nextChildPlace(const Scene& scene, size_t parentSerial, ItemPlace after, int typeCode) {
    return nextPlace(scene, after, [&](int type, const SceneItem& item) {
        return item.parent == parentSerial && (typeCode == kAnyItemType || type == typeCode);
    });
}

const SceneItem* boneObject(const Scene& scene, const SceneItem& bone) {
    const SceneItem* at = scene.parentOf(bone);
    // No chain is longer than the scene has items: a loop stops there.
    for (size_t steps = 0; at != nullptr && steps < itemCount(scene); ++steps) {
        int typeCode;
        size_t index;
        if (!scene.placeOfSerial(at->serial, typeCode, index) || typeCode != host::kItemTypeBone) return at;
        at = scene.parentOf(*at);
    }
    return nullptr;
}

ItemPlace nextBonePlace(const Scene& scene, size_t objectSerial, ItemPlace after) {
    return nextPlace(scene, after, [&](int type, const SceneItem& item) {
        if (type != host::kItemTypeBone) return false;
        const SceneItem* object = boneObject(scene, item);
        return object != nullptr && object->serial == objectSerial;
    });
}

}  // namespace sim
