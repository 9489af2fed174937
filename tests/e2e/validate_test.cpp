// The conformance check: the modules it must pass, and modules broken in one
// way each, which must fail exactly the checks of that way.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <set>
#include <sstream>

#include "simhost/modifiers/kelto_facts.h"
#include "simhost/platform/dynamic_library.h"
#include "simhost/validate/check_registry.h"
#include "simhost/validate/conformance.h"
#include "simhost/validate/validated_modifier.h"
#include "tests/e2e/fault_modules/fault_statement.h"
#include "tests/e2e/validate_run.h"

namespace {

using e2e::faultModule;
using e2e::validate;
using e2e::validateJson;
using e2e::Verdicts;

// Every check of the modifier's under one protocol ("classic" or "current").
std::set<std::string> allChecksUnder(const std::string& protocol,
                                     const sim::ValidatedModifier& modifier = sim::kValidatedKelto) {
    std::set<std::string> ids;
    const std::string prefix = modifier.idPrefix + protocol + "/";
    for (const sim::RegisteredCheck* check : sim::checksOf(modifier))
        if (check->id.rfind(prefix, 0) == 0) ids.insert(check->id);
    return ids;
}

std::set<std::string> allCurrentChecks(const sim::ValidatedModifier& modifier = sim::kValidatedKelto) {
    return allChecksUnder("current", modifier);
}

TEST(Validate, BothBuildsPassAndTheClassicOneSkipsTheCurrentProtocolSayingWhy) {
    for (const char* path : {KELTO_MODULE_PATH, KELTO_CURRENT_MODULE_PATH}) {
        bool current = std::string(path) == KELTO_CURRENT_MODULE_PATH;
        for (const char* seed : {"7", "8"}) {
            int exitCode = -1;
            Verdicts verdicts = validateJson({path, "--seed", seed}, exitCode);
            EXPECT_EQ(exitCode, 0) << verdicts;
            EXPECT_TRUE(verdicts.totalsAddUp && verdicts.coversEvery(sim::kValidatedKelto)) << verdicts;
            EXPECT_EQ(verdicts.withVerdict("fail"), std::set<std::string>()) << verdicts;
            EXPECT_EQ(verdicts.withVerdict("skip"), current ? std::set<std::string>() : allCurrentChecks()) << verdicts;
            for (const std::string& id : verdicts.withVerdict("skip"))
                EXPECT_EQ(verdicts.checks[id].reason, "the module does not serve version 5") << verdicts;
        }
    }
}

// Kelto Focus is told by its servers' name and held to its own checks, Kelto's
// made with its facts and those of its own.
TEST(Validate, KeltoFocusPassesOnBothBuildsAndTheClassicOneSkipsTheCurrentProtocolSayingWhy) {
    for (const char* path : {KELTO_FOCUS_MODULE_PATH, KELTO_FOCUS_CURRENT_MODULE_PATH}) {
        bool current = std::string(path) == KELTO_FOCUS_CURRENT_MODULE_PATH;
        int exitCode = -1;
        Verdicts verdicts = validateJson({path, "--seed", "7"}, exitCode);
        EXPECT_EQ(exitCode, 0) << verdicts;
        EXPECT_EQ(verdicts.modifier, "Kelto Focus");
        EXPECT_TRUE(verdicts.totalsAddUp && verdicts.coversEvery(sim::kValidatedKeltoFocus)) << verdicts;
        EXPECT_EQ(verdicts.withVerdict("fail"), std::set<std::string>()) << verdicts;
        EXPECT_EQ(verdicts.withVerdict("skip"),
                  current ? std::set<std::string>() : allCurrentChecks(sim::kValidatedKeltoFocus))
            << verdicts;
        for (const char* own : {"focus/classic/straight-line", "focus/classic/lag", "focus/classic/refusals",
                                "focus/classic/picks", "focus/module/descriptor"})
            EXPECT_EQ(verdicts.checks[own].verdict, "pass") << own << "\n" << verdicts;
    }
}

TEST(Validate, ListsEveryCheckOnce) {
    int exitCode = -1;
    std::string listed = validate({"--list"}, exitCode);
    EXPECT_EQ(exitCode, 0);
    std::istringstream lines(listed);
    std::string line;
    std::set<std::string> ids;
    while (std::getline(lines, line)) EXPECT_TRUE(ids.insert(line.substr(0, line.find("  "))).second) << line;
    EXPECT_EQ(ids.size(), sim::registeredChecks().size());
    EXPECT_EQ(ids.count("classic/picks") + ids.count("current/renumbering") + ids.count("module/descriptor"), 3u);
    EXPECT_EQ(ids.count("focus/classic/picks") + ids.count("focus/current/lag") + ids.count("focus/module/descriptor"),
              3u);
}

TEST(Validate, RunsOneCheckByItsId) {
    int exitCode = -1;
    Verdicts one = validateJson({KELTO_MODULE_PATH, "--check", "classic/picks", "--seed", "3"}, exitCode);
    EXPECT_EQ(exitCode, 0);
    EXPECT_EQ(one.withVerdict("pass"), std::set<std::string>{"classic/picks"}) << one;
    EXPECT_EQ(one.entries, 1u) << one;
    EXPECT_EQ(one.checks["classic/picks"].title, sim::findCheck("classic/picks")->title);
    EXPECT_EQ(one.checks["classic/picks"].seed, 3);
    EXPECT_TRUE(one.totalsAddUp) << one;
    Verdicts skipped = validateJson({KELTO_MODULE_PATH, "--check", "current/picks", "--in-this-process"}, exitCode);
    EXPECT_EQ(exitCode, 0);
    EXPECT_EQ(skipped.withVerdict("skip"), std::set<std::string>{"current/picks"}) << skipped;
    EXPECT_TRUE(skipped.totalsAddUp) << skipped;
}

// What a person reads: the module and the seed to replay, a line a check
// with its verdict, ID and title (and why, where it did not pass), then the
// totals.
TEST(Validate, TheHumanReportIsAHeadingThenALineACheckThenTheTotals) {
    int exitCode = -1;
    std::string one = validate({KELTO_MODULE_PATH, "--check", "classic/picks", "--seed", "3"}, exitCode);
    EXPECT_EQ(one, std::string("Validating  ") + KELTO_MODULE_PATH +
                       " with seed 3 (replay with --seed 3)\n"
                       "PASS  classic/picks  random panel picks take effect, hold through later evaluations and are "
                       "saved\n"
                       "1 passed, 0 failed, 0 skipped\n");
    std::string missing = validate({"/nonexistent.p", "--check", "module/descriptor", "--seed", "3"}, exitCode);
    EXPECT_NE(missing.find("\nFAIL  module/descriptor  descriptor and server table: no such module file: "
                           "/nonexistent.p\n0 passed, 1 failed, 0 skipped\n"),
              std::string::npos)
        << missing;
    std::string focus = validate({KELTO_FOCUS_MODULE_PATH, "--seed", "7", "--check", "focus/classic/lag"}, exitCode);
    EXPECT_NE(focus.find(" as Kelto Focus with seed 7"), std::string::npos) << focus;
}

// A check of one modifier's asked of a module that serves the other would
// hold it to nothing: it is refused in one line that names the check meant,
// either way. A module that serves neither is held to the check asked.
TEST(Validate, ACheckOfTheOtherModifiersIsRefusedEitherWay) {
    const std::string focusModule = KELTO_FOCUS_MODULE_PATH, keltoModule = KELTO_MODULE_PATH;
    struct Refusal {
        std::string module, check, says;
    };
    for (const Refusal& refusal :
         {Refusal{focusModule, "classic/picks",
                  " serves Kelto Focus, and classic/picks is Kelto's check: its own is focus/classic/picks\n"},
          Refusal{keltoModule, "focus/classic/picks",
                  " serves Kelto, and focus/classic/picks is Kelto Focus's check: its own is classic/picks\n"},
          Refusal{keltoModule, "focus/current/lag",
                  " serves Kelto, and focus/current/lag is Kelto Focus's check: Kelto has none like it (see "
                  "--list)\n"}}) {
        for (bool inThisProcess : {false, true}) {
            std::vector<std::string> arguments = {refusal.module, "--check", refusal.check};
            if (inThisProcess) arguments.push_back("--in-this-process");
            int exitCode = -1;
            std::string out = validate(arguments, exitCode);
            EXPECT_EQ(exitCode, 1);
            EXPECT_EQ(out, "kelto-host: " + refusal.module + refusal.says);
        }
    }
    int exitCode = -1;
    Verdicts neither = validateJson({"/nonexistent.p", "--check", "focus/module/descriptor"}, exitCode);
    EXPECT_EQ(exitCode, 1);
    EXPECT_EQ(neither.checks["focus/module/descriptor"].reason, "no such module file: /nonexistent.p") << neither;
    Verdicts other = validateJson({faultModule("fault_two_handlers"), "--check", "focus/classic/lag"}, exitCode);
    EXPECT_EQ(other.checks["focus/classic/lag"].reason,
              "the module has no ChannelHandler \"Kelto Focus\" (see focus/module/descriptor)")
        << other;
}

// Which modifier a module serves is asked in a process of its own, as a
// check is; on Windows that process is this program again, asked it by ID.
// Not being checks, the questions are not listed, and asked elsewhere they
// are refused.
TEST(Validate, TheModifierServedIsAskedOnlyInACheckProcess) {
    int exitCode = -1;
    struct Answer {
        const sim::RegisteredCheck& probe;
        const char* module;
        const char* verdict;
    };
    for (const Answer& answer :
         {Answer{sim::modifierProbe(), KELTO_FOCUS_MODULE_PATH, "pass"},
          Answer{sim::modifierProbe(), KELTO_MODULE_PATH, "skip"}, Answer{sim::keltoProbe(), KELTO_MODULE_PATH, "pass"},
          Answer{sim::keltoProbe(), KELTO_FOCUS_MODULE_PATH, "skip"}}) {
        const std::string& id = answer.probe.id;
        Verdicts asked = validateJson({answer.module, "--check", id, "--in-this-process"}, exitCode);
        EXPECT_EQ(asked.checks[id].verdict, answer.verdict) << id << " of " << answer.module << "\n" << asked;
        std::string refused = validate({answer.module, "--check", id}, exitCode);
        EXPECT_EQ(exitCode, 1);
        EXPECT_EQ(refused, "kelto-host: no check has the ID \"" + id + "\" (see --list)\n");
        EXPECT_EQ(sim::findCheck(id), nullptr);
    }
}

// A module file that is not there fails the first check and skips the rest:
// it is a verdict, not a refusal of the command line.
TEST(Validate, AModuleFileThatIsNotThereFailsItsDescriptorCheck) {
    int exitCode = -1;
    Verdicts refused = validateJson({"/nonexistent.p", "--seed", "3"}, exitCode);
    EXPECT_EQ(exitCode, 1);
    EXPECT_TRUE(refused.totalsAddUp && refused.coversEvery(sim::kValidatedKelto)) << refused;
    EXPECT_EQ(refused.seed, 3);
    EXPECT_EQ(refused.checks["module/descriptor"].title, "descriptor and server table");
    EXPECT_EQ(refused.checks["module/descriptor"].verdict, "fail");
    EXPECT_EQ(refused.checks["module/descriptor"].seed, 3);
    EXPECT_EQ(refused.checks["module/descriptor"].reason, "no such module file: /nonexistent.p");
    EXPECT_EQ(refused.checks["classic/picks"].verdict, "skip") << refused;
}

TEST(Validate, EveryRefusalOfTheCommandLineIsOneLine) {
    int exitCode = -1;
    for (std::vector<std::string> wrong :
         {std::vector<std::string>{},
          {"a.p", "b.p"},
          {"a.p", "--seed", "-1"},
          {"a.p", "--seed", "4294967296"},
          {"a.p", "--seed"},
          {"a.p", "--seed", "+5"},
          {"a.p", "--seed", " 5"},
          {"a.p", "--seed", "1", "--seed", "1"},
          {"a.p", "--check", "classic/nothing"},
          {"a.p", "--check"},
          {"a.p", "--time-limit", "0"},
          {"a.p", "--time-limit", "86401"},
          {"a.p", "--frobnicate"},
          {"a.p", "--check", "x\ny"},
          {"a.p", "--check", "module/modifier"},
          {"a.p", "--verdict-to", "3:0a"},
          {"a.p", "--check", "classic/picks", "--verdict-to", "3:0a"},
          {"a.p", "--check", "classic/picks", "--in-this-process", "--verdict-to", "3"},
          {"a.p", "--check", "classic/picks", "--in-this-process", "--verdict-to", "three:0a"}}) {
        std::string refusal = validate(wrong, exitCode);
        EXPECT_EQ(exitCode, 1);
        EXPECT_EQ(refusal.rfind("kelto-host: ", 0), 0u) << refusal;
        EXPECT_EQ(std::count(refusal.begin(), refusal.end(), '\n'), 1) << refusal;
        // With --json a refusal is that line alone, and no document.
        if (std::count(wrong.begin(), wrong.end(), "--json") == 0) {
            wrong.push_back("--json");
            EXPECT_EQ(validate(wrong, exitCode), refusal);
        }
    }
}

// What the module prints and what its path holds reaches the terminal
// escaped: a description with a line break and a control sequence stays on
// its check's line. The JSON document holds the same text as the line, as a
// JSON string: printable UTF-8, every other byte written "\xNN".
TEST(Validate, TextFromTheModuleIsEscaped) {
    int exitCode = -1;
    std::string out = validate({faultModule("fault_description"), "--check", "classic/description"}, exitCode);
    EXPECT_EQ(exitCode, 1);
    EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), 3) << out;
    const std::string reason =
        "the description line of a new instance is \"KELTO by VEM\\x0A\\x1B[31m\", not \"KELTO   by VEM\"";
    EXPECT_NE(out.find(reason), std::string::npos) << out;
    Verdicts verdicts = validateJson({faultModule("fault_description"), "--check", "classic/description"}, exitCode);
    EXPECT_EQ(verdicts.checks["classic/description"].reason, reason) << verdicts;

    out = validate({"/no\x1b[2Jwhere.p", "--check", "module/descriptor"}, exitCode);
    EXPECT_EQ(out.find('\x1b'), std::string::npos) << out;
    EXPECT_NE(out.find("Validating  /no\\x1B[2Jwhere.p with seed"), std::string::npos) << out;
    // Quotes, backslashes, bytes that are not UTF-8 and a character that is.
    const std::string path = "/no\"\\\xff\xc3(\x7f\t\xe2\x82\xac.p";
    verdicts = validateJson({path, "--check", "module/descriptor"}, exitCode);
    EXPECT_EQ(verdicts.problem, "");
    EXPECT_EQ(verdicts.module, "/no\"\\\\xFF\\xC3(\\x7F\\x09\xe2\x82\xac.p");
    EXPECT_EQ(verdicts.checks["module/descriptor"].reason, "no such module file: " + verdicts.module);
}

