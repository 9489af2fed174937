// A look at a module file before the dynamic loader maps it. The loader maps
// each segment as the program headers place it; a file cut short leaves
// pages with nothing behind them, and touching one kills the process with
// SIGBUS instead of failing the load.
#pragma once

#include <string>

namespace sim {

// Why the ELF file at `path` cannot be mapped whole, or "" when every
// program header and every segment's bytes lie within the file (or when it
// is no ELF file of this machine's class, which the loader refuses itself).
std::string elfImageProblem(const std::string& path);

}  // namespace sim
