// A third party's modifier whose panel is a form (form_panel_module.cpp), run
// by kelto-host as a user runs it: its panel is shown with the entries its
// popup reads from its own control's data, a pick and a typed number reach the
// module through its change notification and formGet, its checkbox is drawn,
// picked and set and turns its limit's field on and off, and nothing it does
// is taken for a fault.
#include <gtest/gtest.h>

#include "tests/e2e/host_program.h"

namespace {

using e2e::contains;
using e2e::run;

const std::string kModule = std::string(FORM_PANEL_MODULE_PATH) + " --server \"Step Scale\"";

TEST(ThirdPartyPanel, AFormPanelIsShownAndItsChangesReachTheModule) {
    e2e::HostRun shown = run(kModule + " --pick \"Factor=Triple\" --set \"Offset=0.5\"");
    ASSERT_EQ(shown.exitCode, 0) << shown.out;
    EXPECT_FALSE(contains(shown.out, "Host check")) << shown.out;
    // The divider hint is taken and said to be left alone, not failed.
    EXPECT_TRUE(contains(shown.out,
                         "Panel \"Step Scale\"  (hints not acted on: XPTAG_DIVADD)\n"
                         "  Factor (iPopChoice): [Half]  entries: Half | Double | Triple\n"
                         "  Offset (float): 0\n"
                         "  Use limit (iBoolean): [off]  entries: off | on\n"
                         "  Limit (float): 10  (disabled)\n"))
        << shown.out;
    // A form's pick is answered by the change notification's refresh code.
    EXPECT_TRUE(contains(shown.out, "Pick        Factor = Triple (refresh 0)\n"));
    EXPECT_TRUE(contains(shown.out, "Set         Offset = 0.5 (refresh 0)\n"));
    EXPECT_TRUE(contains(shown.out,
                         "  Factor (iPopChoice): [Triple]  entries: Half | Double | Triple\n"
                         "  Offset (float): 0.5\n"));
    // The module read both back with formGet: 3 + 0.5 at every frame.
    std::vector<std::string> rows = e2e::tableRows(shown.out);
    ASSERT_FALSE(rows.empty()) << shown.out;
    for (const std::string& row : rows) EXPECT_TRUE(contains(row, "      3.500000")) << row;
}

// The checkbox turns the limit on, with a pick or set as a number; the limit's
// field takes a value only while it is on, and says why not otherwise.
TEST(ThirdPartyPanel, ACheckboxIsPickedAndSetAndADisabledFieldTakesNothing) {
    e2e::HostRun limited = run(kModule + " --pick \"Factor=Triple\" --pick \"Use limit=on\" --set \"Limit=2.25\"");
    ASSERT_EQ(limited.exitCode, 0) << limited.out;
    EXPECT_TRUE(contains(limited.out, "Pick        Use limit = on (refresh 0)\n")) << limited.out;
    EXPECT_TRUE(contains(limited.out,
                         "  Use limit (iBoolean): [on]  entries: off | on\n"
                         "  Limit (float): 2.25\n"))
        << limited.out;
    std::vector<std::string> rows = e2e::tableRows(limited.out);
    ASSERT_FALSE(rows.empty()) << limited.out;
    for (const std::string& row : rows) EXPECT_TRUE(contains(row, "      2.250000")) << row;

    e2e::HostRun set = run(kModule + " --set \"Use limit=1\" --set \"Use limit=0\"");
    ASSERT_EQ(set.exitCode, 0) << set.out;
    EXPECT_TRUE(contains(set.out, "Set         Use limit = 0 (refresh 0)\n")) << set.out;
    EXPECT_TRUE(contains(set.out, "  Use limit (iBoolean): [off]  entries: off | on\n")) << set.out;

    const std::string turnedOff =
        "\"Limit\" is turned off while \"Use limit\" is off (the limit holds only while it is used)\n";
    e2e::HostRun refused = run(kModule + " --set \"Limit=2.25\"");
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_TRUE(contains(refused.out, "kelto-host: cannot enter \"2.25\" in \"Limit\": " + turnedOff)) << refused.out;
    EXPECT_TRUE(e2e::tableRows(refused.out).empty()) << refused.out;
    e2e::HostRun unpicked = run(kModule + " --pick \"Use limit=on\" --pick \"Use limit=off\" --set \"Limit=1\"");
    EXPECT_EQ(unpicked.exitCode, 1);
    EXPECT_TRUE(contains(unpicked.out, "kelto-host: cannot enter \"1\" in \"Limit\": " + turnedOff)) << unpicked.out;
    e2e::HostRun maybe = run(kModule + " --pick \"Use limit=maybe\"");
    EXPECT_EQ(maybe.exitCode, 1);
    EXPECT_TRUE(contains(maybe.out,
                         "kelto-host: cannot pick \"maybe\" in \"Use limit\": \"Use limit\" has no entry "
                         "\"maybe\": a checkbox is off or on\n"))
        << maybe.out;
}

}  // namespace
