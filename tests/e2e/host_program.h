// The kelto-host program run as a user runs it, and what the tests read of
// its output.
#pragma once

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <algorithm>
#include <cmath>
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

// Whether a line is a row of the frame table: its frame first, a whole
// number right-aligned in eight columns (or wider, where it needs more).
inline bool isTableRow(const std::string& line) {
    const size_t kFrameColumns = 8;
    size_t digits = line.find_first_not_of(' ');
    if (digits != std::string::npos && line[digits] == '-') ++digits;
    size_t end = line.find_first_not_of("0123456789", digits);
    return digits < line.size() && end > digits && end != std::string::npos && end >= kFrameColumns && line[end] == ' ';
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

// A row of the frame table read back: its frame, its time in seconds, the
// channel's value, and whether the modifier set it.
struct FrameRow {
    long frame = -1;  // no row
    double time = 0, value = 0;
    bool set = false;
};

inline std::vector<FrameRow> frameRows(const std::string& out) {
    std::vector<FrameRow> rows;
    for (const std::string& line : tableRows(out)) {
        FrameRow row;
        std::istringstream fields(line);
        fields >> row.frame >> row.time >> row.value;
        row.set = line.find("(not set)") == std::string::npos;
        rows.push_back(row);
    }
    return rows;
}

// The row of frame `frame`, or a row of frame -1 when the table has none.
inline FrameRow rowOfFrame(const std::string& out, long frame) {
    for (const FrameRow& row : frameRows(out))
        if (row.frame == frame) return row;
    return FrameRow();
}

// The frame table shows six decimals.
const double kShownPrecision = 5e-7;

// Whether the frame table shows `value` at `frame`, to its six decimals.
inline ::testing::AssertionResult showsAt(const std::string& out, long frame, double value) {
    const FrameRow row = rowOfFrame(out, frame);
    if (row.frame != frame) return ::testing::AssertionFailure() << "no row of frame " << frame << " in:\n" << out;
    if (!(std::fabs(row.value - value) <= kShownPrecision))
        return ::testing::AssertionFailure() << "frame " << frame << " shows " << row.value << ", not " << value;
    return ::testing::AssertionSuccess();
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
