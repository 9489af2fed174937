// The kelto-host program run as a user runs it, and what the tests read of
// its output.
#pragma once

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace e2e {

struct HostRun {
    int exitCode;
    std::string out;  // standard output and error together
};

inline HostRun run(const std::string& arguments) {
    std::string command = std::string(KELTO_HOST_PROGRAM) + " " + arguments + " 2>&1";
    HostRun result{-1, ""};
    FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr) return result;
    char buffer[4096];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) result.out.append(buffer, n);
    int status = ::pclose(pipe);
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

inline bool contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

inline std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

// Whether a line is a row of the frame table: its frame right-aligned in
// the first eight columns.
inline bool isTableRow(const std::string& line) {
    const size_t kFrameColumns = 8;
    size_t digits = line.find_first_not_of(" -");
    return line.size() > kFrameColumns && digits < kFrameColumns &&
           line.find_first_not_of("0123456789", digits) == kFrameColumns;
}

// The rows of the frame table: the lines after its heading, up to the blank
// one, without the edits' lines and panel drawings made between them.
inline std::vector<std::string> tableRows(const std::string& out) {
    std::vector<std::string> lines = linesOf(out), rows;
    auto heading = std::find(lines.begin(), lines.end(), "   frame        time         value");
    for (auto at = heading == lines.end() ? heading : heading + 1; at != lines.end() && !at->empty(); ++at)
        if (isTableRow(*at)) rows.push_back(*at);
    return rows;
}

// A file's whole text; "" when it cannot be read.
inline std::string fileText(const std::string& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

inline std::string temp(const std::string& name) { return testing::TempDir() + "/" + name; }

}  // namespace e2e
