// One check run in this process: the module loaded for it, whether the check
// applies to it, and the check's outcome.
#pragma once

#include <cstdint>
#include <string>

#include "simhost/validate/check_outcome.h"
#include "simhost/validate/check_registry.h"

namespace sim {

// Runs `check` on the module file at `path` with random inputs from `seed`.
// A module that does not load fails the descriptor check and skips the
// others; a protocol the module need not serve and does not is skipped. A
// crash or a hang takes this process with it: check_process.h runs a check
// in a process of its own.
CheckOutcome runCheckHere(const RegisteredCheck& check, const std::string& path, uint32_t seed);

}  // namespace sim
