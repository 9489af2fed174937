// A check in a child process of this same program, started as
// "kelto-host.exe validate MODULE --check ID --seed N --in-this-process
// --verdict-to HANDLE:TOKEN": its standard output and error captured through
// one pipe, its verdict written to another, whose write end it inherits and
// keeps from the processes it starts in turn.
#include <windows.h>

#include <string>
#include <vector>

#include "simhost/platform/system_message.h"
#include "simhost/text/text_format.h"
#include "simhost/validate/check_process.h"
#include "simhost/validate/verdict_channel.h"

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
                        uint32_t seed, const VerdictChannel& verdict) {
    std::string line = quoted(program) + " validate " + quoted(path) + " --check " + quoted(check.id);
    return line + " --seed " + std::to_string(seed) + " --in-this-process --verdict-to " +
           verdictChannelArgument(verdict);
}

// One pipe the parent reads a child through, and what it keeps of it.
struct ChildPipe {
    typedef void (*Keep)(std::string& kept, const char* bytes, size_t count);
    ChildPipe(HANDLE from, Keep keeping) : handle(from), keep(keeping) {}

    HANDLE handle;
    Keep keep;
    std::string kept;

    // Reads what the child has written so far, never waiting for more.
    void readAvailable() {
        DWORD available = 0;
        if (!::PeekNamedPipe(handle, nullptr, 0, nullptr, &available, nullptr)) return;
        char buffer[kReadBytes];
        while (available > 0) {
            DWORD read = 0;
            if (!::ReadFile(handle, buffer, available < kReadBytes ? available : kReadBytes, &read, nullptr) ||
                read == 0)
                return;
            keep(kept, buffer, read);
            available -= read;
        }
    }
};

// Reads both pipes until the child ends or its time is up, then what they
// hold already: the child's end alone ends the wait, whoever else holds a
// pipe open.
ProcessEnd collect(const PROCESS_INFORMATION& child, ChildPipe (&pipes)[2], int timeLimitSeconds) {
    ULONGLONG deadline = ::GetTickCount64() + ULONGLONG(timeLimitSeconds) * kMillisecondsPerSecond;
    for (;;) {
        for (ChildPipe& pipe : pipes) pipe.readAvailable();
        if (::WaitForSingleObject(child.hProcess, kPollMilliseconds) == WAIT_OBJECT_0) break;
        if (::GetTickCount64() >= deadline) {
            ::TerminateProcess(child.hProcess, 1);
            ::WaitForSingleObject(child.hProcess, INFINITE);
            return {ProcessEnd::Kind::TimedOut, 0, ""};
        }
    }
    for (ChildPipe& pipe : pipes) pipe.readAvailable();
    DWORD code = 0;
    ::GetExitCodeProcess(child.hProcess, &code);
    if (code >= kFirstExceptionCode || code == kBreakpointCode)
        return {ProcessEnd::Kind::Crashed, 0, exceptionText(code)};
    return {ProcessEnd::Kind::Exited, long(code), ""};
}

// A pipe whose write end alone a child inherits; false and why on a failure.
bool openPipe(HANDLE& readEnd, HANDLE& writeEnd, std::string& why) {
    SECURITY_ATTRIBUTES inherited = {sizeof inherited, nullptr, TRUE};
    if (!::CreatePipe(&readEnd, &writeEnd, &inherited, 0)) {
        why = systemMessage(::GetLastError(), "a pipe");
        return false;
    }
    ::SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    return true;
}

// Starts the child on the pipes' write ends; false and why on a failure.
// Starting a process can fail for a moment on a loaded system (Wine's
// server answers "Internal error"), so a failed start is tried again.
bool startChild(const std::string& program, std::string line, HANDLE output, PROCESS_INFORMATION& child,
                std::string& why) {
    // A crash ends the child with its exception code, and no dialog waits for a user.
    ::SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = ::GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = startup.hStdError = output;
    for (int attempt = 0; attempt < kStartAttempts; ++attempt) {
        if (attempt > 0) ::Sleep(kStartRetryMilliseconds);
        if (::CreateProcessA(program.c_str(), &line[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &child))
            return true;
        why = systemMessage(::GetLastError(), program);
    }
    return false;
}

}  // namespace

CheckOutcome runCheckInOwnProcess(const RegisteredCheck& check, const std::string& path, uint32_t seed,
                                  int timeLimitSeconds) {
    std::string program = thisProgram();
    EndedCheckProcess ended;
    ended.token = newVerdictToken();
    HANDLE output = nullptr, childOutput = nullptr, verdict = nullptr, childVerdict = nullptr;
    std::string why;
    bool opened = openPipe(output, childOutput, why);
    if (opened && !openPipe(verdict, childVerdict, why)) {
        ::CloseHandle(output), ::CloseHandle(childOutput);
        opened = false;
    }
    if (!opened) {
        ended.end = {ProcessEnd::Kind::NotStarted, 0, why};
        return outcomeOfProcess(ended, timeLimitSeconds);
    }
    PROCESS_INFORMATION child = {};
    VerdictChannel channel{uint64_t(uintptr_t(childVerdict)), ended.token};
    bool started = startChild(program, commandLine(program, check, path, seed, channel), childOutput, child, why);
    ::CloseHandle(childOutput), ::CloseHandle(childVerdict);
    ChildPipe pipes[2] = {{output, keepOutput}, {verdict, keepVerdict}};
    if (started) {
        ended.end = collect(child, pipes, timeLimitSeconds);
        ::CloseHandle(child.hThread), ::CloseHandle(child.hProcess);
    } else {
        ended.end = {ProcessEnd::Kind::NotStarted, 0, why};
    }
    ::CloseHandle(output), ::CloseHandle(verdict);
    ended.output = pipes[0].kept;
    ended.verdict = pipes[1].kept;
    return outcomeOfProcess(ended, timeLimitSeconds);
}

void keepFromChildProcesses(const VerdictChannel& channel) {
    ::SetHandleInformation(HANDLE(uintptr_t(channel.handle)), HANDLE_FLAG_INHERIT, 0);
}

std::string writeToChannel(const VerdictChannel& channel, const std::string& bytes) {
    size_t written = 0;
    while (written < bytes.size()) {
        DWORD wrote = 0;
        if (!::WriteFile(HANDLE(uintptr_t(channel.handle)), bytes.data() + written, DWORD(bytes.size() - written),
                         &wrote, nullptr) ||
            wrote == 0)
            return systemMessage(::GetLastError(), "the verdict channel");
        written += wrote;
    }
    return "";
}

}  // namespace sim
