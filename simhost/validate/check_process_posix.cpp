// A check in a child forked from this process, its standard output and
// error captured through a pipe.
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>

#include "simhost/validate/check_line.h"
#include "simhost/validate/check_process.h"
#include "simhost/validate/check_runner.h"

namespace sim {

namespace {

typedef std::chrono::steady_clock Clock;

const size_t kReadBytes = 4096;
// How often a child that closed its output is asked whether it has ended.
const int kWaitPollMilliseconds = 10;

struct SignalName {
    int number;
    const char* name;
};

const SignalName kSignalNames[] = {
    {SIGSEGV, "SIGSEGV"}, {SIGBUS, "SIGBUS"},   {SIGFPE, "SIGFPE"},   {SIGILL, "SIGILL"},
    {SIGABRT, "SIGABRT"}, {SIGTRAP, "SIGTRAP"}, {SIGSYS, "SIGSYS"},   {SIGKILL, "SIGKILL"},
    {SIGTERM, "SIGTERM"}, {SIGPIPE, "SIGPIPE"}, {SIGXCPU, "SIGXCPU"}, {SIGINT, "SIGINT"},
};

std::string signalText(int number) {
    std::string text = "signal " + std::to_string(number);
    for (const SignalName& known : kSignalNames)
        if (known.number == number) return text + " (" + known.name + ")";
    return text;
}

void writeAll(int fd, const std::string& text) {
    size_t written = 0;
    while (written < text.size()) {
        ssize_t n = ::write(fd, text.data() + written, text.size() - written);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return;
        written += size_t(n);
    }
}

// The child: its output goes to the pipe, its verdict last.
[[noreturn]] void runChild(int output, const RegisteredCheck& check, const std::string& path, uint32_t seed) {
    ::dup2(output, STDOUT_FILENO);
    ::dup2(output, STDERR_FILENO);
    ::close(output);
    CheckOutcome outcome = runCheckHere(check, path, seed);
    std::fflush(nullptr);
    writeAll(STDOUT_FILENO, checkLine(check, outcome) + "\n");
    ::_exit(0);
}

int millisecondsUntil(Clock::time_point deadline) {
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return left > 0 ? int(left) : 0;
}

// Reads the child's output until it closes it or the deadline; false at the deadline.
bool readUntilClosed(int input, Clock::time_point deadline, std::string& output) {
    char buffer[kReadBytes];
    for (;;) {
        pollfd ready = {input, POLLIN, 0};
        int waited = ::poll(&ready, 1, millisecondsUntil(deadline));
        if (waited < 0 && errno == EINTR) continue;
        if (waited == 0) return false;
        ssize_t n = ::read(input, buffer, sizeof buffer);
        if (n > 0)
            keepOutput(output, buffer, size_t(n));
        else if (n == 0 || errno != EINTR)
            return true;
    }
}

// Waits for the child's end until the deadline, then kills it.
ProcessEnd waitForEnd(pid_t child, Clock::time_point deadline, bool timedOut) {
    ProcessEnd end;
    int status = 0;
    for (;;) {
        pid_t done = ::waitpid(child, &status, timedOut ? 0 : WNOHANG);
        if (done == child) break;
        if (done < 0 && errno != EINTR) return {ProcessEnd::Kind::NotStarted, 0, std::strerror(errno)};
        if (!timedOut && Clock::now() >= deadline) {
            ::kill(child, SIGKILL);
            timedOut = true;
        } else if (!timedOut) {
            ::usleep(kWaitPollMilliseconds * 1000);
        }
    }
    if (timedOut)
        end.kind = ProcessEnd::Kind::TimedOut;
    else if (WIFSIGNALED(status))
        end = {ProcessEnd::Kind::Crashed, 0, signalText(WTERMSIG(status))};
    else
        end.exitCode = WEXITSTATUS(status);
    return end;
}

}  // namespace

CheckOutcome runCheckInOwnProcess(const RegisteredCheck& check, const std::string& path, uint32_t seed,
                                  int timeLimitSeconds) {
    int pipeEnds[2];
    if (::pipe(pipeEnds) != 0)
        return outcomeOfProcess(check, "", {ProcessEnd::Kind::NotStarted, 0, std::strerror(errno)}, timeLimitSeconds);
    std::fflush(nullptr);
    pid_t child = ::fork();
    if (child == 0) {
        ::close(pipeEnds[0]);
        runChild(pipeEnds[1], check, path, seed);
    }
    int forkError = errno;
    ::close(pipeEnds[1]);
    if (child < 0) {
        ::close(pipeEnds[0]);
        return outcomeOfProcess(check, "", {ProcessEnd::Kind::NotStarted, 0, std::strerror(forkError)},
                                timeLimitSeconds);
    }
    Clock::time_point deadline = Clock::now() + std::chrono::seconds(timeLimitSeconds);
    std::string output;
    bool closed = readUntilClosed(pipeEnds[0], deadline, output);
    ::close(pipeEnds[0]);
    if (!closed) ::kill(child, SIGKILL);
    return outcomeOfProcess(check, output, waitForEnd(child, deadline, !closed), timeLimitSeconds);
}

}  // namespace sim
