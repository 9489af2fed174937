// Each check's own process hands its verdict back on a channel of its own,
// taken when that process ends: nothing the module prints, and no process it
// starts, gives a verdict or holds one up.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "simhost/validate/check_line.h"
#include "simhost/validate/check_process.h"
#include "simhost/validate/verdict_channel.h"
#include "tests/e2e/fault_modules/helper_processes.h"
#include "tests/e2e/host_program.h"
#include "tests/e2e/validate_run.h"

namespace {

using e2e::faultModule;
using e2e::validateJson;
using e2e::Verdicts;

// The helper processes a module's start-up leaves behind, each of which adds
// its ID to a file named to it through the environment; ended, whatever
// becomes of the test.
class HelperProcesses {
public:
    HelperProcesses() { ::setenv(fault::kHelperIdsVariable, path_.c_str(), 1); }
    ~HelperProcesses() {
        ::unsetenv(fault::kHelperIdsVariable);
        for (pid_t helper : ids()) ::kill(helper, SIGKILL);
        std::remove(path_.c_str());
    }
    std::vector<pid_t> ids() const {
        std::vector<pid_t> ids;
        std::ifstream in(path_);
        for (long id; in >> id;) ids.push_back(pid_t(id));
        return ids;
    }

private:
    const std::string path_ = e2e::temp("helper_ids");
};

// Every check of the modifier under one protocol.
std::set<std::string> checksUnder(const std::string& prefix) {
    std::set<std::string> ids;
    for (const sim::RegisteredCheck* check : sim::checksOf(sim::kValidatedKelto))
        if (check->id.rfind(prefix, 0) == 0) ids.insert(check->id);
    return ids;
}

// A module broken in its description, whose helper prints a PASS line for
// every check there is, during the checks and after them, into the output
// the checks' processes share with it: the verdicts are the module's own.
TEST(CheckProcess, AHelperPrintingPassLinesForgesNoVerdict) {
    const std::string forged = e2e::temp("forged_lines");
    {
        std::ofstream lines(forged);
        for (const sim::RegisteredCheck& check : sim::registeredChecks())
            lines << sim::checkLine(check, sim::CheckOutcome{}) << "\n";
        lines << sim::checksOf(sim::kValidatedKelto).size() << " passed, 0 failed, 0 skipped\n";
    }
    ::setenv(fault::kForgedLinesVariable, forged.c_str(), 1);
    HelperProcesses helpers;
    int exitCode = -1;
    Verdicts verdicts = validateJson({faultModule("fault_helper_forges_passes"), "--seed", "4"}, exitCode);
    ::unsetenv(fault::kForgedLinesVariable);
    EXPECT_FALSE(helpers.ids().empty());
    EXPECT_EQ(exitCode, 1);
    EXPECT_TRUE(verdicts.totalsAddUp && verdicts.coversEvery(sim::kValidatedKelto)) << verdicts;
    EXPECT_EQ(verdicts.withVerdict("fail"), std::set<std::string>{"classic/description"}) << verdicts;
    EXPECT_EQ(verdicts.withVerdict("skip"), checksUnder("current/")) << verdicts;
    EXPECT_NE(verdicts.checks["classic/description"].reason.find("\"KELTO by VEM\""), std::string::npos) << verdicts;
}

// Kelto whole, whose helper holds the output of the checks' processes open
// for minutes: every check passes as Kelto's do, and the run is over while
// the helpers still live.
TEST(CheckProcess, AHelperHoldingTheOutputOpenHoldsUpNoCheck) {
    HelperProcesses helpers;
    int exitCode = -1;
    Verdicts verdicts = validateJson({faultModule("fault_helper_holds_output"), "--seed", "5"}, exitCode);
    EXPECT_EQ(exitCode, 0);
    EXPECT_TRUE(verdicts.totalsAddUp && verdicts.coversEvery(sim::kValidatedKelto)) << verdicts;
    EXPECT_EQ(verdicts.withVerdict("fail"), std::set<std::string>()) << verdicts;
    EXPECT_EQ(verdicts.withVerdict("skip"), checksUnder("current/")) << verdicts;
    const std::vector<pid_t> ids = helpers.ids();
    EXPECT_GE(ids.size(), verdicts.checks.size());
    for (pid_t helper : ids) EXPECT_EQ(::kill(helper, 0), 0) << "helper " << helper << " has ended";
}

// A check's own process, as Windows starts it, told its channel on the
// command line: it writes one record of its token there once the check has
// returned, the reason's own bytes in it, and nothing of its own to its
// output; the channel is kept from any program the module runs.
TEST(CheckProcess, AChecksOwnProcessWritesOneRecordOfItsTokenToItsChannelAlone) {
    int ends[2];
    ASSERT_EQ(::pipe(ends), 0);
    const sim::VerdictChannel channel{uint64_t(ends[1]), sim::newVerdictToken()};
    std::ostringstream out, err;
    int exitCode = sim::runValidateCommand({faultModule("fault_description"), "--check", "classic/description",
                                            "--in-this-process", "--verdict-to", sim::verdictChannelArgument(channel)},
                                           out, err);
    EXPECT_NE(::fcntl(ends[1], F_GETFD) & FD_CLOEXEC, 0);
    ::close(ends[1]);
    std::string held;
    char buffer[4096];
    for (ssize_t n; (n = ::read(ends[0], buffer, sizeof buffer)) > 0;) held.append(buffer, size_t(n));
    ::close(ends[0]);
    EXPECT_EQ(exitCode, sim::kVerdictGivenExitCode);
    EXPECT_EQ(out.str() + err.str(), "");

    sim::CheckOutcome outcome;
    std::string problem;
    EXPECT_TRUE(sim::readVerdictRecord(held, channel.token, outcome, problem)) << problem << "\n" << held;
    EXPECT_EQ(outcome.verdict, sim::Verdict::Fail);
    EXPECT_NE(outcome.reason.find("\"KELTO by VEM\n\x1b[31m\""), std::string::npos) << outcome.reason;
    EXPECT_FALSE(sim::readVerdictRecord(held, sim::newVerdictToken(), outcome, problem));

    // A channel it cannot write to is said in one line.
    const uint64_t kNoDescriptor = 999999;
    const std::string closed = sim::verdictChannelArgument({kNoDescriptor, channel.token});
    std::ostringstream none, why;
    exitCode = sim::runValidateCommand(
        {KELTO_MODULE_PATH, "--check", "module/descriptor", "--in-this-process", "--verdict-to", closed}, none, why);
    EXPECT_EQ(exitCode, 1);
    EXPECT_EQ(why.str(), "kelto-host: the verdict could not be written: Bad file descriptor\n");
}

}  // namespace
