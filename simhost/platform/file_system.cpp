#include "simhost/platform/file_system.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <system_error>

namespace sim {

namespace fs = std::filesystem;

namespace {

std::string folderOf(const fs::path& path) {
    fs::path folder = path.parent_path();
    return folder.empty() ? "." : folder.string();
}

// The error, unless it only says that nothing stands there.
bool failedOtherThanMissing(const std::error_code& error) {
    return error && error != std::errc::no_such_file_or_directory;
}

// Where a file yet to be made would stand, in one spelling; Windows folds
// the case of names, so there in one case too.
std::string placeOf(const std::string& path) {
    // Made absolute first: a relative path whose first name is missing would
    // come back as it was, unlike the same place spelled from its folder.
    std::error_code error;
    fs::path absolute = fs::absolute(path, error);
    if (error) absolute = path;
    fs::path resolved = fs::weakly_canonical(absolute, error);
    std::string place = (error ? absolute.lexically_normal() : resolved).string();
#if defined(_WIN32)
    std::transform(place.begin(), place.end(), place.begin(),
                   [](char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); });
#endif
    return place;
}

}  // namespace

FileStatus fileStatus(const std::string& path) {
    FileStatus status;
    std::error_code error;
    fs::file_status found = fs::status(path, error);
    if (failedOtherThanMissing(error)) status.error = error.message();
    if (error) return status;
    status.kind = fs::is_regular_file(found) ? FileKind::Regular
                  : fs::is_directory(found)  ? FileKind::Directory
                                             : FileKind::Other;
    return status;
}

// weakly_canonical follows no dangling link, as it stops at the first name
// that is missing, so the links are followed here, one at a time.
std::string writtenPlace(const std::string& path) {
    fs::path place = path;
    for (int hop = 0; hop < kMostLinkHops; ++hop) {
        std::error_code error;
        fs::path link = fs::read_symlink(place, error);
        if (error || link.empty()) return place.string();
        fs::path next = link.is_absolute() ? link : fs::path(folderOf(place)) / link;
        // A link the system follows by other means than its text, such as a
        // process's open file under /proc ("pipe:[42]"): the text leads
        // nowhere, yet the link reaches a file, and is written through.
        if (!fs::exists(fs::symlink_status(next, error)) && fs::exists(fs::status(place, error))) return place.string();
        place = next;
    }
    return place.string();
}

std::string writeProblem(const std::string& path) {
    // A file is written beside its place and moved there, so its folder too
    // must take files.
    std::string place = writtenPlace(path), folder = folderOf(place);
    std::error_code error;
    fs::file_status found = fs::status(place, error);
    if (fs::is_directory(found)) return std::make_error_code(std::errc::is_a_directory).message();
    if (fs::exists(found)) {
        std::string problem = writeAccessProblem(place);
        if (problem.empty() && fs::is_regular_file(found)) problem = writeAccessProblem(folder);
        return problem;
    }
    if (failedOtherThanMissing(error)) return error.message();
    found = fs::status(folder, error);
    if (error) return error.message();
    if (!fs::is_directory(found)) return std::make_error_code(std::errc::not_a_directory).message();
    return writeAccessProblem(folder);
}

std::string writeAside(const std::string& place, const std::string& bytes, std::string& aside) {
    std::error_code missing;
    fs::file_status replaced = fs::status(place, missing);
    for (int attempt = 0; attempt < kMostAsideNames; ++attempt) {
        std::string name = asideName(place, currentProcessId(), attempt), problem;
        NewFile made = writeNewFile(name, bytes, problem);
        if (made == NewFile::NameTaken) continue;
        if (made == NewFile::Failed) return problem;
        // The file that is replaced keeps its permissions, less set-ID bits.
        std::error_code error;
        if (fs::is_regular_file(replaced)) fs::permissions(name, replaced.permissions() & fs::perms::all, error);
        if (error) {
            removeFile(name);
            return error.message();
        }
        aside = name;
        return "";
    }
    return "no free name beside it";
}

std::string moveInPlace(const std::string& aside, const std::string& place) {
    std::error_code error;
    fs::rename(aside, place, error);
    return error ? error.message() : "";
}

void removeFile(const std::string& path) {
    std::error_code error;
    fs::remove(path, error);
}

bool sameStoredFile(const std::string& a, const std::string& b) {
    std::error_code error;
    fs::file_status first = fs::status(a, error), second = fs::status(b, error);
    if (fs::exists(first) && fs::exists(second))
        return fs::is_regular_file(first) && fs::is_regular_file(second) && fs::equivalent(a, b, error);
    if (fs::exists(first) || fs::exists(second)) return false;
    return placeOf(writtenPlace(a)) == placeOf(writtenPlace(b));
}

}  // namespace sim
