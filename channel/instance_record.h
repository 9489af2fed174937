// Every modifier's instance record is plain fixed-size data: it comes from
// the heap zero-filled, goes back whole, and is copied whole. Its lifecycle is
// the same for every modifier but for the description line each one writes.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <type_traits>

#include "host/channel_handler.h"

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

// The lifecycle operations that do not touch the scene file, over a record
// with a `description` buffer that `kWriteDescription` fills with its line.
template <typename Instance, void (*kWriteDescription)(Instance& instance)>
struct InstanceOperations {
    typedef Instance Record;

    // A zero-filled instance from the heap with its description set, or null
    // when the heap is exhausted.
    static Instance* create() {
        Instance* instance = newZeroedRecord<Instance>();
        if (instance != nullptr) kWriteDescription(*instance);
        return instance;
    }

    // Returns the instance to the heap; null is ignored.
    static void destroy(Instance* instance) { freeRecord(instance); }

    // Makes `to` an exact duplicate of `from`.
    static void copy(Instance& to, const Instance& from) { copyRecord(to, from); }

    // Rewrites and returns the instance's description buffer.
    static const char* describe(Instance& instance) {
        kWriteDescription(instance);
        return instance.description;
    }

    // Handler flags: none.
    static uint32_t flags(const Instance&) { return host::kHandlerFlagsNone; }
};

}  // namespace kelto
