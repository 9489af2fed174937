#include "simhost/scene/scene.h"

#include "host/host_types.h"

namespace sim {

SceneItem& Scene::add(int typeCode, const std::string& name) {
    std::vector<SceneItem>* items = list(typeCode);
    if (items == nullptr) items = &objects;  // only a caller's mistake: the host has four lists
    items->emplace_back();
    SceneItem& item = items->back();
    item.name = name;
    item.serial = nextSerial_++;
    if (!placesStale_) places_.push_back({typeCode, items->size() - 1});
    return item;
}

SceneItem& Scene::addObject(const std::string& name, Vec3 position) {
    SceneItem& item = add(host::kItemTypeObject, name);
    item.motion.keyPosition(0, position);
    return item;
}

SceneItem& Scene::addCamera(const std::string& name, Vec3 position) {
    SceneItem& item = add(host::kItemTypeCamera, name);
    item.motion.keyPosition(0, position);
    return item;
}

std::vector<SceneItem>* Scene::list(int typeCode) {
    switch (typeCode) {
        case host::kItemTypeObject: return &objects;
        case host::kItemTypeLight: return &lights;
        case host::kItemTypeCamera: return &cameras;
        case host::kItemTypeBone: return &bones;
        default: return nullptr;
    }
}

const std::vector<SceneItem>* Scene::list(int typeCode) const { return const_cast<Scene*>(this)->list(typeCode); }

void Scene::erase(int typeCode, size_t index) {
    std::vector<SceneItem>* items = list(typeCode);
    if (items == nullptr || index >= items->size()) return;
    items->erase(items->begin() + static_cast<std::ptrdiff_t>(index));
    // The places after it move down; finding them again waits for the next
    // question, so that many erases in a row cost one walk.
    placesStale_ = true;
}

void Scene::placeAll() const {
    places_.assign(nextSerial_, Place());
    for (int typeCode : {host::kItemTypeObject, host::kItemTypeLight, host::kItemTypeCamera, host::kItemTypeBone}) {
        const std::vector<SceneItem>& items = *list(typeCode);
        for (size_t index = 0; index < items.size(); ++index)
            if (items[index].serial < places_.size()) places_[items[index].serial] = {typeCode, index};
    }
    placesStale_ = false;
}

bool Scene::placeOfSerial(size_t serial, int& typeCode, size_t& index) const {
    if (placesStale_) placeAll();
    if (serial >= places_.size() || places_[serial].typeCode < 0) return false;
    const Place& place = places_[serial];
    const std::vector<SceneItem>& items = *list(place.typeCode);
    // An item pushed into a list behind the scene's back has no place here.
    if (place.index >= items.size() || items[place.index].serial != serial) return false;
    typeCode = place.typeCode;
    index = place.index;
    return true;
}

const SceneItem* Scene::itemOfSerial(size_t serial) const {
    int typeCode;
    size_t index;
    return placeOfSerial(serial, typeCode, index) ? &(*list(typeCode))[index] : nullptr;
}

}  // namespace sim
