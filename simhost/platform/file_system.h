// The files kelto-host reads and writes, reached through the platform's own
// calls so that a directory, a device or a fifo is known for what it is
// before a read or write could block, or run on without end.
#pragma once

#include <cstddef>
#include <string>

namespace sim {

enum class FileKind { Missing, Regular, Directory, Other };

// What stands at `path`; `error` holds the system's words when it could not
// be examined for another reason than its absence (Missing then).
struct FileStatus {
    FileKind kind = FileKind::Missing;
    std::string error;
};
FileStatus fileStatus(const std::string& path);

enum class ReadFailure { None, Missing, Directory, NotRegular, TooLarge, System };

struct FileContents {
    std::string bytes;
    ReadFailure failure = ReadFailure::None;
    std::string error;  // the system's words, for System
};

// The whole of a regular file of at most `maxBytes` bytes. Anything else is
// refused without reading it, and no more than `maxBytes` + 1 bytes are ever
// read, so a file that grows while it is read is refused too.
FileContents readRegularFile(const std::string& path, size_t maxBytes);

// Why `path` could not be written, in the system's words, or "" when it
// seems writable: it exists and is no directory, or its folder takes files.
std::string writeProblem(const std::string& path);

// Replaces the file's contents with `bytes`; returns "" or why it failed.
// Opening never waits for a fifo's reader.
std::string writeWholeFile(const std::string& path, const std::string& bytes);

// Whether writing one path would overwrite what the other holds: both name
// one existing regular file (by identity, not by name: links and other
// spellings count), or both name the same file yet to be made. Devices and
// pipes are not stored files and never alias.
bool sameStoredFile(const std::string& a, const std::string& b);

}  // namespace sim
