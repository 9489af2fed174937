// The files one run of kelto-host reads and writes, checked together before
// anything is read or written, so that a run that could not write its
// results, or would write them over its own inputs, never starts.
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

}  // namespace sim
