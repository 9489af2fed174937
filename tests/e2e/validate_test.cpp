// The conformance check on the modules it must pass and on one it must reject.
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "simhost/validate/conformance.h"

namespace {

std::string validate(const std::vector<std::string>& arguments, int& exitCode) {
    std::ostringstream out, err;
    exitCode = sim::runValidateCommand(arguments, out, err);
    return out.str() + err.str();
}

TEST(Validate, BothBuildsPassEveryCheckAndTheCurrentOneIsCheckedUnderBothProtocols) {
    for (const char* path : {KELTO_MODULE_PATH, KELTO_CURRENT_MODULE_PATH}) {
        std::vector<sim::CheckResult> results = sim::checkConformance(path, 7);
        for (const sim::CheckResult& result : results) EXPECT_EQ(result.failure, "") << path << ": " << result.name;
        size_t current = 0;
        for (const sim::CheckResult& result : results) current += result.name.rfind("current: ", 0) == 0;
        EXPECT_EQ(current > 0, std::string(path) == KELTO_CURRENT_MODULE_PATH) << path;
    }
}

TEST(Validate, AnImpostorIsRejectedLineByLine) {
    int exitCode = -1;
    std::string out = validate({std::string(KELTO_FAULT_MODULES_DIR) + "/fault_impostor.p", "--seed", "3"}, exitCode);
    EXPECT_EQ(exitCode, 1);
    EXPECT_NE(out.find("with seed 3 (replay with --seed 3)\n"), std::string::npos) << out;
    EXPECT_NE(out.find("pass  descriptor and server table\n"), std::string::npos) << out;
    EXPECT_NE(out.find("FAIL  activation refuses other versions: the handler activation with version 0 returned 0"),
              std::string::npos)
        << out;
    // It takes the current version too, so it is checked under that as well.
    EXPECT_NE(out.find("FAIL  current: many instances created, copied and destroyed: "), std::string::npos) << out;
    EXPECT_NE(out.find("\n1 passed, 16 failed\n"), std::string::npos) << out;

    std::string missing = validate({"/nonexistent.p"}, exitCode);
    EXPECT_EQ(exitCode, 1);
    EXPECT_NE(missing.find("FAIL  descriptor and server table: no such module file: /nonexistent.p\n0 passed, 1 failed"),
              std::string::npos)
        << missing;
    for (std::vector<std::string> wrong : {std::vector<std::string>{}, {"a.p", "b.p"}, {"a.p", "--seed", "-1"},
                                           {"a.p", "--seed", "4294967296"}, {"a.p", "--seed"},
                                           {"a.p", "--seed", "+5"}, {"a.p", "--seed", " 5"}}) {
        std::string refused = validate(wrong, exitCode);
        EXPECT_EQ(exitCode, 1);
        EXPECT_EQ(refused.rfind("kelto-host: ", 0), 0u) << refused;
        EXPECT_EQ(std::count(refused.begin(), refused.end(), '\n'), 1) << refused;
    }
}

// A module that takes the current version but leaves the record empty passes
// every classic check and fails every current one.
TEST(Validate, AModuleThatTakesTheCurrentVersionIsHeldToIt) {
    int exitCode = -1;
    std::string out = validate({std::string(KELTO_FAULT_MODULES_DIR) + "/fault_empty_current_record.p", "--seed", "5"},
                               exitCode);
    EXPECT_EQ(exitCode, 1);
    EXPECT_NE(out.find("pass  classic: deleted items: "), std::string::npos) << out;
    EXPECT_NE(out.find("FAIL  current: save, load, save gives the same block: the handler activation left functions "
                       "of the handler record empty\n"),
              std::string::npos)
        << out;
    EXPECT_NE(out.find("\n10 passed, 7 failed\n"), std::string::npos) << out;
}

// A promise broken in the evaluation before the first deletion fails the
// deletion check, though every later evaluation keeps it.
TEST(Validate, ABrokenPromiseBeforeAnItemIsDeletedIsKept) {
    std::vector<sim::CheckResult> results =
        sim::checkConformance(std::string(KELTO_FAULT_MODULES_DIR) + "/fault_resolving_sets_twice.p", 5);
    const sim::CheckResult* deletion = nullptr;
    for (const sim::CheckResult& result : results)
        if (result.name.rfind("classic: deleted items: ", 0) == 0) deletion = &result;
    ASSERT_NE(deletion, nullptr);
    EXPECT_EQ(deletion->failure, "setChannel called 2 times");
}

// Whichever popup a seed picks first, a get that gives no value for the
// other fails the check instead of being read.
TEST(Validate, APanelWithoutAValueFailsThePicksCheck) {
    for (uint32_t seed = 1; seed <= 8; ++seed) {
        std::vector<sim::CheckResult> results =
            sim::checkConformance(std::string(KELTO_FAULT_MODULES_DIR) + "/fault_no_item_value.p", seed);
        const sim::CheckResult* picks = nullptr;
        for (const sim::CheckResult& result : results)
            if (result.name.rfind("classic: random panel picks ", 0) == 0) picks = &result;
        ASSERT_NE(picks, nullptr);
        EXPECT_NE(picks->failure, "") << "seed " << seed;
    }
}

// Blocks that load back as they should do not make up for a save that
// says it failed.
TEST(Validate, ASaveThatReturnsAnErrorFails) {
    std::vector<sim::CheckResult> results =
        sim::checkConformance(std::string(KELTO_FAULT_MODULES_DIR) + "/fault_save_error.p", 5);
    const sim::CheckResult* identity = nullptr;
    for (const sim::CheckResult& result : results)
        if (result.name == "classic: save, load, save gives the same block") identity = &result;
    ASSERT_NE(identity, nullptr);
    EXPECT_EQ(identity->failure, "save returned the error \"the disk is full\"");
}

}  // namespace
