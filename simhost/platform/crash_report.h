// A run that a call into the module does not come back from ends with one
// line on standard error all the same, and exit code 1: a crash (a signal on
// POSIX, an exception nothing handles on Windows) or a time limit passed. The
// line names the call into the module in progress, as the host marks it:
//
//     kelto-host: crashed (SIGSEGV, invalid memory access) in a call into the module: evaluate at frame 3
//     kelto-host: the run passed its time limit of 5 seconds in a call into the module: load
//
// A crash outside every marked call is reported as such, and one inside a
// function of the host's own that the module called is said to be the
// host's, naming the call into the module it came from:
//
//     kelto-host: crashed (SIGSEGV, invalid memory access) in the simulated host's own writeFP, which the
//     module called in: save
//
// (one line). What was shown
// before it stays shown only if it was flushed: the line is written
// directly, and nothing buffered is flushed after a crash.
#pragma once

namespace sim {

// Marks a call into the module, for the report to name, while the mark
// lives; marks nest. `what` must outlive the mark (a literal, say).
class ModuleCallMark {
public:
    explicit ModuleCallMark(const char* what);
    ModuleCallMark(const char* what, int frame);
    ~ModuleCallMark();
    ModuleCallMark(const ModuleCallMark&) = delete;
    ModuleCallMark& operator=(const ModuleCallMark&) = delete;

private:
    const char* previousWhat_;
    int previousFrame_;
    bool previousHasFrame_;
};

// Runs `check` as each mark ends, the call into the module having come back:
// the host then checks what the module may have broken of its rules meanwhile
// (its memory written, say), before its own code trips over it. One check at a
// time; null for none.
void checkAfterModuleCalls(void (*check)());

// Marks a function of the simulated host's own that the module called back
// (a load or save state's, say), while the mark lives: a crash or a time
// limit passed in it is the host's. `what` must outlive the mark.
class HostServiceMark {
public:
    explicit HostServiceMark(const char* what);
    ~HostServiceMark();
    HostServiceMark(const HostServiceMark&) = delete;
    HostServiceMark& operator=(const HostServiceMark&) = delete;

private:
    const char* previousWhat_;
};

// From now on a crash ends the program with its line. Runs only: the
// conformance check runs each check in a process of its own and reports
// how that process ended.
void reportCrashes();

// From now on the program ends with its line once `seconds` have passed;
// false when the timer could not be set.
bool limitRunTime(unsigned seconds);
// The longest time limit, of a run and of one of validate's checks alike: a day.
const unsigned kMostTimeLimitSeconds = 86400;

}  // namespace sim
