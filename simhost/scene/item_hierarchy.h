// The hierarchy as the host's item info walks it: an item's children, in the
// order of the host's lists (objects, lights, cameras, bones), and a bone's
// object, the one its chain of bone parents ends at.
#pragma once

#include <cstddef>
#include <vector>

#include "host/host_types.h"
#include "simhost/scene/scene.h"

namespace sim {

const int kHostItemTypes[] = {host::kItemTypeObject, host::kItemTypeLight, host::kItemTypeCamera, host::kItemTypeBone};

// Every item, in the order of the host's lists.
std::vector<const SceneItem*> itemsOf(const Scene& scene);

struct ItemPlace {
    int typeCode = -1;  // none
    size_t index = 0;
};

// The first child of the item of `parentSerial` after `after` (none: from
// the start), of `typeCode` alone unless it is kAnyItemType.
const int kAnyItemType = -1;
ItemPlace nextChildPlace(const Scene& scene, size_t parentSerial, ItemPlace after, int typeCode = kAnyItemType);

// The object a bone belongs to: its first parent that is no bone; null when
// it has none.
const SceneItem* boneObject(const Scene& scene, const SceneItem& bone);

// The first bone after `after` (none: from the start) that belongs to the
// object of `objectSerial`.
ItemPlace nextBonePlace(const Scene& scene, size_t objectSerial, ItemPlace after);

}  // namespace sim
