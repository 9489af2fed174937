#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "simhost/platform/file_system.h"

namespace sim {

namespace {

const mode_t kNewFileMode = 0666;  // less the user's umask
const size_t kReadChunk = 1 << 16;

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

// Opened first and examined after, through the descriptor: a path examined
// first could be swapped for a fifo before it is opened.
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

std::string writeAccessProblem(const std::string& path) {
    return ::access(path.c_str(), W_OK) == 0 ? "" : systemError(errno);
}

NewFile writeNewFile(const std::string& path, const std::string& bytes, std::string& problem) {
    int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, kNewFileMode);
    if (fd < 0 && errno == EEXIST) return NewFile::NameTaken;
    if (fd < 0) {
        problem = systemError(errno);
        return NewFile::Failed;
    }
    Descriptor file(fd);
    problem = writeAll(file.get(), bytes);
    if (file.closeNow() != 0 && problem.empty()) problem = systemError(errno);
    if (problem.empty()) return NewFile::Written;
    ::unlink(path.c_str());
    return NewFile::Failed;
}

unsigned long currentProcessId() { return static_cast<unsigned long>(::getpid()); }

}  // namespace sim
