// The conformance check: the modules it must pass, and modules broken in one
// way each, which must fail exactly the checks of that way.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <set>
#include <sstream>

#include "simhost/modifiers/kelto_facts.h"
#include "simhost/validate/check_registry.h"
#include "simhost/validate/conformance.h"
#include "simhost/validate/validated_modifier.h"

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
    output.totalsAddUp = passed >= 0 && failed >= 0 && skipped >= 0 &&
                         size_t(passed) == output.withVerdict("PASS").size() &&
                         size_t(failed) == output.withVerdict("FAIL").size() &&
                         size_t(skipped) == output.withVerdict("SKIP").size() &&
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
    for (std::vector<std::string> wrong :
         {std::vector<std::string>{}, {"a.p", "b.p"}, {"a.p", "--seed", "-1"}, {"a.p", "--seed", "4294967296"},
          {"a.p", "--seed"}, {"a.p", "--seed", "+5"}, {"a.p", "--seed", " 5"}, {"a.p", "--seed", "1", "--seed", "1"},
          {"a.p", "--check", "classic/nothing"}, {"a.p", "--check"}, {"a.p", "--time-limit", "0"},
          {"a.p", "--time-limit", "86401"}, {"a.p", "--frobnicate"}, {"a.p", "--check", "x\ny"}}) {
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
    EXPECT_NE(out.find("\nFAIL  classic/save-load-save  valid blocks load and save with no error, and save, load, save "
                       "gives the same block: no answer within 1 s\n0 passed, 1 failed, 0 skipped\n"),
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

// A fault module and the checks it must fail, and no other.
struct FaultCase {
    std::string module;
    std::set<std::string> failing;
    const sim::ValidatedModifier* modifier = &sim::kValidatedKelto;
};

std::ostream& operator<<(std::ostream& out, const FaultCase& fault) { return out << fault.module; }

// The same fault made under version 5 alone fails the same checks under the
// current protocol alone.
FaultCase underCurrent(const FaultCase& fault) {
    FaultCase current{fault.module + "_under_current", {}, fault.modifier};
    const std::string prefix = fault.modifier->idPrefix;
    for (const std::string& id : fault.failing)
        current.failing.insert(prefix + "current/" + id.substr(id.find('/', prefix.size()) + 1));
    return current;
}

// Faults of the classic modifier.
const std::vector<FaultCase> kClassicFaults = {
    // Checks of their own.
    {"fault_no_shutdown", {"module/descriptor"}},
    {"fault_foreign_machine_code", {"module/descriptor"}},
    {"fault_starts_once", {"module/repeated-load"}},
    {"fault_other_versions", {"classic/versions"}},
    {"fault_interface_any_version", {"classic/interface"}},
    {"fault_holds_partial_services", {"classic/services"}},
    {"fault_copy_without_names", {"classic/instances"}},
    {"fault_description", {"classic/description"}},
    {"fault_load_error", {"classic/save-load-save"}},
    {"fault_save_error", {"classic/save-load-save"}},
    {"fault_camera_among_cameras", {"classic/random-blocks"}},
    {"fault_missing_saved_as_none", {"classic/missing-references"}},
    {"fault_long_name_whole", {"classic/long-names"}},
    {"fault_fresh_takes_first_items", {"classic/empty-names"}},
    {"fault_popup_class", {"classic/panel"}},
    {"fault_get_lags_behind_set", {"classic/picks"}},
    {"fault_refresh_always", {"classic/refresh"}},
    {"fault_frame_time", {"classic/sub-frame-times"}},
    {"fault_changeid_item_only", {"classic/renumbering"}},
    {"fault_uses_item_only", {"classic/used-items"}},
    {"fault_names_taken_when_referenced", {"classic/renames"}},
    // Faults that break more than one promise. Without item operations
    // a module neither follows IDs nor lists the items it uses.
    {"fault_no_item_operations", {"classic/renumbering", "classic/used-items"}},
    // Looking names up at every evaluation loses picks and renamed
    // items; the long-names check picks its items of long names.
    {"fault_picks_lost", {"classic/picks", "classic/renames", "classic/long-names"}},
    // get gives nothing for the item popup: every check that reads the
    // panel's choices.
    {"fault_no_item_value", {"classic/panel", "classic/picks", "classic/renumbering", "classic/renames"}},
};

// Faults of Kelto Focus's own promises, each made under either protocol
// and under the current one alone.
const sim::ValidatedModifier* const kFocus = &sim::kValidatedKeltoFocus;
const std::vector<FaultCase> kFocusFaults = {
    {"fault_focus_one_step_off", {"focus/classic/straight-line"}, kFocus},
    {"fault_focus_along_view_as_straight", {"focus/classic/measure"}, kFocus},
    {"fault_focus_offset_ignored", {"focus/classic/measure"}, kFocus},
    {"fault_focus_lag_keeps_state", {"focus/classic/lag"}, kFocus},
    {"fault_focus_saves_six_digits", {"focus/classic/block-round-trip"}, kFocus},
    {"fault_focus_stops_at_unknown_lines", {"focus/classic/later-versions"}, kFocus},
    {"fault_focus_negative_lag_read", {"focus/classic/refusals"}, kFocus},
    {"fault_focus_negative_lag_kept", {"focus/classic/panel-settings"}, kFocus},
    {"fault_focus_description_fixed", {"focus/classic/description-measure"}, kFocus},
    {"fault_focus_floor_per_sample", {"focus/classic/lag"}, kFocus},
    {"fault_focus_sets_infinity", {"focus/classic/measure"}, kFocus},
    {"fault_focus_forward_not_rescaled", {"focus/classic/measure"}, kFocus},
    {"fault_focus_long_line_read", {"focus/classic/refusals"}, kFocus},
    // A name is its line whole: "Ball " is not "Ball".
    {"fault_focus_names_trimmed", {"focus/classic/missing-references"}, kFocus},
    // The description line exact, blanks and all: the new instance's, and the
    // one of each measure.
    {"fault_focus_description_one_blank", {"focus/classic/description", "focus/classic/description-measure"}, kFocus},
    // Faults of Kelto's in what the two share, around Kelto Focus: Kelto's
    // checks made with its facts reject them, and its own checks where they
    // look at the same thing.
    {"fault_focus_popup_class", {"focus/classic/panel"}, kFocus},
    {"fault_focus_no_item_value",
     {"focus/classic/panel", "focus/classic/picks", "focus/classic/renumbering", "focus/classic/renames"}, kFocus},
    // set asking for a redraw after every value, a valid setting's too.
    {"fault_focus_refresh_always", {"focus/classic/refresh", "focus/classic/panel-settings"}, kFocus},
    // get showing every value as it was before the last set, until the next
    // evaluation: the settings too, and the measure the description names.
    {"fault_focus_get_lags_behind_set",
     {"focus/classic/picks", "focus/classic/panel-settings", "focus/classic/description-measure"}, kFocus},
    {"fault_focus_description", {"focus/classic/description", "focus/classic/description-measure"}, kFocus},
    // Positions asked for at the nearest frame: every check of the value at
    // times between frames.
    {"fault_focus_frame_time",
     {"focus/classic/sub-frame-times", "focus/classic/straight-line", "focus/classic/measure", "focus/classic/lag"},
     kFocus},
};

std::vector<FaultCase> faultCases() {
    // Those of the module as a whole, or of versions no protocol has, have
    // no protocol to be made under.
    const std::set<std::string> noProtocol = {"fault_no_shutdown", "fault_foreign_machine_code", "fault_starts_once",
                                              "fault_other_versions"};
    std::vector<FaultCase> cases = kClassicFaults;
    for (const FaultCase& fault : kClassicFaults)
        if (noProtocol.count(fault.module) == 0) cases.push_back(underCurrent(fault));
    // Faults of the current protocol's own.
    std::set<std::string> settingCurrent = allCurrentChecks();
    for (const char* id : {"current/versions", "current/interface", "current/empty-names"}) settingCurrent.erase(id);
    cases.push_back({"fault_newest_names_only", {"current/service-names"}});
    cases.push_back({"fault_refused_fills_on_current_host", {"current/versions"}});
    cases.push_back({"fault_choices_follow_own_ids", {"current/renumbering"}});
    // A set-channel the host refuses fails every current check that sets the channel.
    cases.push_back({"fault_host_data_as_channel", settingCurrent});
    // A record left empty fails every current check.
    cases.push_back({"fault_empty_current_record", allCurrentChecks()});
    cases.push_back({"fault_empty_name_finds_item", {"classic/empty-names"}});
    for (const FaultCase& fault : kFocusFaults) {
        cases.push_back(fault);
        cases.push_back(underCurrent(fault));
    }
    // Calling a service the modifier only holds breaks its promise in every
    // check that evaluates: all but the descriptor's and the versions'.
    std::set<std::string> evaluating = allChecksUnder("classic");
    for (const char* id : {"classic/versions", "classic/interface"}) evaluating.erase(id);
    evaluating.insert("module/repeated-load");
    cases.push_back({"fault_calls_noise", evaluating});
    // A module that reads a result from param, which returns nothing, finds
    // "not written" wherever the host leaves 0: every check whose channel
    // must be set fails, under each protocol it is made under.
    const std::vector<std::string> setting = {"random-blocks", "missing-references", "long-names", "picks",
                                              "sub-frame-times", "renumbering", "renames"};
    const std::vector<std::string> focusSetting = {"straight-line", "measure", "lag"};
    auto settingUnder = [&](const std::string& prefix, std::set<std::string> failing, bool focus) {
        for (const std::string& check : setting) failing.insert(prefix + check);
        if (focus)
            for (const std::string& check : focusSetting) failing.insert(prefix + check);
        return failing;
    };
    std::set<std::string> keltoReading = settingUnder("classic/", {"module/repeated-load"}, false);
    keltoReading = settingUnder("current/", keltoReading, false);
    keltoReading.insert("current/service-names");
    cases.push_back({"fault_reads_param_result", keltoReading});
    cases.push_back({"fault_focus_reads_param_result",
                     settingUnder("focus/classic/", {"focus/module/repeated-load"}, true), kFocus});
    cases.push_back({"fault_focus_reads_param_result_under_current",
                     settingUnder("focus/current/", {"focus/current/service-names"}, true), kFocus});
    return cases;
}

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

}  // namespace
