// Walks over the scene's object and camera lists through the held item-info
// service. Nothing is cached: every call walks the host's list afresh, and a
// missing item-info service reads as empty lists.
#pragma once

#include <cstdint>

#include "channel/item_name.h"
#include "host/host_types.h"

namespace kelto {

enum class ItemList : int {
    Objects = host::kItemTypeObject,
    Cameras = host::kItemTypeCamera,
};

// Popup choices: 0 is "(none)", k >= 1 the k-th item in walking order.
const int32_t kNoChoice = 0;
extern const char kNoChoiceName[];

// Items in the list plus one for "(none)".
int choiceCount(ItemList list);

// "(none)" for index 0 and for any index on an empty list; otherwise the
// index-th item's name, the last item's for an index past the end, the first
// item's for a negative index. The text is the host's, valid until its next call,
// which the walk makes sure it has not made yet.
const char* choiceName(ItemList list, int index);

// The item behind a choice; null for 0, negative, or past the end.
host::ItemId itemAtChoice(ItemList list, int32_t choice);

// The 1-based position of the item in the list; 0 for null or not in it.
int32_t choiceOfItem(ItemList list, host::ItemId item);

// The first item, objects before cameras, whose name equals `name` byte for
// byte; null when none does, and for an empty name.
host::ItemId findItemByName(const char* name);

// Copies the item's name, cut to fit with its NUL at a UTF-8 character's end.
void copyItemName(host::ItemId item, char (&destination)[kNameSize]);

}  // namespace kelto
