#include "simhost/scene/scene.h"

#include <functional>

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
    if (namesIndexed_) indexName(name, item.serial);
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
    const size_t serial = (*items)[index].serial;
    items->erase(items->begin() + static_cast<std::ptrdiff_t>(index));
    if (placesStale_) return;
    // The places after it move down a place, as the items themselves did.
    if (serial < places_.size()) places_[serial] = Place();
    for (size_t place = index; place < items->size(); ++place)
        if ((*items)[place].serial < places_.size()) places_[(*items)[place].serial].index = place;
}

void Scene::rename(int typeCode, size_t index, const std::string& name) {
    std::vector<SceneItem>* items = list(typeCode);
    if (items == nullptr || index >= items->size()) return;
    SceneItem& item = (*items)[index];
    item.name = name;
    if (namesIndexed_) indexName(name, item.serial);
}

void Scene::indexName(const std::string& name, size_t serial) const {
    auto entries = named_.equal_range(std::hash<std::string>()(name));
    for (auto entry = entries.first; entry != entries.second; ++entry)
        if (entry->second == serial) return;
    named_.emplace(std::hash<std::string>()(name), serial);
}

bool Scene::firstNamed(const std::string& name, const std::vector<int>& typeCodes, int& typeCode, size_t& index) const {
    if (!namesIndexed_) {
        named_.clear();
        for (int listed : {host::kItemTypeObject, host::kItemTypeLight, host::kItemTypeCamera, host::kItemTypeBone})
            for (const SceneItem& item : *list(listed))
                named_.emplace(std::hash<std::string>()(item.name), item.serial);
        namesIndexed_ = true;
    }
    bool found = false;
    size_t foundOrder = 0;
    const size_t key = std::hash<std::string>()(name);
    auto entries = named_.equal_range(key);
    for (auto entry = entries.first; entry != entries.second;) {
        int listed;
        size_t place;
        // An entry whose item was deleted or renamed since goes as it is met;
        // one of another name of the same hash stays.
        if (!placeOfSerial(entry->second, listed, place)) {
            entry = named_.erase(entry);
            continue;
        }
        const std::string& itemName = (*list(listed))[place].name;
        if (std::hash<std::string>()(itemName) != key) {
            entry = named_.erase(entry);
            continue;
        }
        ++entry;
        if (itemName != name) continue;
        size_t order = 0;
        while (order < typeCodes.size() && typeCodes[order] != listed) ++order;
        if (order == typeCodes.size()) continue;
        if (!found || order < foundOrder || (order == foundOrder && place < index)) {
            found = true;
            foundOrder = order;
            typeCode = listed;
            index = place;
        }
    }
    return found || walkForName(name, typeCodes, typeCode, index);
}

bool Scene::walkForName(const std::string& name, const std::vector<int>& typeCodes, int& typeCode,
                        size_t& index) const {
    for (int listed : typeCodes) {
        const std::vector<SceneItem>* items = list(listed);
        for (size_t place = 0; items != nullptr && place < items->size(); ++place)
            if ((*items)[place].name == name) {
                typeCode = listed;
                index = place;
                return true;
            }
    }
    return false;
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
