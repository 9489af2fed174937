// How the host's scene file names its items, and the hierarchy it gives
// them.
//
// An item's number: from version 4 on, the one its declaring line gives
// ("AddNullObject 10000002 Pivot"); before, the type in the top hex digit (1
// object, 2 light, 3 camera, 4 bone) and the item's place among its type
// counted from 0, nulls among the objects; a bone's as its place among its
// object's bones (bits 16 to 27) and its object's place (bits 0 to 15).
// "ParentItem" names a parent by its number in hex, in lower or upper case;
// "ParentObject" names an object by its place counted from 1 (the host's
// documents count items from 0, but every file read counts these from 1),
// and within a bone's section a bone of the same object. A bone without
// either hangs from its object. Parents may be declared after their
// children.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "simhost/scene/host_scene_input.h"
#include "simhost/scene/scene.h"

namespace sim {

enum class ReferenceKind { None, ItemNumber, ObjectPlace, BonePlace };

// A line that names an item.
struct ItemReference {
    ReferenceKind kind = ReferenceKind::None;
    uint32_t value = 0;
    int line = 0;
    std::string text;  // the line, for messages and notes ("ParentItem 1000000e")
};

// An item as the file declares it.
struct DeclaredItem {
    int typeCode = 0;
    size_t index = 0;  // in its list of the scene
    size_t place = 0;  // among its type; a bone's among its object's bones
    size_t owner = 0;  // a bone's object, as its place among the declared items
    bool numbered = false;
    uint32_t number = 0;  // given on the declaring line when numbered
    int line = 0;         // of the declaring line
    ItemReference parent;
    std::string goal;  // the line giving an IK goal, if any ("GoalObject 17")
    bool ikAnchor = false;
    std::vector<size_t> bones;  // an object's, as places among the declared items
};

// The number the host's files before version 4 give the item.
uint32_t placeNumber(const std::vector<DeclaredItem>& items, const DeclaredItem& item);

// Gives each item its parent's serial. Fails naming the line of a reference
// to no item, of an item number given twice, or of a parent in a loop. Notes
// children of bones as unmodelled, and before version 3, where IK turns
// every item from the goal's seeker up to an anchor, the chain's items too.
bool resolveHierarchy(HostSceneInput& input, int version, std::vector<DeclaredItem>& items, Scene& scene);

}  // namespace sim
