// A check run in a process of its own, so that a module that crashes or
// hangs fails that check alone: on POSIX a child forked from this one
// (check_process_posix.cpp), on Windows this program started again with the
// check's ID (check_process_windows.cpp). Either way the child's output is
// captured and its check's line read back from it.
#pragma once

#include <cstdint>
#include <string>

#include "simhost/validate/check_outcome.h"
#include "simhost/validate/check_registry.h"

namespace sim {

// Runs `check` on the module at `path` in a process of its own, stopped
// after `timeLimitSeconds`. A process that crashes, runs out of time, or
// ends with no verdict fails the check with a reason that says how.
CheckOutcome runCheckInOwnProcess(const RegisteredCheck& check, const std::string& path, uint32_t seed,
                                  int timeLimitSeconds);

// How a check's process ended, as each platform tells it.
struct ProcessEnd {
    enum class Kind { Exited, Crashed, TimedOut, NotStarted };
    Kind kind = Kind::Exited;
    long exitCode = 0;  // for an exit
    std::string how;    // for a crash, "signal 11 (SIGSEGV)"; for no start, why
};

// The check's outcome from its process's output and end (check_process.cpp).
CheckOutcome outcomeOfProcess(const RegisteredCheck& check, const std::string& output, const ProcessEnd& end,
                              int timeLimitSeconds);

// Keeps the latest output a child wrote, within a bound: a module that
// prints without end must not fill the memory, and the verdict comes last.
void keepOutput(std::string& kept, const char* bytes, size_t count);

}  // namespace sim
