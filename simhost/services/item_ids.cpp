#include "simhost/services/item_ids.h"

#include <algorithm>
#include <cstdint>

#include "simhost/text/text_format.h"

namespace sim {

namespace {

// The low bits carry the list, the rest the number plus one, so no ID is
// null and none is a pointer a module could follow.
const unsigned kTagBits = 2;
const uintptr_t kTagMask = (uintptr_t(1) << kTagBits) - 1;
const uintptr_t kObjectTag = 1;
const uintptr_t kCameraTag = 2;

size_t listSlot(int typeCode) { return typeCode == host::kItemTypeCamera ? 1 : 0; }

}  // namespace

host::ItemId itemIdAt(int typeCode, size_t number) {
    uintptr_t tag = 0;
    if (typeCode == host::kItemTypeObject)
        tag = kObjectTag;
    else if (typeCode == host::kItemTypeCamera)
        tag = kCameraTag;
    else
        return nullptr;
    return reinterpret_cast<host::ItemId>((uintptr_t(number + 1) << kTagBits) | tag);
}

bool decodeItemId(host::ItemId id, int& typeCode, size_t& number) {
    uintptr_t value = reinterpret_cast<uintptr_t>(id);
    uintptr_t place = value >> kTagBits;
    if (place == 0) return false;
    switch (value & kTagMask) {
        case kObjectTag: typeCode = host::kItemTypeObject; break;
        case kCameraTag: typeCode = host::kItemTypeCamera; break;
        default: return false;
    }
    number = static_cast<size_t>(place - 1);
    return true;
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
