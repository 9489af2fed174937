// The conformance check: the modules it must pass, and modules broken in one
// way each, which must fail exactly the checks of that way.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
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

namespace {

std::string validate(const std::vector<std::string>& arguments, int& exitCode) {
    std::ostringstream out, err;
    exitCode = sim::runValidateCommand(arguments, out, err);
    return out.str() + err.str();
}

std::string faultModule(const std::string& name) { return std::string(KELTO_FAULT_MODULES_DIR) + "/" + name + ".p"; }

// The command's output read back: each check's line by its ID (the verdict
// and the rest of the line), and whether the closing totals count them and
// every check of the modifier validated.
struct ValidateOutput {
    std::map<std::string, std::string> lines;
    size_t lineCount = 0;
    bool totalsAddUp = false;

    std::set<std::string> withVerdict(const std::string& verdict) const {
        std::set<std::string> ids;
        for (const auto& line : lines)
            if (line.second.rfind(verdict, 0) == 0) ids.insert(line.first);
        return ids;
    }
};

ValidateOutput readOutput(const std::string& text, const sim::ValidatedModifier& modifier = sim::kValidatedKelto) {
    ValidateOutput output;
    std::istringstream in(text);
    std::string line;
    int passed = -1, failed = -1, skipped = -1;
    while (std::getline(in, line)) {
        ++output.lineCount;
        std::istringstream words(line);
        std::string verdict, id;
        words >> verdict >> id;
        if (verdict == "PASS" || verdict == "FAIL" || verdict == "SKIP")
            output.lines[id] = verdict + line.substr(line.find(id) + id.size());
        std::sscanf(line.c_str(), "%d passed, %d failed, %d skipped", &passed, &failed, &skipped);
    }
    output.totalsAddUp =
        passed >= 0 && failed >= 0 && skipped >= 0 && size_t(passed) == output.withVerdict("PASS").size() &&
        size_t(failed) == output.withVerdict("FAIL").size() && size_t(skipped) == output.withVerdict("SKIP").size() &&
        output.lines.size() == sim::checksOf(modifier).size();
    return output;
}

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
            std::string out = validate({path, "--seed", seed}, exitCode);
            EXPECT_EQ(exitCode, 0) << out;
            ValidateOutput output = readOutput(out);
            EXPECT_TRUE(output.totalsAddUp) << out;
            EXPECT_EQ(output.withVerdict("FAIL"), std::set<std::string>()) << out;
            EXPECT_EQ(output.withVerdict("SKIP"), current ? std::set<std::string>() : allCurrentChecks()) << out;
            for (const std::string& id : output.withVerdict("SKIP"))
                EXPECT_NE(output.lines[id].find(": the module does not serve version 5"), std::string::npos) << out;
        }
    }
}

// Kelto Focus is told by its servers' name and held to its own checks, Kelto's
// made with its facts and those of its own.
TEST(Validate, KeltoFocusPassesOnBothBuildsAndTheClassicOneSkipsTheCurrentProtocolSayingWhy) {
    for (const char* path : {KELTO_FOCUS_MODULE_PATH, KELTO_FOCUS_CURRENT_MODULE_PATH}) {
        bool current = std::string(path) == KELTO_FOCUS_CURRENT_MODULE_PATH;
        int exitCode = -1;
        std::string out = validate({path, "--seed", "7"}, exitCode);
        EXPECT_EQ(exitCode, 0) << out;
        EXPECT_NE(out.find(" as Kelto Focus with seed 7"), std::string::npos) << out;
        ValidateOutput output = readOutput(out, sim::kValidatedKeltoFocus);
        EXPECT_TRUE(output.totalsAddUp) << out;
        EXPECT_EQ(output.withVerdict("FAIL"), std::set<std::string>()) << out;
        EXPECT_EQ(output.withVerdict("SKIP"),
                  current ? std::set<std::string>() : allCurrentChecks(sim::kValidatedKeltoFocus))
            << out;
        for (const char* own : {"focus/classic/straight-line", "focus/classic/lag", "focus/classic/refusals",
                                "focus/classic/picks", "focus/module/descriptor"})
            EXPECT_EQ(output.lines[own].rfind("PASS", 0), 0u) << own << "\n" << out;
    }
}

