// A check in a child forked from this process: its standard output and
// error captured through one pipe, its verdict written to another.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "simhost/validate/check_process.h"
#include "simhost/validate/check_runner.h"
#include "simhost/validate/verdict_channel.h"

namespace sim {

namespace {

typedef std::chrono::steady_clock Clock;

const size_t kReadBytes = 4096;
// How long the parent waits between asking whether the child has ended:
// short at first, since a child that has closed its pipes ends at once,
// then longer while it works on.
const int kFirstWaitMilliseconds = 1;
const int kLongestWaitMilliseconds = 10;
// The most read of a pipe once its child has ended: what a pipe holds, and
// a sanitizer's report with it.
const size_t kMostDrainedBytes = 256 * 1024;
// Descriptors below this are standard input, output and error.
const int kFirstFreeDescriptor = 3;

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

// A pipe whose ends are closed on exec and lie above standard error, so
// that the child's dup2 onto its output cannot overwrite one.
bool openPipe(int ends[2]) {
    int made[2];
    if (::pipe(made) != 0) return false;
    for (int end = 0; end < 2; ++end) {
        ends[end] = ::fcntl(made[end], F_DUPFD_CLOEXEC, kFirstFreeDescriptor);
        ::close(made[end]);
    }
    if (ends[0] >= 0 && ends[1] >= 0) return true;
    for (int end = 0; end < 2; ++end)
        if (ends[end] >= 0) ::close(ends[end]);
    return false;
}

// The child: the module's output goes to one pipe; the verdict, once the
// check has returned, to the other.
[[noreturn]] void runChild(int output, const VerdictChannel& verdict, const RegisteredCheck& check,
                           const std::string& path, uint32_t seed) {
    ::dup2(output, STDOUT_FILENO);
    ::dup2(output, STDERR_FILENO);
    ::close(output);
    CheckOutcome outcome = runCheckHere(check, path, seed);
    std::fflush(nullptr);
    std::string problem = writeVerdict(verdict, outcome);
    if (problem.empty()) ::_exit(kVerdictGivenExitCode);
    // A module that closed the channel: the parent tells it from what this says.
    std::fprintf(stderr, "kelto-host: %s\n", problem.c_str());
    ::_exit(EXIT_FAILURE);
}

// One pipe the parent reads a child through, and what it keeps of it.
struct ChildPipe {
    typedef void (*Keep)(std::string& kept, const char* bytes, size_t count);
    ChildPipe(int from, Keep keeping) : fd(from), keep(keeping) {}

    int fd;
    Keep keep;
    std::string kept;
    bool open = true;

    // Reads once what is there; false when nothing was (the pipe closed,
    // or, when not blocking, empty).
    bool readOnce() {
        char buffer[kReadBytes];
        ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n > 0) keep(kept, buffer, size_t(n));
        if (n == 0 || (n < 0 && errno != EINTR && errno != EAGAIN)) open = false;
        return n > 0;
    }
    // Once the child has ended: what is there already, without waiting for
    // a process the module started that holds the pipe open, and at most
    // what the pipe holds, however fast such a process writes.
    void drain() {
        ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);
        for (size_t read = 0; open && read < kMostDrainedBytes && readOnce(); read += kReadBytes) {}
        ::close(fd);
    }
};

int millisecondsUntil(Clock::time_point deadline) {
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return left > 0 ? int(left) : 0;
}

// Whether the child has ended, and how.
bool childEnded(pid_t child, ProcessEnd& end) {
    int status = 0;
    pid_t done = ::waitpid(child, &status, WNOHANG);
    if (done == 0 || (done < 0 && errno == EINTR)) return false;
    if (done < 0)
        end = {ProcessEnd::Kind::NotStarted, 0, std::strerror(errno)};
    else if (WIFSIGNALED(status))
        end = {ProcessEnd::Kind::Crashed, 0, signalText(WTERMSIG(status))};
    else
        end = {ProcessEnd::Kind::Exited, WEXITSTATUS(status), ""};
    return true;
}

ProcessEnd killedAtDeadline(pid_t child) {
    ::kill(child, SIGKILL);
    while (::waitpid(child, nullptr, 0) < 0 && errno == EINTR) {}
    return {ProcessEnd::Kind::TimedOut, 0, ""};
}

// Reads both pipes until the child ends or the deadline, then drains them.
// The child's end alone ends the wait: a pipe still open says nothing.
ProcessEnd collect(pid_t child, ChildPipe (&pipes)[2], Clock::time_point deadline) {
    int wait = kFirstWaitMilliseconds;
    ProcessEnd end;
    for (;;) {
        pollfd ready[2];
        for (int at = 0; at < 2; ++at) ready[at] = {pipes[at].open ? pipes[at].fd : -1, POLLIN, 0};
        int waited = ::poll(ready, 2, std::min(wait, millisecondsUntil(deadline)));
        for (int at = 0; waited > 0 && at < 2; ++at)
            if (ready[at].revents != 0) pipes[at].readOnce();
        if (childEnded(child, end)) break;
        if (Clock::now() >= deadline) {
            end = killedAtDeadline(child);
            break;
        }
        wait = waited > 0 ? kFirstWaitMilliseconds : std::min(wait * 2, kLongestWaitMilliseconds);
    }
    for (ChildPipe& pipe : pipes) pipe.drain();
    return end;
}

}  // namespace

CheckOutcome runCheckInOwnProcess(const RegisteredCheck& check, const std::string& path, uint32_t seed,
                                  int timeLimitSeconds) {
    EndedCheckProcess ended;
    ended.token = newVerdictToken();
    int output[2], verdict[2];
    if (!openPipe(output)) {
        ended.end = {ProcessEnd::Kind::NotStarted, 0, std::strerror(errno)};
        return outcomeOfProcess(ended, timeLimitSeconds);
    }
    if (!openPipe(verdict)) {
        ended.end = {ProcessEnd::Kind::NotStarted, 0, std::strerror(errno)};
        ::close(output[0]), ::close(output[1]);
        return outcomeOfProcess(ended, timeLimitSeconds);
    }
    std::fflush(nullptr);
    pid_t child = ::fork();
    if (child == 0) {
        ::close(output[0]), ::close(verdict[0]);
        runChild(output[1], {uint64_t(verdict[1]), ended.token}, check, path, seed);
    }
    int forkError = errno;
    ::close(output[1]), ::close(verdict[1]);
    ChildPipe pipes[2] = {{output[0], keepOutput}, {verdict[0], keepVerdict}};
    if (child < 0) {
        for (ChildPipe& pipe : pipes) ::close(pipe.fd);
        ended.end = {ProcessEnd::Kind::NotStarted, 0, std::strerror(forkError)};
        return outcomeOfProcess(ended, timeLimitSeconds);
    }
    ended.end = collect(child, pipes, Clock::now() + std::chrono::seconds(timeLimitSeconds));
    ended.output = pipes[0].kept;
    ended.verdict = pipes[1].kept;
    return outcomeOfProcess(ended, timeLimitSeconds);
}

void keepFromChildProcesses(const VerdictChannel& channel) {
    int fd = int(channel.handle);
    ::fcntl(fd, F_SETFD, ::fcntl(fd, F_GETFD) | FD_CLOEXEC);
}

std::string writeToChannel(const VerdictChannel& channel, const std::string& bytes) {
    size_t written = 0;
    while (written < bytes.size()) {
        ssize_t n = ::write(int(channel.handle), bytes.data() + written, bytes.size() - written);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return std::strerror(n < 0 ? errno : EIO);
        written += size_t(n);
    }
    return "";
}

}  // namespace sim
