#include <windows.h>

#include <algorithm>
#include <cctype>

#include "simhost/platform/file_system.h"
#include "simhost/platform/system_message.h"

namespace sim {

namespace {

const DWORD kReadChunk = 1 << 16;
const DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

std::string lastError(const std::string& path) { return systemMessage(::GetLastError(), path); }

bool isMissing(DWORD code) { return code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND; }

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

// Opens for examination only; directories too.
HANDLE openToExamine(const std::string& path) {
    return ::CreateFileA(path.c_str(), 0, kShareAll, nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
}

std::string folderOf(const std::string& path) {
    size_t separator = path.find_last_of("\\/:");
    if (separator == std::string::npos) return ".";
    return path.substr(0, separator + 1);
}

// Where a file yet to be made would stand, in one spelling and case.
std::string placeOf(const std::string& path) {
    char full[MAX_PATH];
    DWORD length = ::GetFullPathNameA(path.c_str(), sizeof full, full, nullptr);
    std::string place = length > 0 && length < sizeof full ? std::string(full, length) : path;
    std::transform(place.begin(), place.end(), place.begin(),
                   [](char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); });
    return place;
}

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

FileStatus fileStatus(const std::string& path) {
    FileStatus status;
    DWORD attributes = ::GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        DWORD code = ::GetLastError();
        if (!isMissing(code)) status.error = systemMessage(code, path);
        return status;
    }
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
        status.kind = FileKind::Directory;
        return status;
    }
    Handle file(openToExamine(path));
    status.kind = file.isOpen() && ::GetFileType(file.get()) == FILE_TYPE_DISK ? FileKind::Regular : FileKind::Other;
    return status;
}

FileContents readRegularFile(const std::string& path, size_t maxBytes) {
    FileContents contents;
    auto failed = [&](ReadFailure failure, DWORD code = 0) {
        contents.bytes.clear();
        contents.failure = failure;
        if (failure == ReadFailure::System) contents.error = systemMessage(code, path);
        return contents;
    };
    FileStatus status = fileStatus(path);
    if (!status.error.empty()) {
        contents.failure = ReadFailure::System;
        contents.error = status.error;
        return contents;
    }
    if (status.kind == FileKind::Missing) return failed(ReadFailure::Missing);
    if (status.kind == FileKind::Directory) return failed(ReadFailure::Directory);
    if (status.kind == FileKind::Other) return failed(ReadFailure::NotRegular);
    Handle file(::CreateFileA(path.c_str(), GENERIC_READ, kShareAll, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                              nullptr));
    if (!file.isOpen()) return failed(ReadFailure::System, ::GetLastError());
    if (::GetFileType(file.get()) != FILE_TYPE_DISK) return failed(ReadFailure::NotRegular);
    LARGE_INTEGER size;
    if (!::GetFileSizeEx(file.get(), &size)) return failed(ReadFailure::System, ::GetLastError());
    if (static_cast<unsigned long long>(size.QuadPart) > maxBytes) return failed(ReadFailure::TooLarge);
    char chunk[kReadChunk];
    while (contents.bytes.size() <= maxBytes) {
        DWORD wanted = static_cast<DWORD>(std::min<size_t>(sizeof chunk, maxBytes + 1 - contents.bytes.size()));
        DWORD got = 0;
        if (!::ReadFile(file.get(), chunk, wanted, &got, nullptr)) return failed(ReadFailure::System, ::GetLastError());
        if (got == 0) return contents;
        contents.bytes.append(chunk, got);
    }
    return failed(ReadFailure::TooLarge);
}

std::string writeProblem(const std::string& path) {
    DWORD attributes = ::GetFileAttributesA(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES) {
        if (attributes & FILE_ATTRIBUTE_DIRECTORY) return systemMessage(ERROR_DIRECTORY, path);
        if (attributes & FILE_ATTRIBUTE_READONLY) return systemMessage(ERROR_ACCESS_DENIED, path);
        return "";
    }
    DWORD code = ::GetLastError();
    if (code != ERROR_FILE_NOT_FOUND) return systemMessage(code, path);
    std::string folder = folderOf(path);
    DWORD folderAttributes = ::GetFileAttributesA(folder.c_str());
    if (folderAttributes == INVALID_FILE_ATTRIBUTES) return systemMessage(::GetLastError(), folder);
    if (!(folderAttributes & FILE_ATTRIBUTE_DIRECTORY)) return systemMessage(ERROR_DIRECTORY, folder);
    return "";
}

std::string writeWholeFile(const std::string& path, const std::string& bytes) {
    Handle file(::CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.isOpen()) return lastError(path);
    std::string problem = writeAll(file, bytes, path);
    if (!problem.empty()) return problem;
    return file.closeNow() ? "" : lastError(path);
}

std::string writtenPlace(const std::string& path) { return path; }

std::string writeAside(const std::string& place, const std::string& bytes, std::string& aside) {
    for (int attempt = 0; attempt < kMostAsideNames; ++attempt) {
        std::string name = asideName(place, ::GetCurrentProcessId(), attempt);
        Handle file(::CreateFileA(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file.isOpen() && ::GetLastError() == ERROR_FILE_EXISTS) continue;
        if (!file.isOpen()) return lastError(name);
        std::string problem = writeAll(file, bytes, name);
        if (!file.closeNow() && problem.empty()) problem = lastError(name);
        if (!problem.empty()) {
            ::DeleteFileA(name.c_str());
            return problem;
        }
        aside = name;
        return "";
    }
    return "no free name beside it";
}

std::string moveInPlace(const std::string& aside, const std::string& place) {
    return ::MoveFileExA(aside.c_str(), place.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) ? ""
                                                                                                          : lastError(place);
}

void removeFile(const std::string& path) { ::DeleteFileA(path.c_str()); }

bool sameStoredFile(const std::string& a, const std::string& b) {
    Handle first(openToExamine(a));
    Handle second(openToExamine(b));
    if (first.isOpen() && second.isOpen()) {
        BY_HANDLE_FILE_INFORMATION one, other;
        if (::GetFileType(first.get()) != FILE_TYPE_DISK || ::GetFileType(second.get()) != FILE_TYPE_DISK) return false;
        if (!::GetFileInformationByHandle(first.get(), &one) || !::GetFileInformationByHandle(second.get(), &other))
            return false;
        return !(one.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && one.dwVolumeSerialNumber == other.dwVolumeSerialNumber &&
               one.nFileIndexHigh == other.nFileIndexHigh && one.nFileIndexLow == other.nFileIndexLow;
    }
    if (first.isOpen() || second.isOpen()) return false;
    return placeOf(a) == placeOf(b);
}

}  // namespace sim
