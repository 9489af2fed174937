// The conformance check on the modules it must pass and on one it must reject.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <set>
#include <sstream>

#include "simhost/validate/conformance.h"

namespace {

std::string validate(const std::vector<std::string>& arguments, int& exitCode) {
    std::ostringstream out, err;
    exitCode = sim::runValidateCommand(arguments, out, err);
    return out.str() + err.str();
}

std::string faultModule(const std::string& name) { return std::string(KELTO_FAULT_MODULES_DIR) + "/" + name + ".p"; }

// What became of the check of that ID: "passed", "failed: why", or
// "missing" when it was not made.
std::string outcome(const std::vector<sim::CheckResult>& results, const std::string& id) {
    for (const sim::CheckResult& result : results)
        if (result.id == id) return result.failure.empty() ? "passed" : "failed: " + result.failure;
    return "missing";
}

std::string outcome(const std::string& path, uint32_t seed, const std::string& id) {
    return outcome(sim::checkConformance(path, seed), id);
}

// The command's output read back: each check's line by its ID ("PASS" or
// "FAIL" and the rest of the line), and whether the closing totals count
// those lines.
struct ValidateOutput {
    std::map<std::string, std::string> lines;
    bool totalsAddUp = false;
};

ValidateOutput readOutput(const std::string& text) {
    ValidateOutput output;
    std::istringstream in(text);
    std::string line;
    int passed = -1, failed = -1;
    size_t passLines = 0;
    while (std::getline(in, line)) {
        std::istringstream words(line);
        std::string verdict, id;
        words >> verdict >> id;
        if (verdict == "PASS" || verdict == "FAIL") {
            output.lines[id] = verdict + line.substr(line.find(id) + id.size());
            passLines += verdict == "PASS";
        }
        std::sscanf(line.c_str(), "%d passed, %d failed", &passed, &failed);
    }
    output.totalsAddUp = passed >= 0 && failed >= 0 && size_t(passed) == passLines &&
                         size_t(passed + failed) == output.lines.size();
    return output;
}

TEST(Validate, BothBuildsPassEveryCheckAndTheCurrentOneIsCheckedUnderBothProtocols) {
    for (const char* path : {KELTO_MODULE_PATH, KELTO_CURRENT_MODULE_PATH}) {
        std::vector<sim::CheckResult> results = sim::checkConformance(path, 7);
        std::set<std::string> ids;
        for (const sim::CheckResult& result : results) {
            EXPECT_EQ(result.failure, "") << path << ": " << result.id;
            EXPECT_TRUE(ids.insert(result.id).second) << path << ": " << result.id << " twice";
        }
        EXPECT_EQ(outcome(results, "module/descriptor"), "passed") << path;
        EXPECT_EQ(outcome(results, "classic/picks"), "passed") << path;
        bool current = std::string(path) == KELTO_CURRENT_MODULE_PATH;
        EXPECT_EQ(outcome(results, "current/picks"), current ? "passed" : "missing") << path;
    }
}

TEST(Validate, AnImpostorIsRejectedLineByLine) {
    int exitCode = -1;
    std::string out = validate({faultModule("fault_impostor"), "--seed", "3"}, exitCode);
    EXPECT_EQ(exitCode, 1);
    EXPECT_NE(out.find("with seed 3 (replay with --seed 3)\n"), std::string::npos) << out;
    ValidateOutput lines = readOutput(out);
    EXPECT_TRUE(lines.totalsAddUp) << out;
    EXPECT_EQ(lines.lines["module/descriptor"], "PASS  descriptor and server table") << out;
    EXPECT_EQ(lines.lines["classic/versions"],
              "FAIL  activation refuses other versions: the handler activation with version 0 returned 0 (success)")
        << out;
    // It takes the current version too, so it is checked under that as well.
    EXPECT_EQ(lines.lines["current/instances"].rfind("FAIL  many instances created, copied and destroyed: ", 0), 0u)
        << out;

    std::string missing = validate({"/nonexistent.p"}, exitCode);
    EXPECT_EQ(exitCode, 1);
    ValidateOutput refused = readOutput(missing);
    EXPECT_TRUE(refused.totalsAddUp) << missing;
    EXPECT_EQ(refused.lines, (std::map<std::string, std::string>{
                                 {"module/descriptor",
                                  "FAIL  descriptor and server table: no such module file: /nonexistent.p"}}));
    for (std::vector<std::string> wrong : {std::vector<std::string>{}, {"a.p", "b.p"}, {"a.p", "--seed", "-1"},
                                           {"a.p", "--seed", "4294967296"}, {"a.p", "--seed"},
                                           {"a.p", "--seed", "+5"}, {"a.p", "--seed", " 5"}}) {
        std::string refusal = validate(wrong, exitCode);
        EXPECT_EQ(exitCode, 1);
        EXPECT_EQ(refusal.rfind("kelto-host: ", 0), 0u) << refusal;
        EXPECT_EQ(std::count(refusal.begin(), refusal.end(), '\n'), 1) << refusal;
    }
}

// A module that takes the current version but leaves the record empty passes
// every classic check and fails every current one that binds the handler
// (all but the refused versions).
TEST(Validate, AModuleThatTakesTheCurrentVersionIsHeldToIt) {
    int exitCode = -1;
    std::string out = validate({faultModule("fault_empty_current_record"), "--seed", "5"}, exitCode);
    EXPECT_EQ(exitCode, 1);
    ValidateOutput lines = readOutput(out);
    EXPECT_TRUE(lines.totalsAddUp) << out;
    size_t classic = 0, current = 0;
    for (const auto& line : lines.lines) {
        if (line.first.rfind("classic/", 0) == 0) {
            ++classic;
            EXPECT_EQ(line.second.rfind("PASS  ", 0), 0u) << line.first << " " << line.second;
        } else if (line.first.rfind("current/", 0) == 0 && line.first != "current/versions") {
            ++current;
            EXPECT_EQ(line.second.rfind("FAIL  ", 0), 0u) << line.first << " " << line.second;
        }
    }
    EXPECT_GT(classic, 0u);
    EXPECT_GT(current, 0u);
    EXPECT_EQ(lines.lines["current/save-load-save"],
              "FAIL  save, load, save gives the same block: the handler activation left functions of the handler "
              "record empty");
}

// A promise broken in the evaluation before the first deletion fails the
// deletion check, though every later evaluation keeps it.
TEST(Validate, ABrokenPromiseBeforeAnItemIsDeletedIsKept) {
    EXPECT_EQ(outcome(faultModule("fault_resolving_sets_twice"), 5, "classic/renumbering"),
              "failed: setChannel called 2 times");
}

// Whichever popup a seed picks first, a get that gives no value for the
// other fails the check instead of being read.
TEST(Validate, APanelWithoutAValueFailsThePicksCheck) {
    for (uint32_t seed = 1; seed <= 8; ++seed)
        EXPECT_EQ(outcome(faultModule("fault_no_item_value"), seed, "classic/picks").rfind("failed: ", 0), 0u)
            << "seed " << seed;
}

// Blocks that load back as they should do not make up for a save that
// says it failed.
TEST(Validate, ASaveThatReturnsAnErrorFails) {
    EXPECT_EQ(outcome(faultModule("fault_save_error"), 5, "classic/save-load-save"),
              "failed: save returned the error \"the disk is full\"");
}

}  // namespace