// A crash is told by its signal; under AddressSanitizer, which catches the
// signal itself and exits, by its report.
#if defined(__SANITIZE_ADDRESS__)
const char kCrashText[] = "ERROR: AddressSanitizer: SEGV on unknown address";
#else
const char kCrashText[] = "crashed with signal 11 (SIGSEGV)";
#endif

// A module that crashes fails the checks it crashed in, each saying how; the
// rest still run and the totals are given.
TEST(Validate, AModuleThatCrashesFailsThoseChecksAlone) {
    int exitCode = -1;
    Verdicts crashed = validateJson({faultModule("fault_crashes_on_missing"), "--seed", "2"}, exitCode);
    EXPECT_EQ(exitCode, 1);
    EXPECT_TRUE(crashed.totalsAddUp && crashed.coversEvery(sim::kValidatedKelto)) << crashed;
    EXPECT_EQ(crashed.checks["classic/missing-references"].verdict, "fail") << crashed;
    EXPECT_EQ(crashed.checks["classic/sub-frame-times"].verdict, "pass") << crashed;
    for (const std::string& id : crashed.withVerdict("fail"))
        EXPECT_NE(crashed.checks[id].reason.find(kCrashText), std::string::npos) << crashed.checks[id].reason;
}

// A module that hangs fails on the time limit, that check alone.
TEST(Validate, AModuleThatHangsFailsOnTheTimeLimit) {
    int exitCode = -1;
    Verdicts hung = validateJson(
        {faultModule("fault_load_never_ends"), "--check", "classic/save-load-save", "--time-limit", "1"}, exitCode);
    EXPECT_EQ(exitCode, 1);
    EXPECT_EQ(hung.withVerdict("fail"), std::set<std::string>{"classic/save-load-save"}) << hung;
    EXPECT_EQ(hung.checks["classic/save-load-save"].reason, "no answer within 1 s") << hung;
    EXPECT_TRUE(hung.totalsAddUp) << hung;
}

