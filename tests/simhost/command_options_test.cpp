// kelto-host's one option table, read for both commands.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "simhost/command/command_line.h"
#include "simhost/command/command_options.h"
#include "simhost/modifiers/kelto_facts.h"
#include "simhost/modifiers/kelto_focus_facts.h"

namespace {

namespace focus = sim::kelto_focus_facts;

bool contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

// The help quotes labels and entries as a user types them: each must be one
// the modifiers really offer, or the example would fail as given.
TEST(CommandOptions, TheHelpsExamplesNameWhatTheModifiersOffer) {
    const std::string help = sim::optionsHelp();
    EXPECT_TRUE(contains(help, "--server \"" + std::string(focus::kServerName) + "\""));
    EXPECT_TRUE(contains(help, "--pick \"" + std::string(sim::kelto_facts::kItemLabel) + "=Ball\""));
    EXPECT_TRUE(contains(help, "--set \"" + std::string(focus::kSubjectOffsetLabel) + "=0 0.25 0\""));
    EXPECT_TRUE(contains(help, "--set \"" + std::string(focus::kLagLabel) + "=0.5\""));
    for (const char* entry : focus::kMeasureEntries)
        EXPECT_TRUE(contains(help, "--compare \"" + std::string(focus::kMeasureLabel) + "=" + entry + "\"")) << entry;
}

// An option both commands take is read once, into both.
TEST(CommandOptions, ATimeLimitGivenOnceServesEitherCommand) {
    sim::RunSettings run;
    ASSERT_EQ(sim::readRunCommand({"--time-limit", "7"}, run), "");
    EXPECT_EQ(run.timeLimitSeconds, 7u);
    sim::ValidateSettings validate;
    ASSERT_EQ(sim::readValidateCommand({"m.p", "--time-limit", "7"}, validate), "");
    EXPECT_EQ(validate.timeLimit, 7u);
    ASSERT_EQ(sim::readValidateCommand({"m.p"}, validate), "");
    EXPECT_EQ(validate.timeLimit, sim::kDefaultTimeLimitSeconds);
}

TEST(CommandOptions, EachCommandTakesOnlyItsOwn) {
    sim::RunSettings run;
    EXPECT_EQ(sim::readRunCommand({"--json"}, run), "unknown option --json");
    EXPECT_EQ(sim::readRunCommand({"--verdict-to", "1:ab"}, run), "unknown option --verdict-to");
    sim::ValidateSettings validate;
    EXPECT_EQ(sim::readValidateCommand({"m.p", "--exact"}, validate), "unknown option --exact");
    EXPECT_EQ(sim::readValidateCommand({"m.p", "--help"}, validate), "unknown option --help");
}

// What was not given is left for the program to fill; what was given is kept as given.
TEST(CommandOptions, ARunLeavesTheModuleAndSceneNotGivenEmpty) {
    sim::RunSettings run;
    ASSERT_EQ(sim::readRunCommand({"--pick", "Reference Item=Ball", "--exact"}, run), "");
    EXPECT_TRUE(run.modulePath.empty());
    EXPECT_TRUE(run.scenePath.empty());
    ASSERT_EQ(run.run.picks.size(), 1u);
    EXPECT_EQ(run.run.picks[0].label, "Reference Item");
    EXPECT_EQ(run.run.picks[0].entry, "Ball");
    EXPECT_EQ(run.firstSceneRunOption, "--pick");
    EXPECT_EQ(sim::readRunCommand({"a.p", "b.p"}, run), "more than one module file given");
}

// Validate's usage line lists its options in the table's order, the one
// the manual shows.
TEST(CommandOptions, ValidateWithoutAModuleIsRefusedWithItsUsage) {
    sim::ValidateSettings validate;
    EXPECT_EQ(sim::readValidateCommand({}, validate),
              "usage: kelto-host validate MODULE [--seed N] [--check ID] [--time-limit S] [--json] "
              "[--in-this-process] | kelto-host validate --list");
    EXPECT_EQ(sim::readValidateCommand({"--list"}, validate), "");
}

}  // namespace
