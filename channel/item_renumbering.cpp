#include "channel/item_renumbering.h"

#include <cstring>

#include "channel/item_list.h"

namespace kelto {

namespace {

const size_t kPairStride = 2;

// The ID that `id` becomes, or `id` itself when no pair names it.
host::ItemId renumbered(const host::ItemId* pairs, host::ItemId id) {
    for (const host::ItemId* pair = pairs; pair[0] != nullptr; pair += kPairStride)
        if (pair[0] == id) return pair[1];
    return id;
}

bool anyIdChanges(const host::ItemId* pairs) {
    for (const host::ItemId* pair = pairs; pair[0] != nullptr; pair += kPairStride)
        if (pair[0] != pair[1]) return true;
    return false;
}

// Before resolution the name, not the ID, is the reference, so only a
// resolved reference loses its name with its item.
void renumberReference(host::ItemId& id, char (&name)[kNameSize], const host::ItemId* pairs, bool resolved) {
    if (id == nullptr) return;
    id = renumbered(pairs, id);
    if (id == nullptr && resolved) std::memset(name, 0, sizeof name);
}

}  // namespace

const host::ItemId* usedItems(DistanceInstance& instance) {
    size_t count = 0;
    if (instance.itemId != nullptr) instance.usedItems[count++] = instance.itemId;
    if (instance.cameraId != nullptr && instance.cameraId != instance.itemId)
        instance.usedItems[count++] = instance.cameraId;
    for (size_t rest = count; rest <= kReferenceCount; ++rest) instance.usedItems[rest] = nullptr;
    return count != 0 ? instance.usedItems : nullptr;
}

void renumberReferences(DistanceInstance& instance, const host::ItemId* pairs) {
    if (instance.itemId == nullptr && instance.cameraId == nullptr) return;
    bool resolved = instance.resolved != 0;
    renumberReference(instance.itemId, instance.itemName, pairs, resolved);
    renumberReference(instance.cameraId, instance.cameraName, pairs, resolved);
    if (anyIdChanges(pairs)) instance.choicesStale = 1;
}

void refreshStaleChoices(DistanceInstance& instance) {
    if (instance.choicesStale == 0) return;
    instance.itemChoice = choiceOfItem(ItemList::Objects, instance.itemId);
    instance.cameraChoice = choiceOfItem(ItemList::Cameras, instance.cameraId);
    instance.choicesStale = 0;
}

}  // namespace kelto
