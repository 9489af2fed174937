// The files kelto-host reads and writes. What a path names, where its links
// lead and which file it is are std::filesystem's (file_system.cpp); reads
// and writes go through the platform's own calls, so that a directory, a
// device or a fifo is known for what it is before a read or write could
// block, or run on without end.
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

// Where writing `path` lands: its symbolic links followed to their end, a
// link to a file yet to be made (a dangling one) included, at most
// kMostLinkHops deep.
std::string writtenPlace(const std::string& path);
const int kMostLinkHops = 40;

// Why `path` could not be written, in the system's words, or "" when it
// seems writable: where it lands (writtenPlace) is no directory, and is a
// writable file in a folder that takes files, or a folder that takes them.
std::string writeProblem(const std::string& path);

// Replaces the file's contents with `bytes`; returns "" or why it failed.
// Opening never waits for a fifo's reader.
std::string writeWholeFile(const std::string& path, const std::string& bytes);

// Writes `bytes` whole to a new file beside `place`, in its folder under a
// name of its own (asideName's first that is free), with the permissions
// `place` has when it exists, and sets `aside` to its path. Returns "" or why
// it failed, and then leaves nothing.
std::string writeAside(const std::string& place, const std::string& bytes, std::string& aside);
const int kMostAsideNames = 100;

// The name of the file written aside for `place` by a process, at an attempt:
// "saved.scene.kelto-host-1234-0".
inline std::string asideName(const std::string& place, unsigned long process, int attempt) {
    return place + ".kelto-host-" + std::to_string(process) + "-" + std::to_string(attempt);
}

// Puts the file `aside` in the place of `place` at once, replacing it.
std::string moveInPlace(const std::string& aside, const std::string& place);

void removeFile(const std::string& path);

// Whether writing one path would overwrite what the other holds: both name
// one existing regular file (by identity, not by name: links and other
// spellings count), or both land on the same file yet to be made (links
// followed, dangling ones too). Devices and pipes are not stored files and
// never alias.
bool sameStoredFile(const std::string& a, const std::string& b);

// Each platform's own, which std::filesystem cannot do: its permission bits
// do not say whether this process may write (root, groups, access lists
// decide), and it neither opens nor makes a file.

// Why this process may not write `path`, in the system's words, or "".
std::string writeAccessProblem(const std::string& path);

enum class NewFile { Written, NameTaken, Failed };

// Makes `path`, never taking a file that is there already, and writes
// `bytes` whole into it; when that fails, leaves nothing and sets `problem`.
NewFile writeNewFile(const std::string& path, const std::string& bytes, std::string& problem);

unsigned long currentProcessId();

}  // namespace sim
