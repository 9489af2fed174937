// A check run in a process of its own, so that a module that crashes or
// hangs fails that check alone: on POSIX a child forked from this one
// (check_process_posix.cpp), on Windows this program started again with the
// check's ID (check_process_windows.cpp). Either way the child hands its
// verdict back on a channel of its own (verdict_channel.h), and the parent
// takes it when the child ends: the module's output is captured apart, only
// to tell why a child that gave no verdict ended, and neither it nor any
// process the module started can give a verdict or hold one back.
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

// What the parent gathered of a check's process by its end.
struct EndedCheckProcess {
    ProcessEnd end;
    std::string output;   // the latest of the module's output (keepOutput)
    std::string verdict;  // what its verdict channel held (keepVerdict)
    std::string token;    // the token its verdict had to bear
};

// The exit code of a check's process that gave its verdict.
const int kVerdictGivenExitCode = 0;

// The check's outcome from how its process ended (check_process.cpp): the
// verdict it gave, taken from a process that exited with
// kVerdictGivenExitCode alone; else a failure saying how it ended.
CheckOutcome outcomeOfProcess(const EndedCheckProcess& ended, int timeLimitSeconds);

// Keeps the latest output a child wrote, within a bound: a module that
// prints without end must not fill the memory.
void keepOutput(std::string& kept, const char* bytes, size_t count);
// Keeps the first bytes a child's verdict channel held, a record's worth and
// one byte more: a record is read whole, and more than one is no verdict.
void keepVerdict(std::string& kept, const char* bytes, size_t count);

}  // namespace sim
