#include "simhost/validate/check_process.h"

#include "simhost/validate/check_line.h"

namespace sim {

namespace {

// The most of a child's output kept: enough for its verdict and the lines
// before it.
const size_t kKeptOutputBytes = 64 * 1024;

}  // namespace

CheckOutcome outcomeOfProcess(const RegisteredCheck& check, const std::string& output, const ProcessEnd& end,
                              int timeLimitSeconds) {
    CheckOutcome outcome;
    outcome.verdict = Verdict::Fail;
    switch (end.kind) {
        case ProcessEnd::Kind::NotStarted: outcome.reason = "its process did not start: " + end.how; return outcome;
        case ProcessEnd::Kind::TimedOut:
            outcome.reason = "no answer within " + std::to_string(timeLimitSeconds) + " s";
            return outcome;
        case ProcessEnd::Kind::Crashed: outcome.reason = "crashed with " + end.how; return outcome;
        case ProcessEnd::Kind::Exited: break;
    }
    if (readCheckLine(output, check, outcome)) return outcome;
    outcome.verdict = Verdict::Fail;
    outcome.reason = "its process exited with code " + std::to_string(end.exitCode) + " and gave no verdict";
    std::string said = tellingLineOf(output);
    if (!said.empty()) outcome.reason += "; it said: " + said;
    return outcome;
}

void keepOutput(std::string& kept, const char* bytes, size_t count) {
    kept.append(bytes, count);
    if (kept.size() > kKeptOutputBytes) kept.erase(0, kept.size() - kKeptOutputBytes);
}

}  // namespace sim
