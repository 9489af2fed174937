#include "simhost/platform/elf_image_check.h"

#include <fcntl.h>
#include <link.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <vector>

namespace sim {

namespace {

#if defined(__LP64__)
const unsigned char kNativeClass = ELFCLASS64;
#else
const unsigned char kNativeClass = ELFCLASS32;
#endif

bool readAt(int fd, void* into, size_t bytes, off_t offset) {
    return ::pread(fd, into, bytes, offset) == static_cast<ssize_t>(bytes);
}

std::string cutShort(const char* what, unsigned long long end, unsigned long long size) {
    return std::string("cut short: its ") + what + " run to byte " + std::to_string(end) + " of a file of " +
           std::to_string(size) + " bytes";
}

std::string problemIn(int fd) {
    struct stat info;
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) return "";
    unsigned long long size = static_cast<unsigned long long>(info.st_size);
    ElfW(Ehdr) header;
    if (!readAt(fd, &header, sizeof header, 0)) return "";
    if (std::memcmp(header.e_ident, ELFMAG, SELFMAG) != 0 || header.e_ident[EI_CLASS] != kNativeClass ||
        header.e_phentsize != sizeof(ElfW(Phdr)))
        return "";
    unsigned long long tableEnd = static_cast<unsigned long long>(header.e_phoff) +
                                  static_cast<unsigned long long>(header.e_phnum) * sizeof(ElfW(Phdr));
    if (tableEnd > size) return cutShort("program headers", tableEnd, size);
    std::vector<ElfW(Phdr)> segments(header.e_phnum);
    if (!segments.empty() &&
        !readAt(fd, segments.data(), segments.size() * sizeof(ElfW(Phdr)), static_cast<off_t>(header.e_phoff)))
        return "";
    for (const ElfW(Phdr) & segment : segments) {
        unsigned long long end = static_cast<unsigned long long>(segment.p_offset) + segment.p_filesz;
        if (end < segment.p_offset || end > size) return cutShort("segments", end, size);
    }
    return "";
}

}  // namespace

std::string elfImageProblem(const std::string& path) {
    int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return "";  // the loader says why in its own words
    std::string problem = problemIn(fd);
    ::close(fd);
    return problem;
}

}  // namespace sim