// A version-5 activation that installs the classic evaluate fails the
// current checks that evaluate, however it goes wrong, and the classic ones
// pass.
TEST(Validate, TheClassicEvaluateUnderTheCurrentProtocolFailsTheCurrentChecksAlone) {
    int exitCode = -1;
    Verdicts mixed = validateJson({faultModule("fault_classic_evaluate_under_current"), "--seed", "2"}, exitCode);
    EXPECT_TRUE(mixed.totalsAddUp && mixed.coversEvery(sim::kValidatedKelto)) << mixed;
    EXPECT_EQ(mixed.checks["current/sub-frame-times"].verdict, "fail") << mixed;
    for (const std::string& id : mixed.withVerdict("fail")) EXPECT_EQ(id.rfind("current/", 0), 0u) << id;
}

// A fault module and the checks it must fail, and no other, as its fault's
// source states them (fault_statement.h).
struct FaultCase {
    std::string module;
    std::set<std::string> failing;
    const sim::ValidatedModifier* modifier = &sim::kValidatedKelto;
    bool apart = false;  // run by a test of its own
};

std::ostream& operator<<(std::ostream& out, const FaultCase& fault) { return out << fault.module; }

// The module's statement of what it fails, or "" when it exports none.
std::string statementOf(const std::string& module) {
    std::string error;
    sim::DynamicLibrary library = sim::DynamicLibrary::open(faultModule(module), error);
    const void* statement = library.symbol(KELTO_NAME_TEXT(KELTO_FAULT_FAILS));
    return statement != nullptr ? static_cast<const char*>(statement) : "";
}

