#include "simhost/services/item_ids.h"

#include <algorithm>
#include <cstdint>

#include "simhost/text/text_format.h"

namespace sim {

namespace {

// The low bits carry the list, the rest the number plus one, so no ID is
// null and none is a pointer a module could follow (no tag is 0).
const unsigned kTagBits = 3;
const uintptr_t kTagMask = (uintptr_t(1) << kTagBits) - 1;

struct ListTag {
    int typeCode;
    uintptr_t tag;
};

const ListTag kListTags[] = {
    {host::kItemTypeObject, 1},
    {host::kItemTypeLight, 2},
    {host::kItemTypeCamera, 3},
    {host::kItemTypeBone, 4},
};

// The slot of a list in KeptItemIds' tables: its place in kListTags.
size_t listSlot(int typeCode) {
    for (size_t slot = 0; slot < sizeof kListTags / sizeof kListTags[0]; ++slot)
        if (kListTags[slot].typeCode == typeCode) return slot;
    return 0;
}

}  // namespace

host::ItemId itemIdAt(int typeCode, size_t number) {
    for (const ListTag& list : kListTags)
        if (list.typeCode == typeCode)
            return reinterpret_cast<host::ItemId>((uintptr_t(number + 1) << kTagBits) | list.tag);
    return nullptr;
}

bool decodeItemId(host::ItemId id, int& typeCode, size_t& number) {
    uintptr_t value = reinterpret_cast<uintptr_t>(id);
    uintptr_t place = value >> kTagBits;
    if (place == 0) return false;
    for (const ListTag& list : kListTags)
        if ((value & kTagMask) == list.tag) {
            typeCode = list.typeCode;
            number = static_cast<size_t>(place - 1);
            return true;
        }
    return false;
}

std::string describeItemId(host::ItemId id) { return hexText(reinterpret_cast<uintptr_t>(id)); }

std::vector<size_t>& KeptItemIds::serials(int typeCode, size_t size) {
    size_t slot = listSlot(typeCode);
    std::vector<size_t>& list = serials_[slot];
    // A list cut short behind the table's back keeps the serials of its front.
    if (list.size() > size) list.resize(size);
    while (list.size() < size) list.push_back(next_[slot]++);
    return list;
}

host::ItemId KeptItemIds::idAt(int typeCode, size_t index, size_t size) {
    std::vector<size_t>& list = serials(typeCode, size);
    return index < list.size() ? itemIdAt(typeCode, list[index]) : nullptr;
}

bool KeptItemIds::placeOf(int typeCode, size_t serial, size_t size, size_t& index) {
    const std::vector<size_t>& list = serials(typeCode, size);
    auto found = std::lower_bound(list.begin(), list.end(), serial);
    if (found == list.end() || *found != serial) return false;
    index = static_cast<size_t>(found - list.begin());
    return true;
}

void KeptItemIds::erase(int typeCode, size_t index, size_t size) {
    std::vector<size_t>& list = serials(typeCode, size);
    if (index < list.size()) list.erase(list.begin() + static_cast<std::ptrdiff_t>(index));
}

}  // namespace sim
