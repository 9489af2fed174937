// A check in a child process of this same program, started as
// "kelto-host.exe validate MODULE --check ID --seed N --in-this-process",
// its standard output and error captured through a pipe.
#include <windows.h>

#include <string>
#include <vector>

#include "simhost/platform/system_message.h"
#include "simhost/text/text_format.h"
#include "simhost/validate/check_process.h"

namespace sim {

namespace {

const DWORD kReadBytes = 4096;
const DWORD kPollMilliseconds = 10;
const int kStartAttempts = 3;
const DWORD kStartRetryMilliseconds = 200;
const ULONGLONG kMillisecondsPerSecond = 1000;
// Exit codes from here up are exceptions that ended the process, and so is
// a breakpoint's.
const DWORD kFirstExceptionCode = 0xC0000000u;
const DWORD kBreakpointCode = 0x80000003u;

struct ExceptionName {
    DWORD code;
    const char* name;
};

const ExceptionName kExceptionNames[] = {
    {0xC0000005u, "access violation"},     {0xC00000FDu, "stack overflow"},
    {0xC000001Du, "illegal instruction"},  {0xC0000094u, "integer division by zero"},
    {0xC0000409u, "stack buffer overrun"}, {0xC0000374u, "heap corruption"},
    {kBreakpointCode, "breakpoint"},
};

std::string exceptionText(DWORD code) {
    std::string text = "exception " + hexText(code, 8);
    for (const ExceptionName& known : kExceptionNames)
        if (known.code == code) return text + " (" + known.name + ")";
    return text;
}

std::string thisProgram() {
    std::vector<char> path(MAX_PATH);
    for (;;) {
        DWORD length = ::GetModuleFileNameA(nullptr, path.data(), DWORD(path.size()));
        if (length < path.size()) return std::string(path.data(), length);
        path.resize(path.size() * 2);
    }
}

// One argument as the C runtime's command-line parser reads it back.
std::string quoted(const std::string& argument) {
    std::string out = "\"";
    size_t backslashes = 0;
    for (char c : argument) {
        if (c == '\\') {
            ++backslashes;
            continue;
        }
        out.append(c == '"' ? backslashes * 2 + 1 : backslashes, '\\');
        backslashes = 0;
        out += c;
    }
    out.append(backslashes * 2, '\\');
    return out + "\"";
}

std::string commandLine(const std::string& program, const RegisteredCheck& check, const std::string& path,
                        uint32_t seed) {
    std::string line = quoted(program) + " validate " + quoted(path) + " --check " + quoted(check.id);
    return line + " --seed " + std::to_string(seed) + " --in-this-process";
}

// Reads what the child has written so far; false once the pipe is closed.
bool readAvailable(HANDLE input, std::string& output) {
    DWORD available = 0;
    if (!::PeekNamedPipe(input, nullptr, 0, nullptr, &available, nullptr)) return false;
    char buffer[kReadBytes];
    while (available > 0) {
        DWORD read = 0;
        if (!::ReadFile(input, buffer, available < kReadBytes ? available : kReadBytes, &read, nullptr) || read == 0)
            return false;
        keepOutput(output, buffer, read);
        available -= read;
    }
    return true;
}

// Collects the child's output until it ends or its time is up.
ProcessEnd collect(const PROCESS_INFORMATION& child, HANDLE input, int timeLimitSeconds, std::string& output) {
    ULONGLONG deadline = ::GetTickCount64() + ULONGLONG(timeLimitSeconds) * kMillisecondsPerSecond;
    for (;;) {
        bool open = readAvailable(input, output);
        if (::WaitForSingleObject(child.hProcess, open ? kPollMilliseconds : 0) == WAIT_OBJECT_0) break;
        if (!open) ::Sleep(kPollMilliseconds);
        if (::GetTickCount64() >= deadline) {
            ::TerminateProcess(child.hProcess, 1);
            ::WaitForSingleObject(child.hProcess, INFINITE);
            return {ProcessEnd::Kind::TimedOut, 0, ""};
        }
    }
    readAvailable(input, output);
    DWORD code = 0;
    ::GetExitCodeProcess(child.hProcess, &code);
    if (code >= kFirstExceptionCode || code == kBreakpointCode)
        return {ProcessEnd::Kind::Crashed, 0, exceptionText(code)};
    return {ProcessEnd::Kind::Exited, long(code), ""};
}

}  // namespace

CheckOutcome runCheckInOwnProcess(const RegisteredCheck& check, const std::string& path, uint32_t seed,
                                  int timeLimitSeconds) {
    std::string program = thisProgram();
    SECURITY_ATTRIBUTES inherited = {sizeof inherited, nullptr, TRUE};
    HANDLE input = nullptr, childOutput = nullptr;
    if (!::CreatePipe(&input, &childOutput, &inherited, 0))
        return outcomeOfProcess(check, "", {ProcessEnd::Kind::NotStarted, 0, systemMessage(::GetLastError(), program)},
                                timeLimitSeconds);
    ::SetHandleInformation(input, HANDLE_FLAG_INHERIT, 0);
    // A crash ends the child with its exception code, and no dialog waits for a user.
    ::SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = ::GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = startup.hStdError = childOutput;
    PROCESS_INFORMATION child = {};
    std::string line = commandLine(program, check, path, seed);
    // Starting a process can fail for a moment on a loaded system (Wine's
    // server answers "Internal error"), so a failed start is tried again.
    BOOL started = FALSE;
    std::string why;
    for (int attempt = 0; !started && attempt < kStartAttempts; ++attempt) {
        if (attempt > 0) ::Sleep(kStartRetryMilliseconds);
        started =
            ::CreateProcessA(program.c_str(), &line[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &child);
        why = started ? "" : systemMessage(::GetLastError(), program);
    }
    ::CloseHandle(childOutput);
    if (!started) {
        ::CloseHandle(input);
        return outcomeOfProcess(check, "", {ProcessEnd::Kind::NotStarted, 0, why}, timeLimitSeconds);
    }
    std::string output;
    ProcessEnd end = collect(child, input, timeLimitSeconds, output);
    ::CloseHandle(child.hThread);
    ::CloseHandle(child.hProcess);
    ::CloseHandle(input);
    return outcomeOfProcess(check, output, end, timeLimitSeconds);
}

}  // namespace sim
