// A third party's modifier whose panel is a form (form_panel_module.cpp), run
// by kelto-host as a user runs it: its panel is shown with the entries its
// popup reads from its own control's data, a pick and a typed number reach the
// module through its change notification and formGet, and nothing it does is
// taken for a fault.
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
                         "  Offset (float): 0\n"))
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

}  // namespace
