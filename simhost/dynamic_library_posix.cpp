#include <dlfcn.h>

#include "dynamic_library.h"
#include "elf_image_check.h"

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

}  // namespace sim
