#include "simhost/scene/host_item_references.h"

#include <unordered_map>

#include "host/host_types.h"
#include "simhost/scene/unmodelled_motion.h"
#include "simhost/text/text_format.h"

namespace sim {

namespace {

const size_t kNone = static_cast<size_t>(-1);
// The first version whose items carry their numbers on their declaring lines.
const int kNumberedVersion = 4;
// Before version 3, IK turns every item of a chain; from 3 on, only the
// channels whose controller is IK, which their own lines note.
const int kControllerVersion = 3;

const int kTypeShift = 28;
const int kBoneShift = 16;
const uint32_t kPlaceMask = 0x0FFFFFFF;
const uint32_t kBonePlaceMask = 0xFFF;
const uint32_t kObjectPlaceMask = 0xFFFF;

uint32_t typeDigit(int typeCode) {
    switch (typeCode) {
        case host::kItemTypeLight: return 2;
        case host::kItemTypeCamera: return 3;
        case host::kItemTypeBone: return 4;
        default: return 1;
    }
}

// Whether the host's numbers before version 4 can name the item: places
// beyond their digits have no number.
bool hasPlaceNumber(const std::vector<DeclaredItem>& items, const DeclaredItem& item) {
    if (item.typeCode != host::kItemTypeBone) return item.place <= kPlaceMask;
    return item.place <= kBonePlaceMask && items[item.owner].place <= kObjectPlaceMask;
}

std::string numberText(uint32_t number) { return formattedText("%08x", number); }

SceneItem& sceneItem(Scene& scene, const DeclaredItem& item) { return (*scene.list(item.typeCode))[item.index]; }

class Hierarchy {
public:
    Hierarchy(HostSceneInput& input, int version, std::vector<DeclaredItem>& items, Scene& scene)
        : input_(input), version_(version), items_(items), scene_(scene), parents_(items.size(), kNone) {}

    bool resolve() {
        if (!number()) return false;
        for (size_t n = 0; n < items_.size(); ++n)
            if (!findParent(n)) return false;
        if (!checkLoops()) return false;
        for (size_t n = 0; n < items_.size(); ++n) {
            if (parents_[n] == kNone) continue;
            const DeclaredItem& parent = items_[parents_[n]];
            sceneItem(scene_, items_[n]).parent = sceneItem(scene_, parent).serial;
            if (parent.typeCode == host::kItemTypeBone && items_[n].typeCode != host::kItemTypeBone)
                noteUnmodelled(sceneItem(scene_, items_[n]),
                               boneParentNote(sceneItem(scene_, parent).name, items_[n].parent.text));
        }
        if (version_ < kControllerVersion) noteChains();
        return true;
    }

private:
    bool number() {
        byNumber_.reserve(items_.size());
        for (size_t n = 0; n < items_.size(); ++n) {
            const DeclaredItem& item = items_[n];
            if (item.typeCode == host::kItemTypeObject) objects_.push_back(n);
            uint32_t number;
            if (version_ >= kNumberedVersion && item.numbered)
                number = item.number;
            else if (hasPlaceNumber(items_, item))
                number = placeNumber(items_, item);
            else
                continue;
            auto entry = byNumber_.emplace(number, n);
            if (!entry.second) {
                const DeclaredItem& first = items_[entry.first->second];
                return input_.fail(item.line, "the item number " + numberText(number) + " is " +
                                                  sceneItem(scene_, first).name + "'s already (line " +
                                                  std::to_string(first.line) + ")");
            }
        }
        return true;
    }

