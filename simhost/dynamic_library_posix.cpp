#include <dlfcn.h>

#include "dynamic_library.h"

namespace sim {

DynamicLibrary DynamicLibrary::open(const std::string& path, std::string& error) {
    DynamicLibrary library;
    library.handle_ = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
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

}  // namespace sim