// Words of a statement (fault_statement.h).
const char kEveryCheckUnder[] = "/*";  // "classic/*": every check under that protocol
const char kLeftOut = '-';             // "-classic/versions": that one left out

// The IDs one word of a statement names, for the modifier.
std::set<std::string> idsOf(const std::string& word, const sim::ValidatedModifier& modifier) {
    const size_t suffix = std::strlen(kEveryCheckUnder);
    const size_t protocolEnd = word.size() > suffix ? word.size() - suffix : 0;
    if (protocolEnd > 0 && word.compare(protocolEnd, std::string::npos, kEveryCheckUnder) == 0)
        return allChecksUnder(word.substr(0, protocolEnd), modifier);
    return {modifier.idPrefix + word};
}

FaultCase readStatement(const std::string& module, const std::string& statement) {
    const std::string classic = "classic/";
    FaultCase fault{module, {}};
    bool underCurrent = false;
    std::istringstream words(statement);
    for (std::string word; words >> word;) {
        if (word == "focus")
            fault.modifier = &sim::kValidatedKeltoFocus;
        else if (word == "under-current")
            underCurrent = true;
        else if (word == "apart")
            fault.apart = true;
        else {
            const bool leftOut = word[0] == kLeftOut;
            std::string id = leftOut ? word.substr(1) : word;
            // Made under version 5 alone, the fault shows in the current protocol's checks.
            if (underCurrent && id.rfind(classic, 0) == 0) id = "current/" + id.substr(classic.size());
            for (const std::string& each : idsOf(id, *fault.modifier)) {
                if (leftOut)
                    fault.failing.erase(each);
                else
                    fault.failing.insert(each);
            }
        }
    }
    return fault;
}

