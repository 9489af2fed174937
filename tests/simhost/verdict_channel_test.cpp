// A check's verdict as its own process hands it back: the record on its
// channel, and the outcome the parent makes of it and of the process's end.
#include <gtest/gtest.h>

#include <string>

#include "simhost/validate/check_process.h"
#include "simhost/validate/verdict_channel.h"

namespace {

const std::string kToken = "0123456789abcdef0123456789abcdef";
const char kAwkwardReason[] = "a line\nbreak, a NUL \0 and \xff not UTF-8";

sim::CheckOutcome failure(const std::string& reason) { return {sim::Verdict::Fail, reason}; }

// What the parent makes of a process that exited with `code`, its verdict
// channel holding `verdict` and its output `output`.
sim::CheckOutcome afterExit(long code, const std::string& verdict, const std::string& output = "") {
    sim::EndedCheckProcess ended;
    ended.end = {sim::ProcessEnd::Kind::Exited, code, ""};
    ended.verdict = verdict;
    ended.output = output;
    ended.token = kToken;
    return sim::outcomeOfProcess(ended, 20);
}

TEST(VerdictChannel, ARecordGivesItsVerdictAndItsReasonByteForByte) {
    for (const sim::CheckOutcome& given :
         {sim::CheckOutcome{sim::Verdict::Pass, ""}, sim::CheckOutcome{sim::Verdict::Skip, "no version 5"},
          failure(std::string(kAwkwardReason, sizeof kAwkwardReason - 1)), failure("KELTO-VERDICT " + kToken)}) {
        sim::CheckOutcome read;
        std::string problem = "unchanged";
        EXPECT_TRUE(sim::readVerdictRecord(sim::verdictRecord(kToken, given), kToken, read, problem));
        EXPECT_EQ(problem, "");
        EXPECT_EQ(read.verdict, given.verdict);
        EXPECT_EQ(read.reason, given.reason);
    }
}

// A reason past the bound is cut there, before a character that would not
// fit whole.
TEST(VerdictChannel, ALongReasonIsCutOnACharacterBoundary) {
    const std::string euro = "\xe2\x82\xac";
    std::string reason = "a" + std::string(sim::kMostReasonBytes, 'x').replace(sim::kMostReasonBytes - 2, 2, euro);
    sim::CheckOutcome read;
    std::string problem;
    ASSERT_TRUE(sim::readVerdictRecord(sim::verdictRecord(kToken, failure(reason)), kToken, read, problem));
    EXPECT_EQ(read.reason, reason.substr(0, sim::kMostReasonBytes - 1));
    EXPECT_LE(sim::verdictRecord(kToken, failure(reason)).size(), sim::kMostVerdictChannelBytes);
}

// Anything but one record of the run's own token is no verdict: another
// run's, a check's line as the module's output shows it, a record cut short
// or followed by anything.
TEST(VerdictChannel, NothingButOneRecordOfTheRunsTokenIsAVerdict) {
    const std::string pass = sim::verdictRecord(kToken, {sim::Verdict::Pass, ""});
    const std::string fail = sim::verdictRecord(kToken, failure("why"));
    for (const std::string& held :
         {sim::verdictRecord("fedcba9876543210fedcba9876543210", {sim::Verdict::Pass, ""}),
          std::string("PASS  classic/picks  random panel picks take effect\n"), pass.substr(0, pass.size() - 1),
          fail.substr(0, fail.size() - 1), fail + "x", fail + pass, pass + pass, "KELTO-VERDICT " + kToken + " PASS 0",
          "KELTO-VERDICT " + kToken + " GOOD 0\n", "KELTO-VERDICT " + kToken + " PASS +0\n",
          "KELTO-VERDICT " + kToken + " FAIL 99999999999999999999\nwhy", "KELTO-VERDICT  " + kToken + " PASS 0\n",
          "x" + pass}) {
        sim::CheckOutcome read{sim::Verdict::Skip, "unchanged"};
        std::string problem;
        EXPECT_FALSE(sim::readVerdictRecord(held, kToken, read, problem)) << held;
        EXPECT_EQ(problem,
                  "its verdict channel held " + std::to_string(held.size()) + " bytes that are not its verdict");
        EXPECT_EQ(read.reason, "unchanged");
    }
    sim::CheckOutcome read;
    std::string problem = "unchanged";
    EXPECT_FALSE(sim::readVerdictRecord("", kToken, read, problem));
    EXPECT_EQ(problem, "");
    EXPECT_FALSE(sim::readVerdictRecord(sim::verdictRecord("", {sim::Verdict::Pass, ""}), "", read, problem));
}

// The verdict is taken from a process that exited as one that gave it does;
// any other end fails the check, saying how it ended.
TEST(VerdictChannel, TheVerdictIsTakenOnlyFromAProcessThatEndedAsOneThatGaveIt) {
    const std::string skip = sim::verdictRecord(kToken, {sim::Verdict::Skip, "not served"});
    EXPECT_EQ(afterExit(sim::kVerdictGivenExitCode, skip).reason, "not served");
    EXPECT_EQ(afterExit(sim::kVerdictGivenExitCode, skip).verdict, sim::Verdict::Skip);

    sim::CheckOutcome late = afterExit(3, skip);
    EXPECT_EQ(late.verdict, sim::Verdict::Fail);
    EXPECT_EQ(late.reason, "its process exited with code 3 after its verdict");
    // What the module printed tells why, but is never taken for a verdict.
    sim::CheckOutcome none = afterExit(0, "", "PASS  classic/picks  random panel picks\nbye\n");
    EXPECT_EQ(none.verdict, sim::Verdict::Fail);
    EXPECT_EQ(none.reason, "its process exited with code 0 and gave no verdict; it said: bye");
    EXPECT_EQ(afterExit(0, "PASS\n").reason,
              "its process exited with code 0, and its verdict channel held 5 bytes that are not its verdict");

    sim::EndedCheckProcess crashed;
    crashed.end = {sim::ProcessEnd::Kind::Crashed, 0, "signal 11 (SIGSEGV)"};
    crashed.verdict = skip;
    crashed.token = kToken;
    EXPECT_EQ(sim::outcomeOfProcess(crashed, 20).reason, "crashed with signal 11 (SIGSEGV)");
    crashed.end = {sim::ProcessEnd::Kind::TimedOut, 0, ""};
    EXPECT_EQ(sim::outcomeOfProcess(crashed, 20).reason, "no answer within 20 s");
}

TEST(VerdictChannel, AChecksProcessIsToldItsChannelInOneArgument) {
    sim::VerdictChannel channel{18446744073709551615u, sim::newVerdictToken()};
    EXPECT_EQ(channel.token.size(), 32u);
    EXPECT_EQ(channel.token.find_first_not_of("0123456789abcdef"), std::string::npos) << channel.token;
    EXPECT_NE(channel.token, sim::newVerdictToken());
    sim::VerdictChannel read;
    ASSERT_TRUE(sim::readVerdictChannelArgument(sim::verdictChannelArgument(channel), read));
    EXPECT_EQ(read.handle, channel.handle);
    EXPECT_EQ(read.token, channel.token);
    for (const char* wrong : {"", "5", "5:", ":ab", "-5:ab", "+5:ab", "5:AB", "5:a b", "18446744073709551616:ab"})
        EXPECT_FALSE(sim::readVerdictChannelArgument(wrong, read)) << wrong;
}

}  // namespace
