#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>

#include "simhost/platform/crash_report.h"
#include "simhost/platform/crash_report_line.h"

namespace sim {

namespace {

struct CrashSignal {
    int number;
    const char* name;
    const char* meaning;
};

const CrashSignal kCrashSignals[] = {
    {SIGSEGV, "SIGSEGV", "invalid memory access"},
    {SIGBUS, "SIGBUS", "bus error"},
    {SIGFPE, "SIGFPE", "arithmetic error"},
    {SIGILL, "SIGILL", "illegal instruction"},
    {SIGTRAP, "SIGTRAP", "trap"},
    {SIGABRT, "SIGABRT", "aborted"},
};

// The handler's own stack, so that a stack overflow is reported too.
const size_t kHandlerStackBytes = 64 * 1024;
alignas(16) char g_handlerStack[kHandlerStackBytes];

unsigned g_timeLimitSeconds = 0;

[[noreturn]] void endWith(const CrashReportLine& line) {
    const char* text = line.text();
    size_t left = line.length();
    while (left > 0) {
        ssize_t put = ::write(STDERR_FILENO, text, left);
        if (put <= 0) break;
        text += put;
        left -= static_cast<size_t>(put);
    }
    ::_exit(1);
}

void onCrash(int number) {
    CrashReportLine line;
    line.add("crashed (");
    for (const CrashSignal& crash : kCrashSignals)
        if (crash.number == number) line.add(crash.name).add(", ").add(crash.meaning);
    endWith(line.add(")").addWhere());
}

void onTimeLimit(int) { endWith(timeLimitLine(g_timeLimitSeconds)); }

// Whether an end outside any marked call is early too.
std::atomic<bool> g_watchingAnyEnd{false};

bool isEarlyEnd() { return g_watchingAnyEnd.load() || inMarkedCall(); }

#if defined(__GLIBC__)
// glibc hands an exit handler the status; a C library that does not gets atexit's.
void onExit(int status, void*) {
    if (isEarlyEnd()) endWith(earlyEndLine(&status));
}
#else
void onExit() {
    if (isEarlyEnd()) endWith(earlyEndLine(nullptr));
}
#endif

void onQuickExit() {
    if (isEarlyEnd()) endWith(earlyEndLine(nullptr, "quick_exit"));
}

}  // namespace

void reportCrashes() {
    stack_t stack = {};
    stack.ss_sp = g_handlerStack;
    stack.ss_size = sizeof g_handlerStack;
    ::sigaltstack(&stack, nullptr);
    struct sigaction action = {};
    action.sa_handler = onCrash;
    // A crash in the handler itself ends the program as the signal would.
    action.sa_flags = SA_ONSTACK | SA_RESETHAND | SA_NODEFER;
    sigemptyset(&action.sa_mask);
    for (const CrashSignal& crash : kCrashSignals) ::sigaction(crash.number, &action, nullptr);
}

void reportEarlyEnds() {
    static bool reported = false;
    if (reported) return;
    reported = true;
#if defined(__GLIBC__)
    ::on_exit(onExit, nullptr);
#else
    std::atexit(onExit);
#endif
    std::at_quick_exit(onQuickExit);
}

void watchForAnyEarlyEnd() { g_watchingAnyEnd.store(true); }

void endsAsPlanned() { g_watchingAnyEnd.store(false); }

bool limitRunTime(unsigned seconds) {
    g_timeLimitSeconds = seconds;
    struct sigaction action = {};
    action.sa_handler = onTimeLimit;
    action.sa_flags = SA_ONSTACK;
    sigemptyset(&action.sa_mask);
    if (::sigaction(SIGALRM, &action, nullptr) != 0) return false;
    ::alarm(seconds);
    return true;
}

}  // namespace sim