TEST(Validate, ListsEveryCheckOnceAndRunsOneByItsId) {
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

    std::string one = validate({KELTO_MODULE_PATH, "--check", "classic/picks", "--seed", "3"}, exitCode);
    EXPECT_EQ(exitCode, 0);
    EXPECT_EQ(readOutput(one).lines.size(), 1u) << one;
    EXPECT_NE(one.find("\nPASS  classic/picks  "), std::string::npos) << one;
    EXPECT_NE(one.find("\n1 passed, 0 failed, 0 skipped\n"), std::string::npos) << one;
    std::string skipped = validate({KELTO_MODULE_PATH, "--check", "current/picks", "--in-this-process"}, exitCode);
    EXPECT_EQ(exitCode, 0);
    EXPECT_NE(skipped.find("\n0 passed, 0 failed, 1 skipped\n"), std::string::npos) << skipped;
    // A check of Kelto's asked of Kelto Focus is refused, naming its own.
    std::string kelto = validate({KELTO_FOCUS_MODULE_PATH, "--check", "classic/picks"}, exitCode);
    EXPECT_EQ(exitCode, 1);
    EXPECT_EQ(kelto.rfind("kelto-host: ", 0), 0u) << kelto;
    EXPECT_EQ(std::count(kelto.begin(), kelto.end(), '\n'), 1) << kelto;
    EXPECT_NE(kelto.find("classic/picks is Kelto's check: its own is focus/classic/picks\n"), std::string::npos)
        << kelto;
    // A check of Kelto Focus's asked of Kelto runs, and says why it does not apply.
    std::string other = validate({KELTO_MODULE_PATH, "--check", "focus/classic/lag", "--in-this-process"}, exitCode);
    EXPECT_NE(other.find("\nSKIP  focus/classic/lag  "), std::string::npos) << other;
    EXPECT_NE(other.find("the module has no ChannelHandler \"Kelto Focus\" (see focus/module/descriptor)"),
              std::string::npos)
        << other;
}

// Which modifier a module serves is asked in a process of its own, as a
// check is; on Windows that process is this program again, asked it by ID.
// Not being a check, it is not listed, and asked elsewhere it is refused.
TEST(Validate, TheModifierServedIsAskedOnlyInACheckProcess) {
    const std::string probe = sim::modifierProbe().id;
    int exitCode = -1;
    std::string focus = validate({KELTO_FOCUS_MODULE_PATH, "--check", probe, "--in-this-process"}, exitCode);
    EXPECT_EQ(readOutput(focus, sim::kValidatedKeltoFocus).lines[probe].rfind("PASS", 0), 0u) << focus;
    std::string kelto = validate({KELTO_MODULE_PATH, "--check", probe, "--in-this-process"}, exitCode);
    EXPECT_EQ(readOutput(kelto).lines[probe].rfind("SKIP", 0), 0u) << kelto;
    std::string refused = validate({KELTO_FOCUS_MODULE_PATH, "--check", probe}, exitCode);
    EXPECT_EQ(exitCode, 1);
    EXPECT_EQ(refused, "kelto-host: no check has the ID \"" + probe + "\" (see --list)\n");
    EXPECT_EQ(sim::findCheck(probe), nullptr);
}

TEST(Validate, TheCommandLineIsCheckedAndEveryRefusalIsOneLine) {
    int exitCode = -1;
    std::string out = validate({"/nonexistent.p", "--seed", "3"}, exitCode);
    EXPECT_EQ(exitCode, 1);
    EXPECT_NE(out.find("with seed 3 (replay with --seed 3)\n"), std::string::npos) << out;
    ValidateOutput refused = readOutput(out);
    EXPECT_TRUE(refused.totalsAddUp) << out;
    EXPECT_EQ(refused.lines["module/descriptor"],
              "FAIL  descriptor and server table: no such module file: /nonexistent.p");
    EXPECT_EQ(refused.lines["classic/picks"].rfind("SKIP  ", 0), 0u) << out;
    for (std::vector<std::string> wrong : {std::vector<std::string>{},
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
                                           {"a.p", "--check", "module/modifier"}}) {
        std::string refusal = validate(wrong, exitCode);
        EXPECT_EQ(exitCode, 1);
        EXPECT_EQ(refusal.rfind("kelto-host: ", 0), 0u) << refusal;
        EXPECT_EQ(std::count(refusal.begin(), refusal.end(), '\n'), 1) << refusal;
    }
}

// What the module prints and what its path holds reaches the terminal
// escaped: a description with a line break and a control sequence stays on
// its check's line.
TEST(Validate, TextFromTheModuleIsEscaped) {
    int exitCode = -1;
    std::string out = validate({faultModule("fault_description"), "--check", "classic/description"}, exitCode);
    EXPECT_EQ(exitCode, 1);
    EXPECT_EQ(readOutput(out).lineCount, 3u) << out;
    EXPECT_NE(
        out.find("the description line of a new instance is \"KELTO by VEM\\x0A\\x1B[31m\", not \"KELTO   by VEM\""),
        std::string::npos)
        << out;
    out = validate({"/no\x1b[2Jwhere.p", "--check", "module/descriptor"}, exitCode);
    EXPECT_EQ(out.find('\x1b'), std::string::npos) << out;
    EXPECT_NE(out.find("Validating  /no\\x1B[2Jwhere.p with seed"), std::string::npos) << out;
}