    bool findParent(size_t n) {
        const DeclaredItem& item = items_[n];
        const ItemReference& reference = item.parent;
        size_t parent = kNone;
        switch (reference.kind) {
            case ReferenceKind::None:
                if (item.typeCode == host::kItemTypeBone) parents_[n] = item.owner;
                return true;
            case ReferenceKind::ItemNumber: {
                auto found = byNumber_.find(reference.value);
                if (found == byNumber_.end()) return input_.fail(reference.line, reference.text + " names no item");
                parent = found->second;
                break;
            }
            case ReferenceKind::ObjectPlace:
                if (reference.value < 1 || reference.value > objects_.size())
                    return input_.fail(reference.line,
                                       reference.text +
                                           " names no object: they are counted from 1, and the file declares " +
                                           std::to_string(objects_.size()));
                parent = objects_[reference.value - 1];
                break;
            case ReferenceKind::BonePlace: {
                const std::vector<size_t>& bones = items_[item.owner].bones;
                if (reference.value < 1 || reference.value > bones.size())
                    return input_.fail(reference.line,
                                       reference.text + " names no bone of its object (they are counted from 1)");
                parent = bones[reference.value - 1];
                break;
            }
        }
        if (parent == n) return input_.fail(reference.line, sceneItem(scene_, item).name + " is its own parent");
        parents_[n] = parent;
        return true;
    }

    // Walks each item's parents once, three states an item: so that a
    // scene of many items costs each a visit.
    bool checkLoops() {
        enum State : unsigned char { Unseen, OnPath, Done };
        std::vector<State> state(items_.size(), Unseen);
        std::vector<size_t> path;
        for (size_t start = 0; start < items_.size(); ++start) {
            path.clear();
            size_t at = start;
            while (at != kNone && state[at] == Unseen) {
                state[at] = OnPath;
                path.push_back(at);
                at = parents_[at];
            }
            if (at != kNone && state[at] == OnPath) return failLoop(at);
            for (size_t n : path) state[n] = Done;
        }
        return true;
    }

    // Names the line of a parent in the loop that `at` is on: a bone's
    // parent may be its object by default, without a line.
    bool failLoop(size_t at) {
        size_t named = at;
        for (size_t n = parents_[at]; n != at; n = parents_[n])
            if (items_[named].parent.line == 0) named = n;
        const DeclaredItem& item = items_[named];
        return input_.fail(item.parent.line > 0 ? item.parent.line : item.line,
                           "the parents of " + sceneItem(scene_, item).name + " lead back to it");
    }

    // Each item is noted once, for the first seeker whose chain reaches it:
    // the chains above it are the same for every seeker.
    void noteChains() {
        std::vector<bool> inChain(items_.size(), false);
        for (const DeclaredItem& seeker : items_) {
            if (seeker.goal.empty()) continue;
            const std::string note = ikChainNote(sceneItem(scene_, seeker).name, seeker.goal);
            for (size_t n = parents_[&seeker - &items_[0]]; n != kNone && !items_[n].ikAnchor && !inChain[n];
                 n = parents_[n]) {
                inChain[n] = true;
                noteUnmodelled(sceneItem(scene_, items_[n]), note);
            }
        }
    }

    HostSceneInput& input_;
    int version_;
    std::vector<DeclaredItem>& items_;
    Scene& scene_;
    std::vector<size_t> parents_;  // by place among the declared items
    std::vector<size_t> objects_;  // the objects' places among the declared items
    std::unordered_map<uint32_t, size_t> byNumber_;
};

}  // namespace

uint32_t placeNumber(const std::vector<DeclaredItem>& items, const DeclaredItem& item) {
    const uint32_t type = typeDigit(item.typeCode) << kTypeShift;
    if (item.typeCode != host::kItemTypeBone) return type | (static_cast<uint32_t>(item.place) & kPlaceMask);
    return type | (static_cast<uint32_t>(item.place) & kBonePlaceMask) << kBoneShift |
           (static_cast<uint32_t>(items[item.owner].place) & kObjectPlaceMask);
}

bool resolveHierarchy(HostSceneInput& input, int version, std::vector<DeclaredItem>& items, Scene& scene) {
    return Hierarchy(input, version, items, scene).resolve();
}

}  // namespace sim
