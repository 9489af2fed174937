#include "allocation_counter.h"

#include <atomic>
#include <cerrno>
#include <cstdlib>

// glibc's own entry points, which the definitions below forward to.
extern "C" {
void* __libc_malloc(size_t size);
void* __libc_calloc(size_t count, size_t size);
void* __libc_realloc(void* memory, size_t size);
void* __libc_memalign(size_t alignment, size_t size);
void __libc_free(void* memory);
}

namespace {
std::atomic<size_t> g_allocations{0};
}  // namespace

namespace bench {
size_t allocationCount() { return g_allocations.load(); }
}  // namespace bench

extern "C" {

void* malloc(size_t size) {
    ++g_allocations;
    return __libc_malloc(size);
}

void* calloc(size_t count, size_t size) {
    ++g_allocations;
    return __libc_calloc(count, size);
}

void* realloc(void* memory, size_t size) {
    ++g_allocations;
    return __libc_realloc(memory, size);
}

void* memalign(size_t alignment, size_t size) {
    ++g_allocations;
    return __libc_memalign(alignment, size);
}

int posix_memalign(void** memory, size_t alignment, size_t size) {
    ++g_allocations;
    *memory = __libc_memalign(alignment, size);
    return *memory != nullptr ? 0 : ENOMEM;
}

void* aligned_alloc(size_t alignment, size_t size) {
    ++g_allocations;
    return __libc_memalign(alignment, size);
}

void free(void* memory) { __libc_free(memory); }

}  // extern "C"