// A crash is told by its signal; under AddressSanitizer, which catches the
// signal itself and exits, by its report.
#if defined(__SANITIZE_ADDRESS__)
const char kCrashText[] = "ERROR: AddressSanitizer: SEGV on unknown address";
#else
const char kCrashText[] = "crashed with signal 11 (SIGSEGV)";
#endif

// A module that crashes fails the checks it crashed in, each saying how; one
// that hangs fails on the time limit; the rest still run and the totals are
// printed.
TEST(Validate, AModuleThatCrashesOrHangsFailsThatCheckAlone) {
    int exitCode = -1;
    std::string out = validate({faultModule("fault_crashes_on_missing"), "--seed", "2"}, exitCode);
    EXPECT_EQ(exitCode, 1);
    ValidateOutput crashed = readOutput(out);
    EXPECT_TRUE(crashed.totalsAddUp) << out;
    EXPECT_EQ(crashed.lines["classic/missing-references"].rfind("FAIL  ", 0), 0u) << out;
    EXPECT_EQ(crashed.lines["classic/sub-frame-times"].rfind("PASS", 0), 0u) << out;
    for (const std::string& id : crashed.withVerdict("FAIL"))
        EXPECT_NE(crashed.lines[id].find(kCrashText), std::string::npos) << crashed.lines[id];

    out = validate({faultModule("fault_load_never_ends"), "--check", "classic/save-load-save", "--time-limit", "1"},
                   exitCode);
    EXPECT_EQ(exitCode, 1);
    EXPECT_NE(out.find("\nFAIL  classic/save-load-save  valid blocks evaluate as their names find, load and save with "
                       "no error, and save, load, save gives the same block: no answer within 1 s\n0 passed, 1 failed, "
                       "0 skipped\n"),
              std::string::npos)
        << out;
    // A version-5 activation that installs the classic evaluate fails the
    // current checks that evaluate, however it goes wrong, and the classic
    // ones pass.
    out = validate({faultModule("fault_classic_evaluate_under_current"), "--seed", "2"}, exitCode);
    ValidateOutput mixed = readOutput(out);
    EXPECT_TRUE(mixed.totalsAddUp) << out;
    EXPECT_EQ(mixed.lines["current/sub-frame-times"].rfind("FAIL  ", 0), 0u) << out;
    for (const std::string& id : mixed.withVerdict("FAIL")) EXPECT_EQ(id.rfind("current/", 0), 0u) << id;
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
    std::string out = validate({faultModule(fault.module), "--seed", "11"}, exitCode);
    ValidateOutput output = readOutput(out, *fault.modifier);
    EXPECT_TRUE(output.totalsAddUp) << out;
    EXPECT_EQ(output.withVerdict("FAIL"), fault.failing) << out;
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
    std::string out = validate(
        {faultModule("fault_resolving_sets_twice"), "--check", "classic/renumbering", "--seed", "5"}, exitCode);
    EXPECT_NE(out.find("FAIL  classic/renumbering  references follow items moved and deleted before them; a deleted "
                       "one saves none: setChannel called 2 times\n"),
              std::string::npos)
        << out;
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
        std::string out = validate({independentKelto(), "--seed", seed}, exitCode);
        EXPECT_EQ(exitCode, 0) << out;
        ValidateOutput output = readOutput(out);
        EXPECT_TRUE(output.totalsAddUp) << out;
        EXPECT_EQ(output.withVerdict("FAIL"), std::set<std::string>()) << out;
        EXPECT_EQ(output.withVerdict("SKIP"), std::set<std::string>()) << out;
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
        std::string out = validate({independentKelto(each.variant), "--seed", "7"}, exitCode);
        EXPECT_EQ(exitCode, 1) << out;
        ValidateOutput output = readOutput(out);
        const std::string classic = std::string("classic/") + each.check,
                          current = std::string("current/") + each.check;
        EXPECT_EQ(output.withVerdict("FAIL"), (std::set<std::string>{classic, current})) << out;
        for (const std::string& id : {classic, current})
            EXPECT_NE(output.lines[id].find(each.says), std::string::npos) << output.lines[id];
    }
}

}  // namespace
