#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>

#include "simhost/platform/file_system.h"

namespace sim {

namespace {

const mode_t kNewFileMode = 0666;  // less the user's umask
const size_t kReadChunk = 1 << 16;
const mode_t kPermissionBits = 0777;

std::string systemError(int code) { return std::strerror(code); }

// Closes on every path out.
class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() {
        if (fd_ >= 0) ::close(fd_);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return fd_; }
    // Closes now, for the error a late write-back may report.
    int closeNow() {
        int result = ::close(fd_);
        fd_ = -1;
        return result;
    }

private:
    int fd_;
};

std::string folderOf(const std::string& path) {
    size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string nameIn(const std::string& path) {
    size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Where a file yet to be made would stand: its folder resolved, then its name.
std::string placeOf(const std::string& path) {
    char resolved[PATH_MAX];
    std::string folder = folderOf(path);
    return (::realpath(folder.c_str(), resolved) != nullptr ? std::string(resolved) : folder) + "/" + nameIn(path);
}

// Writes every byte to the open file; "" or why it failed.
std::string writeAll(int fd, const std::string& bytes) {
    size_t written = 0;
    while (written < bytes.size()) {
        ssize_t put = ::write(fd, bytes.data() + written, bytes.size() - written);
        if (put < 0 && errno == EINTR) continue;
        if (put < 0) return systemError(errno);
        written += static_cast<size_t>(put);
    }
    return "";
}

}  // namespace

FileStatus fileStatus(const std::string& path) {
    FileStatus status;
    struct stat info;
    if (::stat(path.c_str(), &info) != 0) {
        if (errno != ENOENT) status.error = systemError(errno);
        return status;
    }
    status.kind = S_ISREG(info.st_mode) ? FileKind::Regular : S_ISDIR(info.st_mode) ? FileKind::Directory : FileKind::Other;
    return status;
}

FileContents readRegularFile(const std::string& path, size_t maxBytes) {
    FileContents contents;
    auto failed = [&](ReadFailure failure, int code = 0) {
        contents.bytes.clear();
        contents.failure = failure;
        if (failure == ReadFailure::System) contents.error = systemError(code);
        return contents;
    };
    // Non-blocking, so that opening a fifo does not wait for its writer.
    Descriptor file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (file.get() < 0) return failed(errno == ENOENT ? ReadFailure::Missing : ReadFailure::System, errno);
    struct stat info;
    if (::fstat(file.get(), &info) != 0) return failed(ReadFailure::System, errno);
    if (S_ISDIR(info.st_mode)) return failed(ReadFailure::Directory);
    if (!S_ISREG(info.st_mode)) return failed(ReadFailure::NotRegular);
    if (static_cast<unsigned long long>(info.st_size) > maxBytes) return failed(ReadFailure::TooLarge);
    contents.bytes.reserve(static_cast<size_t>(info.st_size));
    char chunk[kReadChunk];
    while (contents.bytes.size() <= maxBytes) {
        size_t wanted = std::min(sizeof chunk, maxBytes + 1 - contents.bytes.size());
        ssize_t got = ::read(file.get(), chunk, wanted);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return failed(ReadFailure::System, errno);
        if (got == 0) return contents;
        contents.bytes.append(chunk, static_cast<size_t>(got));
    }
    return failed(ReadFailure::TooLarge);
}

std::string writtenPlace(const std::string& path) {
    std::string place = path;
    for (int hop = 0; hop < kMostLinkHops; ++hop) {
        char target[PATH_MAX];
        ssize_t length = ::readlink(place.c_str(), target, sizeof target);
        if (length <= 0 || static_cast<size_t>(length) >= sizeof target) return place;
        std::string link(target, static_cast<size_t>(length));
        std::string next = link[0] == '/' ? link : folderOf(place) + "/" + link;
        // A link the system follows by other means than its text, such as a
        // process's open file under /proc ("pipe:[42]"): the text leads
        // nowhere, yet the link reaches a file, and is written through.
        struct stat info;
        if (::lstat(next.c_str(), &info) != 0 && ::stat(place.c_str(), &info) == 0) return place;
        place = next;
    }
    return place;
}

std::string writeProblem(const std::string& path) {
    // A file is written beside its place and moved there, so its folder too
    // must take files.
    std::string place = writtenPlace(path), folder = folderOf(place);
    struct stat info;
    if (::stat(place.c_str(), &info) == 0) {
        if (S_ISDIR(info.st_mode)) return systemError(EISDIR);
        if (::access(place.c_str(), W_OK) != 0) return systemError(errno);
        if (S_ISREG(info.st_mode) && ::access(folder.c_str(), W_OK) != 0) return systemError(errno);
        return "";
    }
    if (errno != ENOENT) return systemError(errno);
    if (::stat(folder.c_str(), &info) != 0) return systemError(errno);
    if (!S_ISDIR(info.st_mode)) return systemError(ENOTDIR);
    return ::access(folder.c_str(), W_OK) == 0 ? "" : systemError(errno);
}

std::string writeWholeFile(const std::string& path, const std::string& bytes) {
    Descriptor file(::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NONBLOCK | O_CLOEXEC, kNewFileMode));
    if (file.get() < 0) return errno == ENXIO ? "no process reads the fifo" : systemError(errno);
    // Blocking again: a pipe that is full makes the writes wait, not fail.
    int flags = ::fcntl(file.get(), F_GETFL);
    if (flags < 0 || ::fcntl(file.get(), F_SETFL, flags & ~O_NONBLOCK) != 0) return systemError(errno);
    std::string problem = writeAll(file.get(), bytes);
    if (!problem.empty()) return problem;
    return file.closeNow() == 0 ? "" : systemError(errno);
}

std::string writeAside(const std::string& place, const std::string& bytes, std::string& aside) {
    struct stat info;
    bool replaces = ::stat(place.c_str(), &info) == 0 && S_ISREG(info.st_mode);
    for (int attempt = 0; attempt < kMostAsideNames; ++attempt) {
        std::string name = asideName(place, static_cast<unsigned long>(::getpid()), attempt);
        int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, kNewFileMode);
        if (fd < 0 && errno == EEXIST) continue;
        if (fd < 0) return systemError(errno);
        Descriptor file(fd);
        std::string problem;
        if (replaces && ::fchmod(file.get(), info.st_mode & kPermissionBits) != 0) problem = systemError(errno);
        if (problem.empty()) problem = writeAll(file.get(), bytes);
        if (file.closeNow() != 0 && problem.empty()) problem = systemError(errno);
        if (!problem.empty()) {
            ::unlink(name.c_str());
            return problem;
        }
        aside = name;
        return "";
    }
    return "no free name beside it";
}

std::string moveInPlace(const std::string& aside, const std::string& place) {
    return ::rename(aside.c_str(), place.c_str()) == 0 ? "" : systemError(errno);
}

void removeFile(const std::string& path) { ::unlink(path.c_str()); }

bool sameStoredFile(const std::string& a, const std::string& b) {
    struct stat first, second;
    bool firstExists = ::stat(a.c_str(), &first) == 0;
    bool secondExists = ::stat(b.c_str(), &second) == 0;
    if (firstExists && secondExists)
        return S_ISREG(first.st_mode) && S_ISREG(second.st_mode) && first.st_dev == second.st_dev &&
               first.st_ino == second.st_ino;
    if (firstExists || secondExists) return false;
    return placeOf(writtenPlace(a)) == placeOf(writtenPlace(b));
}

}  // namespace sim
