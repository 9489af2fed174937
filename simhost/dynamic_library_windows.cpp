#include <windows.h>

#include "dynamic_library.h"

namespace sim {

namespace {

HMODULE asModule(void* handle) { return static_cast<HMODULE>(handle); }

std::string lastErrorText() {
    DWORD code = ::GetLastError();
    char text[512] = {0};
    DWORD length = ::FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0, text,
                                    sizeof text, nullptr);
    while (length > 0 && (text[length - 1] == '\n' || text[length - 1] == '\r' || text[length - 1] == ' '))
        text[--length] = '\0';
    return length > 0 ? std::string(text) : "error " + std::to_string(code);
}

}  // namespace

DynamicLibrary DynamicLibrary::open(const std::string& path, std::string& error) {
    DynamicLibrary library;
    // No error boxes: a file that is not a module is an answer, not a dialog.
    UINT previous = ::SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    library.handle_ = ::LoadLibraryA(path.c_str());
    if (library.handle_ == nullptr) error = lastErrorText();
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

}  // namespace sim
