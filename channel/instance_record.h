// Every modifier's instance record is plain fixed-size data: it comes from
// the heap zero-filled, goes back whole, and is copied whole.
#pragma once

#include <cstdlib>
#include <cstring>
#include <type_traits>

namespace kelto {

// A zero-filled record from the heap, or null when the heap is exhausted.
template <typename Record>
Record* newZeroedRecord() {
    static_assert(std::is_trivially_copyable<Record>::value, "a record is plain data");
    return static_cast<Record*>(std::calloc(1, sizeof(Record)));
}

// Returns the record to the heap; null is ignored.
inline void freeRecord(void* record) { std::free(record); }

// Makes `to` an exact duplicate of `from`; a record copied onto itself stays
// as it was.
template <typename Record>
void copyRecord(Record& to, const Record& from) {
    if (&to != &from) std::memcpy(&to, &from, sizeof to);
}

}  // namespace kelto
