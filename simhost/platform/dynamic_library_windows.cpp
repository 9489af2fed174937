#include <windows.h>

#include "simhost/platform/dynamic_library.h"
#include "simhost/platform/system_message.h"

namespace sim {

namespace {

HMODULE asModule(void* handle) { return static_cast<HMODULE>(handle); }

// A name without a folder is the file in the current folder; LoadLibrary
// would search the program's and the system's folders for it first.
std::string loaderPath(const std::string& path) {
    return path.find_first_of("\\/:") == std::string::npos ? ".\\" + path : path;
}

}  // namespace

DynamicLibrary DynamicLibrary::open(const std::string& path, std::string& error) {
    DynamicLibrary library;
    // No error boxes: a file that is not a module is an answer, not a dialog.
    UINT previous = ::SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    library.handle_ = ::LoadLibraryA(loaderPath(path).c_str());
    if (library.handle_ == nullptr) error = systemMessage(::GetLastError(), path);
    ::SetErrorMode(previous);
    return library;
}

void* DynamicLibrary::symbol(const char* name) const {
    if (handle_ == nullptr) return nullptr;
    return reinterpret_cast<void*>(::GetProcAddress(asModule(handle_), name));
}

void DynamicLibrary::close() {
    if (handle_ != nullptr) ::FreeLibrary(asModule(handle_));
    handle_ = nullptr;
}

size_t DynamicLibrary::bytesWithin(const void* address) const {
    MEMORY_BASIC_INFORMATION region;
    if (handle_ == nullptr || ::VirtualQuery(address, &region, sizeof region) != sizeof region) return 0;
    const DWORD readable = PAGE_READONLY | PAGE_READWRITE | PAGE_WRITECOPY | PAGE_EXECUTE_READ |
                           PAGE_EXECUTE_READWRITE | PAGE_EXECUTE_WRITECOPY;
    if (region.AllocationBase != handle_ || region.State != MEM_COMMIT || (region.Protect & readable) == 0 ||
        (region.Protect & PAGE_GUARD) != 0)
        return 0;
    uintptr_t end = reinterpret_cast<uintptr_t>(region.BaseAddress) + region.RegionSize;
    return end - reinterpret_cast<uintptr_t>(address);
}

}  // namespace sim
