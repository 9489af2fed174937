#include <dlfcn.h>
#include <link.h>

#include "simhost/platform/dynamic_library.h"
#include "simhost/platform/elf_image_check.h"

namespace sim {

namespace {

// A name without a folder is the file in the current folder; dlopen would
// search the library path for it instead.
std::string loaderPath(const std::string& path) { return path.find('/') == std::string::npos ? "./" + path : path; }

}  // namespace

DynamicLibrary DynamicLibrary::open(const std::string& path, std::string& error) {
    DynamicLibrary library;
    std::string problem = elfImageProblem(path);
    if (!problem.empty()) {
        error = problem;
        return library;
    }
    library.handle_ = ::dlopen(loaderPath(path).c_str(), RTLD_NOW | RTLD_LOCAL);
    if (library.handle_ == nullptr) {
        const char* text = ::dlerror();
        error = text != nullptr ? text : "unknown reason";
    }
    return library;
}

void* DynamicLibrary::symbol(const char* name) const { return handle_ != nullptr ? ::dlsym(handle_, name) : nullptr; }

void DynamicLibrary::close() {
    if (handle_ != nullptr) ::dlclose(handle_);
    handle_ = nullptr;
}

namespace {

struct SegmentSearch {
    ElfW(Addr) base;    // the library's load address
    uintptr_t address;  // the address asked about
    size_t bytes = 0;   // the answer
};

int searchSegments(struct dl_phdr_info* info, size_t, void* data) {
    SegmentSearch& search = *static_cast<SegmentSearch*>(data);
    if (info->dlpi_addr != search.base) return 0;
    for (ElfW(Half) i = 0; i < info->dlpi_phnum; ++i) {
        const ElfW(Phdr)& segment = info->dlpi_phdr[i];
        if (segment.p_type != PT_LOAD || (segment.p_flags & PF_R) == 0) continue;
        uintptr_t begin = info->dlpi_addr + segment.p_vaddr, end = begin + segment.p_memsz;
        if (search.address >= begin && search.address < end) search.bytes = end - search.address;
    }
    return 1;
}

}  // namespace

size_t DynamicLibrary::bytesWithin(const void* address) const {
    struct link_map* map = nullptr;
    if (handle_ == nullptr || ::dlinfo(handle_, RTLD_DI_LINKMAP, &map) != 0 || map == nullptr) return 0;
    SegmentSearch search{map->l_addr, reinterpret_cast<uintptr_t>(address)};
    ::dl_iterate_phdr(searchSegments, &search);
    return search.bytes;
}

}  // namespace sim
