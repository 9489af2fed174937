// Counts the heap allocations of the whole process, the loaded module's
// included: the benchmark program defines malloc and its kin, which the
// module's calls resolve to.
#pragma once

#include <cstddef>

namespace bench {

// Allocations (malloc, calloc, realloc, aligned) since the program started.
size_t allocationCount();

}  // namespace bench