// Every module whose fault states what it fails (tests/CMakeLists.txt).
std::vector<std::string> statingFaultModules() {
    std::vector<std::string> modules;
    std::istringstream names(KELTO_STATING_FAULT_MODULES);
    for (std::string name; names >> name;) modules.push_back(name);
    return modules;
}

std::vector<FaultCase> faultCases() {
    std::vector<FaultCase> cases;
    for (const std::string& module : statingFaultModules()) {
        FaultCase fault = readStatement(module, statementOf(module));
        if (!fault.apart) cases.push_back(fault);
    }
    return cases;
}

// A fault whose statement is missing would be held to failing nothing.
TEST(Validate, EveryFaultModuleStatesWhatItFails) {
    for (const std::string& module : statingFaultModules()) EXPECT_NE(statementOf(module), "") << module;
}

// A fault module and the checks it must fail, and no other.

class FaultModule : public ::testing::TestWithParam<FaultCase> {};

TEST_P(FaultModule, FailsExactlyTheChecksOfItsFault) {
    const FaultCase& fault = GetParam();
    int exitCode = -1;
    Verdicts verdicts = validateJson({faultModule(fault.module), "--seed", "11"}, exitCode);
    EXPECT_TRUE(verdicts.totalsAddUp && verdicts.coversEvery(*fault.modifier)) << verdicts;
    EXPECT_EQ(verdicts.withVerdict("fail"), fault.failing) << verdicts;
    EXPECT_EQ(exitCode, fault.failing.empty() ? 0 : 1);
}

