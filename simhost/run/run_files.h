// The files one run of kelto-host reads and writes, checked together before
// anything is read or written, so that a run that could not write its
// results, or would write them over its own inputs, never starts; and
// written together once it has succeeded, so that a run that fails leaves
// every file as it was.
#pragma once

#include <string>
#include <vector>

namespace sim {

struct RunFile {
    std::string role;  // how messages name it: "--plot", "the scene file", ...
    std::string path;
};

// Why the run cannot go ahead, or "": an output that cannot be written (a
// directory, a folder that is missing or takes no files), two outputs that
// are one file, or an output that is one of the inputs. Files are compared by
// identity, not by name.
std::string runFilesProblem(const std::vector<RunFile>& inputs, const std::vector<RunFile>& outputs);

struct RunOutput {
    std::string path;
    std::string bytes;
};

// Writes a run's files: each whole beside where it lands (writtenPlace)
// first, then, once every one is written, each put in its place, so that a
// failed write leaves no file cut short and none changed. A device or a fifo
// stores nothing to lose and is written directly, in its turn. Returns "" or
// one line naming the file that could not be written and why; only a file
// put in place before that one stays changed.
std::string writeRunFiles(const std::vector<RunOutput>& outputs);

}  // namespace sim
