#include <windows.h>

#include <atomic>
#include <csignal>
#include <cstdlib>

#include "simhost/platform/crash_report.h"
#include "simhost/platform/crash_report_line.h"

namespace sim {

namespace {

struct CrashException {
    DWORD code;
    const char* meaning;
};

const CrashException kCrashExceptions[] = {
    {EXCEPTION_ACCESS_VIOLATION, "invalid memory access"},      {EXCEPTION_STACK_OVERFLOW, "stack overflow"},
    {EXCEPTION_ILLEGAL_INSTRUCTION, "illegal instruction"},     {EXCEPTION_PRIV_INSTRUCTION, "privileged instruction"},
    {EXCEPTION_INT_DIVIDE_BY_ZERO, "integer division by zero"}, {EXCEPTION_IN_PAGE_ERROR, "page not read in"},
    {EXCEPTION_DATATYPE_MISALIGNMENT, "misaligned data"},       {EXCEPTION_BREAKPOINT, "breakpoint"},
};

const DWORD kMillisecondsPerSecond = 1000;
const UINT kExitCode = 1;

DWORD g_timeLimitSeconds = 0;

[[noreturn]] void endWith(const CrashReportLine& line) {
    DWORD written = 0;
    ::WriteFile(::GetStdHandle(STD_ERROR_HANDLE), line.text(), static_cast<DWORD>(line.length()), &written, nullptr);
    // At once: no other thread, and no module's detach code, runs on.
    ::TerminateProcess(::GetCurrentProcess(), kExitCode);
    for (;;) ::Sleep(INFINITE);
}

LONG WINAPI onCrash(EXCEPTION_POINTERS* exception) {
    DWORD code =
        exception != nullptr && exception->ExceptionRecord != nullptr ? exception->ExceptionRecord->ExceptionCode : 0;
    CrashReportLine line;
    line.add("crashed (exception ").addHex(code);
    for (const CrashException& crash : kCrashExceptions)
        if (crash.code == code) line.add(", ").add(crash.meaning);
    endWith(line.add(")").addWhere());
}

// The runtime's abort() raises SIGABRT rather than an exception.
void onAbort(int) { endWith(CrashReportLine().add("crashed (aborted)").addWhere()); }

// Whether an end outside any marked call is early too.
std::atomic<bool> g_watchingAnyEnd{false};

bool isEarlyEnd() { return g_watchingAnyEnd.load() || inMarkedCall(); }

// The runtime does not hand an exit handler the status.
void onExit() {
    if (isEarlyEnd()) endWith(earlyEndLine(nullptr));
}

DWORD WINAPI endAfterTimeLimit(void*) {
    ::Sleep(g_timeLimitSeconds * kMillisecondsPerSecond);
    endWith(timeLimitLine(g_timeLimitSeconds));
}

}  // namespace

void reportCrashes() {
    ::SetUnhandledExceptionFilter(onCrash);
    std::signal(SIGABRT, onAbort);
}

void reportEarlyEnds() {
    static bool reported = false;
    if (reported) return;
    reported = true;
    std::atexit(onExit);
}

void watchForAnyEarlyEnd() { g_watchingAnyEnd.store(true); }

void endsAsPlanned() { g_watchingAnyEnd.store(false); }

bool limitRunTime(unsigned seconds) {
    g_timeLimitSeconds = seconds;
    HANDLE thread = ::CreateThread(nullptr, 0, endAfterTimeLimit, nullptr, 0, nullptr);
    if (thread == nullptr) return false;
    ::CloseHandle(thread);
    return true;
}

}  // namespace sim
