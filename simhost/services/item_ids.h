// The simulated host's item IDs: an item's place in its list, never an
// address. Deleting an item renumbers every item after it, as the host does,
// and an ID kept across that names another item or none.
#pragma once

#include <cstddef>
#include <string>

#include "host/host_types.h"

namespace sim {

// The ID of the item at 0-based `index` in the list of `typeCode` (objects or
// cameras); null for any other type.
host::ItemId itemIdAt(int typeCode, size_t index);

// The list type and 0-based index an ID encodes; false for null and for any
// value no list could have handed out. Whether the index is still inside its
// list is for the caller to check.
bool decodeItemId(host::ItemId id, int& typeCode, size_t& index);

// The ID as text for a report, alike on every platform, e.g. "0x5".
std::string describeItemId(host::ItemId id);

}  // namespace sim
