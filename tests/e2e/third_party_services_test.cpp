// The host's message and texture functions are services like any other: a
// third party's module that calls them at every evaluation runs clean, each
// answered neutrally. Kelto and Kelto Focus promise never to call them, nor
// to read their channel, and one that does is told so as a broken promise,
// not as a breach of the host's rules.
#include <gtest/gtest.h>

#include "tests/e2e/host_program.h"
#include "tests/e2e/validate_run.h"

namespace {

using e2e::contains;
using e2e::run;

TEST(ThirdPartyServices, MessagesAndNoiseAreServedToAnyModule) {
    e2e::HostRun noisy = run(std::string(NOISE_CHANNEL_MODULE_PATH));
    ASSERT_EQ(noisy.exitCode, 0) << noisy.out;
    EXPECT_FALSE(contains(noisy.out, "Host check")) << noisy.out;
    EXPECT_FALSE(contains(noisy.out, "Promise")) << noisy.out;
    // No textures here: the noise is the neutral 0 at every frame.
    std::vector<e2e::FrameRow> rows = e2e::frameRows(noisy.out);
    ASSERT_FALSE(rows.empty()) << noisy.out;
    for (const e2e::FrameRow& row : rows) EXPECT_EQ(row.value, 0.0) << "frame " << row.frame;
}

// validate holds a module to Kelto's promises only when it claims to be
// Kelto or Kelto Focus: a third party's is told so once, and nothing it
// calls is blamed on it.
TEST(ThirdPartyServices, ValidateSaysAThirdPartysModuleIsNotOneOfOurs) {
    for (const char* path : {NOISE_CHANNEL_MODULE_PATH, KELTO_SETTINGS_KEEPER, FORM_PANEL_MODULE_PATH}) {
        int exitCode = -1;
        e2e::Verdicts checked = e2e::validateJson({path}, exitCode);
        EXPECT_EQ(exitCode, 1) << checked;
        EXPECT_TRUE(checked.totalsAddUp) << checked;
        EXPECT_EQ(checked.withVerdict("fail"), std::set<std::string>{"module/descriptor"}) << checked;
        EXPECT_EQ(checked.checks["module/descriptor"].reason, "no ChannelHandler \"Kelto\"") << checked;
        EXPECT_EQ(checked.withVerdict("pass"), std::set<std::string>()) << checked;
    }
}

TEST(ThirdPartyServices, AKeltoThatCallsThemBreaksItsPromise) {
    e2e::HostRun faulty = run(std::string(KELTO_FAULT_MODULES_DIR) + "/fault_calls_noise.p");
    EXPECT_EQ(faulty.exitCode, 1);
    EXPECT_TRUE(contains(faulty.out,
                         "Promise     Kelto promises never to call the host's messages or textures: "
                         "Texture Functions noise was called\n"))
        << faulty.out;
    EXPECT_FALSE(contains(faulty.out, "Host check")) << faulty.out;
}

// Kelto Focus promises as much, and never to read its channel: a run of one
// that reads it at every evaluation says so, the value it sets being sound.
TEST(ThirdPartyServices, AKeltoFocusThatReadsItsChannelBreaksItsPromise) {
    e2e::HostRun faulty = run(std::string(KELTO_FAULT_MODULES_DIR) + "/fault_focus_reads_channel.p --scene " +
                              KELTO_EXAMPLES_DIR + "/focus.scene");
    EXPECT_EQ(faulty.exitCode, 1);
    EXPECT_TRUE(contains(faulty.out,
                         "Promise     Kelto Focus promises never to call getChannel: it was called at "
                         "frame 0\n"))
        << faulty.out;
    EXPECT_FALSE(contains(faulty.out, "Host check")) << faulty.out;
}

}  // namespace
