// The simulated host's item IDs, never addresses. A classic host's ID is the
// item's place in its list: deleting an item renumbers every item after it,
// and an ID kept across that names another item or none. A current host's ID
// is the item's serial in its list, given in the order items appear and kept
// until the item is deleted ("all remaining objects retain their previously
// assigned identifiers"). Before any deletion the two agree.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "host/host_types.h"

namespace sim {

// The ID numbered `number` (0-based) in the list of `typeCode` (objects,
// lights, cameras or bones); null for any other type. A classic host numbers
// by place.
host::ItemId itemIdAt(int typeCode, size_t number);

// The list type and 0-based number an ID encodes; false for null and for any
// value no list could have handed out. Whether the number still names an
// item is for the caller to check.
bool decodeItemId(host::ItemId id, int& typeCode, size_t& number);

// The ID as text for a report, alike on every platform, e.g. "0x5".
std::string describeItemId(host::ItemId id);

// A current host's kept IDs for each of its lists. Items that
// appear at the end of a list since the last call get the next serials.
class KeptItemIds {
public:
    // The ID of the item at `index` of its list of `size` items.
    host::ItemId idAt(int typeCode, size_t index, size_t size);
    // The place of the item of that serial, in its list of `size` items;
    // false when it names none.
    bool placeOf(int typeCode, size_t serial, size_t size, size_t& index);
    // Forgets the ID of the item at `index`, which its list is to erase.
    void erase(int typeCode, size_t index, size_t size);

private:
    std::vector<size_t>& serials(int typeCode, size_t size);

    static const size_t kLists = 4;        // objects, lights, cameras, bones
    std::vector<size_t> serials_[kLists];  // ascending, since items only join at the end
    size_t next_[kLists] = {0, 0, 0, 0};
};

}  // namespace sim
