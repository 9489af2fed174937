#include "channel/item_list.h"

#include <cstring>

#include "channel/held_services.h"
#include "host/item_info.h"

namespace kelto {

const char kNoChoiceName[] = "(none)";

namespace {

const ItemList kSearchOrder[] = {ItemList::Objects, ItemList::Cameras};

const host::ItemInfoService* itemInfo() { return heldHostServices().itemInfo; }

host::ItemId firstItem(ItemList list) {
    const host::ItemInfoService* info = itemInfo();
    if (info == nullptr || info->first == nullptr) return nullptr;
    return info->first(static_cast<int>(list), nullptr);
}

host::ItemId nextItem(host::ItemId item) {
    const host::ItemInfoService* info = itemInfo();
    if (info == nullptr || info->next == nullptr) return nullptr;
    return info->next(item);
}

// The host's name of the item, or "" when it gives none.
const char* itemName(host::ItemId item) {
    const host::ItemInfoService* info = itemInfo();
    const char* name = info != nullptr && info->name != nullptr ? info->name(item) : nullptr;
    return name != nullptr ? name : "";
}

}  // namespace

int choiceCount(ItemList list) {
    int count = 1;
    for (host::ItemId item = firstItem(list); item != nullptr; item = nextItem(item)) ++count;
    return count;
}

// Each visited item's name is asked for once, after the step past it: the
// name handed back then comes from the last item-info call, and the host's
// text is still valid when the caller reads it.
const char* choiceName(ItemList list, int index) {
    if (index == kNoChoice) return kNoChoiceName;
    host::ItemId item = firstItem(list);
    if (item == nullptr) return kNoChoiceName;
    for (int step = 1;; ++step) {
        host::ItemId following = step < index ? nextItem(item) : nullptr;
        const char* name = itemName(item);
        if (following == nullptr) return name;
        item = following;
    }
}

host::ItemId itemAtChoice(ItemList list, int32_t choice) {
    if (choice <= kNoChoice) return nullptr;
    host::ItemId item = firstItem(list);
    for (int32_t step = 1; step < choice && item != nullptr; ++step) item = nextItem(item);
    return item;
}

int32_t choiceOfItem(ItemList list, host::ItemId item) {
    if (item == nullptr) return kNoChoice;
    int32_t position = 1;
    for (host::ItemId walked = firstItem(list); walked != nullptr; walked = nextItem(walked), ++position)
        if (walked == item) return position;
    return kNoChoice;
}

host::ItemId findItemByName(const char* name) {
    // An empty name is a reference never made, not the name of an item.
    if (name == nullptr || name[0] == '\0') return nullptr;
    for (ItemList list : kSearchOrder)
        for (host::ItemId item = firstItem(list); item != nullptr; item = nextItem(item))
            if (std::strcmp(itemName(item), name) == 0) return item;
    return nullptr;
}

void copyItemName(host::ItemId item, char (&destination)[kNameSize]) {
    const char* name = itemName(item);
    size_t length = fittingLength(name, sizeof destination);
    std::memcpy(destination, name, length);
    destination[length] = '\0';
}

}  // namespace kelto
