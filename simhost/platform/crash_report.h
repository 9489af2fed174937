// A run that a call into the module does not come back from ends with one
// line on standard error all the same, and exit code 1: a crash (a signal on
// POSIX, an exception nothing handles on Windows), a time limit passed, or
// the module ending the process itself. The line names the call into the
// module in progress, as the host marks it:
//
//     kelto-host: crashed (SIGSEGV, invalid memory access) in a call into the module: evaluate at frame 3
//     kelto-host: the run passed its time limit of 5 seconds in a call into the module: load
//     kelto-host: the module ended the process (exit status 0) in a call into the module: evaluate at frame 3
//
// A crash outside every marked call is reported as such; one inside a
// function of the host's own that the module called is said to be the
// host's, naming the call into the module it came from; and one in the
// host's own work, outside any call into the module, names that work:
//
//     kelto-host: crashed (SIGSEGV, invalid memory access) in the simulated host's own writeFP, which the
//     module called in: save
//     kelto-host: the run passed its time limit of 5 seconds in the simulated host's own work: making an edit
//     at frame 3
//
// (one line each). What was shown
// before it stays shown only if it was flushed: the line is written
// directly, and nothing buffered is flushed after a crash.
#pragma once

#include <string>

#include "simhost/platform/time_limit_range.h"

namespace sim {

// How a mark made inside another call into the module's reads. Marks nest
// and the innermost is named, but the host's bindings mark each record
// function they call only where no caller has marked the call, which says
// more ("evaluate at frame 3" rather than "evaluate").
enum class MarkNesting { Innermost, OuterFirst };

// The saved state of the marks, which each mark restores as it ends.
struct MarkState {
    const char* what;
    const char* work;
    int frame;
    bool hasFrame;
};

// Marks a call into the module, for the report to name, while the mark
// lives. `what` must outlive the mark (a literal, say). Made within the
// host's own work (HostWorkMark), a mark without a frame of its own takes
// the work's.
class ModuleCallMark {
public:
    explicit ModuleCallMark(const char* what, MarkNesting nesting = MarkNesting::Innermost);
    ModuleCallMark(const char* what, int frame, MarkNesting nesting = MarkNesting::Innermost);
    ~ModuleCallMark();
    ModuleCallMark(const ModuleCallMark&) = delete;
    ModuleCallMark& operator=(const ModuleCallMark&) = delete;

private:
    MarkState previous_;
};

// Marks the simulated host's own work outside any call into the module
// (reading the scene, making an edit), while the mark lives: a crash or a
// time limit passed in it is the host's, named by `what`. Calls into the
// module made within it are marked again. `what` must outlive the mark.
class HostWorkMark {
public:
    explicit HostWorkMark(const char* what);
    HostWorkMark(const char* what, int frame);
    ~HostWorkMark();
    HostWorkMark(const HostWorkMark&) = delete;
    HostWorkMark& operator=(const HostWorkMark&) = delete;

private:
    MarkState previous_;
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

// From now on the process ending in a marked call into the module (the
// module calling exit or quick_exit) ends it with its line instead, and exit
// code 1. Where the C library tells the status (glibc) the line gives it; a
// quick_exit is named as such. An end that skips the C library's exit
// handlers (_exit, _Exit, the system's own call, ExitProcess on Windows)
// cannot be caught within the process and is not: the run stays in one
// process, the one a debugger is attached to. Runs, and validate
// --in-this-process.
void reportEarlyEnds();
// From now on until endsAsPlanned(), any end of the process is early, in a
// marked call or not (the module ending the last thread of the program,
// whose unwinding ends the marks first): the program's main, which alone
// knows its planned end.
void watchForAnyEarlyEnd();
void endsAsPlanned();

// Where the program is now, as the end of the line says it: " in a call into
// the module: evaluate at frame 3", say. For a note made on another thread,
// which reads the marks without a lock, as a crash does.
std::string whereNow();

// From now on the program ends with its line once `seconds` have passed, at
// most kMostTimeLimitSeconds (time_limit_range.h); false when the timer could
// not be set.
bool limitRunTime(unsigned seconds);

}  // namespace sim
