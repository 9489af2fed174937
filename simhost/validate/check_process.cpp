#include "simhost/validate/check_process.h"

#include <algorithm>

#include "simhost/validate/check_line.h"
#include "simhost/validate/verdict_channel.h"

namespace sim {

namespace {

// The most of a child's output kept: enough for the lines that tell why it
// ended.
const size_t kKeptOutputBytes = 64 * 1024;

// Why a process that exited gave no verdict to take: its exit code, then
// whether it gave one before, what its channel held, or what it said.
std::string unreadReason(const EndedCheckProcess& ended, bool verdictGiven, const std::string& channelProblem) {
    std::string reason = "its process exited with code " + std::to_string(ended.end.exitCode);
    if (verdictGiven) return reason + " after its verdict";
    if (!channelProblem.empty()) return reason + ", and " + channelProblem;
    reason += " and gave no verdict";
    std::string said = tellingLineOf(ended.output);
    return said.empty() ? reason : reason + "; it said: " + said;
}

}  // namespace

CheckOutcome outcomeOfProcess(const EndedCheckProcess& ended, int timeLimitSeconds) {
    CheckOutcome outcome;
    outcome.verdict = Verdict::Fail;
    switch (ended.end.kind) {
        case ProcessEnd::Kind::NotStarted:
            outcome.reason = "its process did not start: " + ended.end.how;
            return outcome;
        case ProcessEnd::Kind::TimedOut:
            outcome.reason = "no answer within " + std::to_string(timeLimitSeconds) + " s";
            return outcome;
        case ProcessEnd::Kind::Crashed: outcome.reason = "crashed with " + ended.end.how; return outcome;
        case ProcessEnd::Kind::Exited: break;
    }
    CheckOutcome given;
    std::string problem;
    bool read = readVerdictRecord(ended.verdict, ended.token, given, problem);
    if (read && ended.end.exitCode == kVerdictGivenExitCode) return given;
    outcome.reason = unreadReason(ended, read, problem);
    return outcome;
}

void keepOutput(std::string& kept, const char* bytes, size_t count) {
    kept.append(bytes, count);
    if (kept.size() > kKeptOutputBytes) kept.erase(0, kept.size() - kKeptOutputBytes);
}

void keepVerdict(std::string& kept, const char* bytes, size_t count) {
    if (kept.size() <= kMostVerdictChannelBytes)
        kept.append(bytes, std::min(count, kMostVerdictChannelBytes + 1 - kept.size()));
}

}  // namespace sim
