#include <windows.h>

#include <algorithm>

#include "simhost/platform/file_system.h"
#include "simhost/platform/system_message.h"

namespace sim {

namespace {

const DWORD kReadChunk = 1 << 16;
const DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

std::string lastError(const std::string& path) { return systemMessage(::GetLastError(), path); }

// Closes on every path out.
class Handle {
public:
    explicit Handle(HANDLE handle) : handle_(handle) {}
    ~Handle() {
        if (isOpen()) ::CloseHandle(handle_);
    }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    HANDLE get() const { return handle_; }
    bool isOpen() const { return handle_ != INVALID_HANDLE_VALUE; }
    bool closeNow() {
        bool closed = ::CloseHandle(handle_) != 0;
        handle_ = INVALID_HANDLE_VALUE;
        return closed;
    }

private:
    HANDLE handle_;
};

// Writes every byte through the open handle; "" or why it failed.
std::string writeAll(const Handle& file, const std::string& bytes, const std::string& path) {
    size_t written = 0;
    while (written < bytes.size()) {
        DWORD wanted = static_cast<DWORD>(std::min<size_t>(kReadChunk, bytes.size() - written));
        DWORD put = 0;
        if (!::WriteFile(file.get(), bytes.data() + written, wanted, &put, nullptr) || put == 0) return lastError(path);
        written += put;
    }
    return "";
}

}  // namespace

// A path that std::filesystem takes for a file may still open as a device
// or a pipe: the open handle's type decides.
FileContents readRegularFile(const std::string& path, size_t maxBytes) {
    FileContents contents;
    auto failed = [&](ReadFailure failure, const std::string& error = "") {
        contents.bytes.clear();
        contents.failure = failure;
        contents.error = error;
        return contents;
    };
    FileStatus status = fileStatus(path);
    if (!status.error.empty()) return failed(ReadFailure::System, status.error);
    if (status.kind == FileKind::Missing) return failed(ReadFailure::Missing);
    if (status.kind == FileKind::Directory) return failed(ReadFailure::Directory);
    if (status.kind == FileKind::Other) return failed(ReadFailure::NotRegular);
    Handle file(
        ::CreateFileA(path.c_str(), GENERIC_READ, kShareAll, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.isOpen()) return failed(ReadFailure::System, lastError(path));
    if (::GetFileType(file.get()) != FILE_TYPE_DISK) return failed(ReadFailure::NotRegular);
    LARGE_INTEGER size;
    if (!::GetFileSizeEx(file.get(), &size)) return failed(ReadFailure::System, lastError(path));
    if (static_cast<unsigned long long>(size.QuadPart) > maxBytes) return failed(ReadFailure::TooLarge);
    char chunk[kReadChunk];
    while (contents.bytes.size() <= maxBytes) {
        DWORD wanted = static_cast<DWORD>(std::min<size_t>(sizeof chunk, maxBytes + 1 - contents.bytes.size()));
        DWORD got = 0;
        if (!::ReadFile(file.get(), chunk, wanted, &got, nullptr)) return failed(ReadFailure::System, lastError(path));
        if (got == 0) return contents;
        contents.bytes.append(chunk, got);
    }
    return failed(ReadFailure::TooLarge);
}

std::string writeWholeFile(const std::string& path, const std::string& bytes) {
    Handle file(::CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.isOpen()) return lastError(path);
    std::string problem = writeAll(file, bytes, path);
    if (!problem.empty()) return problem;
    return file.closeNow() ? "" : lastError(path);
}

// Windows keeps who may write in access lists that only an attempt reads;
// a file marked read-only is refused here, a folder when the file is made.
std::string writeAccessProblem(const std::string& path) {
    DWORD attributes = ::GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return lastError(path);
    bool readOnly = (attributes & FILE_ATTRIBUTE_READONLY) && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
    return readOnly ? systemMessage(ERROR_ACCESS_DENIED, path) : "";
}

NewFile writeNewFile(const std::string& path, const std::string& bytes, std::string& problem) {
    Handle file(::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.isOpen() && ::GetLastError() == ERROR_FILE_EXISTS) return NewFile::NameTaken;
    if (!file.isOpen()) {
        problem = lastError(path);
        return NewFile::Failed;
    }
    problem = writeAll(file, bytes, path);
    if (!file.closeNow() && problem.empty()) problem = lastError(path);
    if (problem.empty()) return NewFile::Written;
    ::DeleteFileA(path.c_str());
    return NewFile::Failed;
}

unsigned long currentProcessId() { return ::GetCurrentProcessId(); }

}  // namespace sim
