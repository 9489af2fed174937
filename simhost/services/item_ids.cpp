#include "simhost/services/item_ids.h"

#include <cstdint>

#include "simhost/text/text_format.h"

namespace sim {

namespace {

// The low bits carry the list, the rest the 1-based place in it, so no ID is
// null and none is a pointer a module could follow.
const unsigned kTagBits = 2;
const uintptr_t kTagMask = (uintptr_t(1) << kTagBits) - 1;
const uintptr_t kObjectTag = 1;
const uintptr_t kCameraTag = 2;

}  // namespace

host::ItemId itemIdAt(int typeCode, size_t index) {
    uintptr_t tag = 0;
    if (typeCode == host::kItemTypeObject) tag = kObjectTag;
    else if (typeCode == host::kItemTypeCamera) tag = kCameraTag;
    else return nullptr;
    return reinterpret_cast<host::ItemId>((uintptr_t(index + 1) << kTagBits) | tag);
}

bool decodeItemId(host::ItemId id, int& typeCode, size_t& index) {
    uintptr_t value = reinterpret_cast<uintptr_t>(id);
    uintptr_t place = value >> kTagBits;
    if (place == 0) return false;
    switch (value & kTagMask) {
        case kObjectTag: typeCode = host::kItemTypeObject; break;
        case kCameraTag: typeCode = host::kItemTypeCamera; break;
        default: return false;
    }
    index = static_cast<size_t>(place - 1);
    return true;
}

std::string describeItemId(host::ItemId id) { return hexText(reinterpret_cast<uintptr_t>(id)); }

}  // namespace sim
