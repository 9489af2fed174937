// `kelto-host validate`: a conformance check for any module that claims to be
// the Kelto channel modifier, in the manner of the plug-in validators of audio
// hosts. Each check drives the module file through the simulated host as the
// host would and fails on any broken promise, a host check included.
#pragma once

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

namespace sim {

struct CheckResult {
    std::string id;       // stable, e.g. "classic/picks"; it names the check on its line
    std::string name;     // what it checks, in words
    std::string failure;  // why it failed; empty when it passed
};

// Runs every check on the module file at `path`; random inputs come from
// `seed`, so that a failure can be replayed.
std::vector<CheckResult> checkConformance(const std::string& path, uint32_t seed);

// The command: "validate MODULE [--seed N]". Prints a line per check, e.g.
// "PASS  classic/picks  random panel picks take effect and are saved" or
// "FAIL  ID  NAME: why", and a closing "N passed, N failed" line; returns 0
// only when every check passed.
int runValidateCommand(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err);

}  // namespace sim
