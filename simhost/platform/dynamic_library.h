// A module file mapped into the process: the platform's dynamic loader behind
// one small interface (dlopen on POSIX, LoadLibrary on Windows).
#pragma once

#include <cstddef>
#include <string>

namespace sim {

class DynamicLibrary {
public:
    DynamicLibrary() = default;
    ~DynamicLibrary() { close(); }
    DynamicLibrary(DynamicLibrary&& other) noexcept : handle_(other.handle_) { other.handle_ = nullptr; }
    DynamicLibrary& operator=(DynamicLibrary&& other) noexcept {
        if (this != &other) {
            close();
            handle_ = other.handle_;
            other.handle_ = nullptr;
        }
        return *this;
    }
    DynamicLibrary(const DynamicLibrary&) = delete;
    DynamicLibrary& operator=(const DynamicLibrary&) = delete;

    // Maps the file; on failure the result is not open and `error` says why
    // in the loader's words.
    static DynamicLibrary open(const std::string& path, std::string& error);

    bool isOpen() const { return handle_ != nullptr; }
    // The address of an exported symbol, or null.
    void* symbol(const char* name) const;
    // How many bytes from `address` on lie in one readable part of the
    // library's own image; 0 when the address is not in it. A module's
    // descriptor and what it points to must lie there.
    size_t bytesWithin(const void* address) const;
    void close();

private:
    void* handle_ = nullptr;
};

}  // namespace sim
