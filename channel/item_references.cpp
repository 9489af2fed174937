#include "channel/item_references.h"

#include "channel/item_list.h"

namespace kelto {

__attribute__((noinline, cold)) void resolveNames(ItemReferences& references) {
    references.itemId = findItemByName(references.itemName);
    references.cameraId = findItemByName(references.cameraName);
    references.itemChoice = choiceOfItem(ItemList::Objects, references.itemId);
    references.cameraChoice = choiceOfItem(ItemList::Cameras, references.cameraId);
    references.choicesStale = 0;
    references.resolved = 1;
}

void unresolveReferences(ItemReferences& references) {
    references.itemId = nullptr;
    references.cameraId = nullptr;
    references.resolved = 0;
}

}  // namespace kelto
