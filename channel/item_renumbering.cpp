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

const host::ItemId* usedItems(ItemReferences& references) {
    size_t count = 0;
    if (references.itemId != nullptr) references.usedItems[count++] = references.itemId;
    if (references.cameraId != nullptr && references.cameraId != references.itemId)
        references.usedItems[count++] = references.cameraId;
    for (size_t rest = count; rest <= kReferenceCount; ++rest) references.usedItems[rest] = nullptr;
    return count != 0 ? references.usedItems : nullptr;
}

void renumberReferences(ItemReferences& references, const host::ItemId* pairs) {
    if (references.itemId == nullptr && references.cameraId == nullptr) return;
    bool resolved = references.resolved != 0;
    renumberReference(references.itemId, references.itemName, pairs, resolved);
    renumberReference(references.cameraId, references.cameraName, pairs, resolved);
    if (anyIdChanges(pairs)) references.choicesStale = 1;
}

void refreshStaleChoices(ItemReferences& references) {
    if (references.choicesStale == 0) return;
    references.itemChoice = choiceOfItem(ItemList::Objects, references.itemId);
    references.cameraChoice = choiceOfItem(ItemList::Cameras, references.cameraId);
    references.choicesStale = 0;
}

}  // namespace kelto
