// How an instance keeps up with the host's item IDs, which change when items
// are added or deleted: the items it tells the host it depends on, and the
// renumbering of its references when the host announces new IDs.
#pragma once

#include "channel/item_references.h"
#include "host/host_types.h"

namespace kelto {

// The instance's reference IDs that are not null, each once, in its
// usedItems and ended by a null ID; null when it has none. Valid until the
// next call on the instance.
const host::ItemId* usedItems(ItemReferences& references);

// Renumbers the references by "old, new" pairs ended by a null old ID. All
// pairs hold at once, so each reference is looked up once, by the ID it has
// now. A null new ID means the item is deleted: the reference becomes null
// and, once resolved, forgets its name so that it saves as none. Equal IDs
// change nothing. When any ID changes, the popup choices are marked stale,
// since the items' places may have moved. An instance without reference IDs
// (one not yet resolved) is left alone.
void renumberReferences(ItemReferences& references, const host::ItemId* pairs);

// Sets the popup choices again from the IDs, when marked stale. The item
// lists must show the new IDs by then, as they do whenever the panel reads.
void refreshStaleChoices(ItemReferences& references);

}  // namespace kelto