INSTANTIATE_TEST_SUITE_P(Validate, FaultModule, ::testing::ValuesIn(faultCases()),
                         [](const ::testing::TestParamInfo<FaultCase>& param) { return param.param.module; });

// Whether the check is one of Kelto's made with Kelto Focus's facts: the
// same function, proven on Kelto's fault modules.
bool isKeltosCheckOnFocus(const sim::RegisteredCheck& check) {
    const std::string prefix = check.modifier->idPrefix;
    return check.modifier != &sim::kValidatedKelto && sim::findCheck(check.id.substr(prefix.size())) != nullptr;
}

// Every check of the registry is the only one to reject some fault module.
TEST(Validate, EveryCheckIsTheOnlyOneToRejectSomeFaultModule) {
    std::set<std::string> proven;
    for (const FaultCase& fault : faultCases())
        if (fault.failing.size() == 1) proven.insert(*fault.failing.begin());
    for (const sim::RegisteredCheck& check : sim::registeredChecks())
        if (!isKeltosCheckOnFocus(check)) {
            EXPECT_EQ(proven.count(check.id), 1u) << check.id;
        }
}

// A promise broken in the evaluation that resolves the names fails the
// deletion check, though every later evaluation keeps it.
TEST(Validate, ABrokenRuleBeforeAnItemIsDeletedIsKept) {
    int exitCode = -1;
    Verdicts verdicts = validateJson(
        {faultModule("fault_resolving_sets_twice"), "--check", "classic/renumbering", "--seed", "5"}, exitCode);
    EXPECT_EQ(verdicts.checks["classic/renumbering"].verdict, "fail") << verdicts;
    EXPECT_EQ(verdicts.checks["classic/renumbering"].reason, "setChannel called 2 times") << verdicts;
}

// Kelto written again in C from the SDK's headers and the docs alone
// (third_party_modules/independent_kelto.c), differing from kelto.p wherever
// the host and the docs leave room, as a line's length without its NUL.
std::string independentKelto(const std::string& variant = "") {
    return std::string(INDEPENDENT_KELTO_DIR) + "/independent_kelto" + (variant.empty() ? "" : "_" + variant) + ".p";
}

TEST(Validate, AnIndependentKeltoIsAcceptedUnderBothProtocolsOnTwoSeeds) {
    for (const char* seed : {"7", "8"}) {
        int exitCode = -1;
        Verdicts verdicts = validateJson({independentKelto(), "--seed", seed}, exitCode);
        EXPECT_EQ(exitCode, 0) << verdicts;
        EXPECT_TRUE(verdicts.totalsAddUp && verdicts.coversEvery(sim::kValidatedKelto)) << verdicts;
        EXPECT_EQ(verdicts.withVerdict("fail"), std::set<std::string>()) << verdicts;
        EXPECT_EQ(verdicts.withVerdict("skip"), std::set<std::string>()) << verdicts;
    }
}

// The same source with one promise broken: rejected by that promise's checks
// alone, under both protocols, each saying what was promised.
TEST(Validate, AnIndependentKeltoThatBreaksOnePromiseFailsItsChecksAlone) {
    struct Broken {
        const char* variant;
        const char* check;
        const char* says;
    };
    const Broken broken[] = {
        {"break_description", "description", "is \"KELTO by VEM\", not \"KELTO   by VEM\""},
        {"starts_without_messages", "services", "Kelto promises to start on no host without \"Info Messages\""},
        {"reads_past_empty_line", "empty-line", "an empty line ends the block"},
    };
    for (const Broken& each : broken) {
        int exitCode = -1;
        Verdicts verdicts = validateJson({independentKelto(each.variant), "--seed", "7"}, exitCode);
        EXPECT_EQ(exitCode, 1) << verdicts;
        const std::string classic = std::string("classic/") + each.check,
                          current = std::string("current/") + each.check;
        EXPECT_EQ(verdicts.withVerdict("fail"), (std::set<std::string>{classic, current})) << verdicts;
        for (const std::string& id : {classic, current})
            EXPECT_NE(verdicts.checks[id].reason.find(each.says), std::string::npos) << verdicts.checks[id].reason;
    }
}

}  // namespace
