// The kelto-host program as a user runs it.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "simhost/modifiers/kelto_facts.h"
#include "simhost/platform/crash_report.h"
#include "simhost/text/printable_text.h"
#include "tests/e2e/host_program.h"

namespace {

using e2e::contains;
using e2e::FrameRow;
using e2e::HostRun;
using e2e::linesOf;
using e2e::rowOfFrame;
using e2e::run;
using e2e::tableRows;
using e2e::temp;
using sim::kelto_facts::kCameraLabel;
using sim::kelto_facts::kItemLabel;
using sim::kelto_facts::kNoneEntry;

const std::string kHandler = sim::kelto_facts::serverText("ChannelHandler");
const std::string kInterface = sim::kelto_facts::serverText("ChannelInterface");

// The option that picks `entry` in the popup labelled `label`.
std::string pickOption(const std::string& label, const std::string& entry) {
    return "--pick \"" + label + "=" + entry + "\"";
}

// What kelto-host shows of a pick, of a panel and of a saved unit.
std::string pickLine(const std::string& label, const std::string& entry, int refresh) {
    return "Pick        " + label + " = " + entry + " (refresh " + std::to_string(refresh) + ")\n";
}
std::string panelTitleLine() { return "Panel \"" + std::string(sim::kelto_facts::kPanelTitle) + "\"\n"; }
// A popup's line up to its first entry, "(none)".
std::string popupLine(const std::string& label, const std::string& shown) {
    return "  " + label + " (" + sim::kelto_facts::kPopupControlClass + "): [" + shown + "]  entries: " + kNoneEntry;
}
std::string savedUnitLine(const std::string& line) {
    return "  " + line + "  (" + std::to_string(line.size() + 1) + " bytes)\n";
}

// At frame 48 of the demo scene, 2 s in, the ball is 6 units in front of the
// camera and 1.1 below it: √(6² + 1.1²) = 6.1.
void expectTheDemosFrame48(const std::string& out) {
    FrameRow row = rowOfFrame(out, 48);
    EXPECT_EQ(row.time, 2.0) << out;
    EXPECT_EQ(row.value, 6.1) << out;
    EXPECT_TRUE(row.set) << out;
}

// The index of the line that shows frame `frame` in the table, or of none.
size_t lineOfFrame(const std::vector<std::string>& lines, long frame) {
    for (size_t at = 0; at < lines.size(); ++at)
        if (e2e::isTableRow(lines[at]) && std::strtol(lines[at].c_str(), nullptr, 10) == frame) return at;
    return lines.size();
}

TEST(KeltoHost, RunsTheDemoSceneWithNoArguments) {
    HostRun demo = run("");
    ASSERT_EQ(demo.exitCode, 0) << demo.out;
    EXPECT_TRUE(contains(demo.out, "Descriptor  sync 0x04121994, plug-in system 3, machine 0x500 (Linux)"));
    EXPECT_TRUE(contains(demo.out, "Server      " + kHandler));
    EXPECT_TRUE(contains(demo.out, "Activation  " + kHandler + ": 0 (success)"));
    EXPECT_TRUE(contains(demo.out, "Channel     Camera.FocalDistance"));
    expectTheDemosFrame48(demo.out);
    EXPECT_TRUE(contains(demo.out, "  Ball  (5 bytes)\n"));
    EXPECT_FALSE(contains(demo.out, "Host check"));
}

TEST(KeltoHost, InfoShowsTheModuleAndAnInstance) {
    HostRun info = run(std::string(KELTO_MODULE_PATH) + " --info");
    ASSERT_EQ(info.exitCode, 0) << info.out;
    EXPECT_TRUE(contains(info.out, "Server      " + kInterface));
    EXPECT_TRUE(contains(info.out, "Instance    \"" + std::string(sim::kelto_facts::kDescription) + "\", flags 0"));

    HostRun lacking = run(std::string(KELTO_MODULE_PATH) + " --info --withhold \"LW Item Info 3\"");
    EXPECT_EQ(lacking.exitCode, 1);
    // A refusal names what the module asked for and did not get.
    EXPECT_TRUE(contains(lacking.out,
                         "kelto-host: the ChannelHandler activation returned 2 (a host service is "
                         "missing); not served: \"LW Item Info 3\"\n"));
}

// A link the system follows by other means than its text (/dev/stdout to a
// pipe) is written through, after the report.
TEST(KeltoHost, WritesThePlotToStandardOutputThroughItsLink) {
    HostRun piped = run("--plot /dev/stdout");
    ASSERT_EQ(piped.exitCode, 0) << piped.out;
    EXPECT_TRUE(contains(piped.out, "</svg>\nPlot        /dev/stdout\n")) << piped.out;
    EXPECT_LT(piped.out.find("KELTO_END"), piped.out.find("<svg")) << "the report first, then the plot";
}

// A run and validate take one range of time limits, and the help says so.
TEST(KeltoHost, ARunAndValidateTakeOneRangeOfTimeLimits) {
    const std::string range =
        "--time-limit takes a whole number of seconds from 1 to " + std::to_string(sim::kMostTimeLimitSeconds);
    const std::string over = std::to_string(sim::kMostTimeLimitSeconds + 1);
    EXPECT_TRUE(contains(run("--time-limit " + over).out, range));
    EXPECT_TRUE(contains(run("validate " + std::string(KELTO_MODULE_PATH) + " --time-limit " + over).out, range));
    HostRun longest = run("validate " + std::string(KELTO_MODULE_PATH) + " --check module/descriptor --time-limit " +
                          std::to_string(sim::kMostTimeLimitSeconds));
    EXPECT_EQ(longest.exitCode, 0) << longest.out;
    EXPECT_TRUE(contains(longest.out, "PASS  module/descriptor")) << longest.out;

    HostRun help = run("--help");
    EXPECT_TRUE(contains(help.out, "[--time-limit S] [--json] [--in-this-process]\n"));
    EXPECT_TRUE(contains(help.out, "(1 to " + std::to_string(sim::kMostTimeLimitSeconds) +
                                       ");\n"
                                       "                       with validate, fail a check"));
}

// Both commands read their options through one table: the same mistake is
// refused in the same words, and validate's own options are in the help.
TEST(KeltoHost, ARunAndValidateRefuseTheSameMistakesAlike) {
    const std::string validate = "validate " + std::string(KELTO_MODULE_PATH) + " ";
    for (const std::string& command : {std::string(), validate}) {
        EXPECT_TRUE(contains(run(command + "--time-limit 5 --time-limit 5").out,
                             "kelto-host: --time-limit given more than once"));
        EXPECT_TRUE(contains(run(command + "--time-limit").out, "kelto-host: --time-limit needs a value"));
        EXPECT_TRUE(contains(run(command + "--frobnicate").out, "kelto-host: unknown option --frobnicate"));
    }
    // Each command takes only its own.
    EXPECT_TRUE(contains(run("--seed 3").out, "kelto-host: unknown option --seed"));
    EXPECT_TRUE(contains(run(validate + "--plot x.svg").out, "kelto-host: unknown option --plot"));
    EXPECT_TRUE(contains(run(validate + "--seed 1 --seed 1").out, "kelto-host: --seed given more than once\n"));

    HostRun help = run("--help");
    EXPECT_TRUE(contains(help.out, "\n  --seed N             with validate,")) << help.out;
    EXPECT_TRUE(contains(help.out, "\n  --in-this-process    with validate,")) << help.out;
    EXPECT_EQ(help.out.find("  -h "), std::string::npos) << help.out;
}

// As a current host it says which version each activation took after which refusals.
TEST(KeltoHost, ACurrentHostNegotiatesVersionsAndSaysWhichWasTaken) {
    HostRun current = run(std::string(KELTO_CURRENT_MODULE_PATH) + " --host current");
    ASSERT_EQ(current.exitCode, 0) << current.out;
    EXPECT_TRUE(contains(current.out, "Activation  " + kHandler + ": 0 (success) at version 5\n"));
    EXPECT_TRUE(contains(current.out, "Activation  " + kInterface +
                                          ": 0 (success) at version 5, after "
                                          "versions 1, 2, 3, 4: 1 (wrong version)\n"));
    expectTheDemosFrame48(current.out);

    HostRun classic = run(std::string(KELTO_MODULE_PATH) + " --host current --info");
    ASSERT_EQ(classic.exitCode, 0) << classic.out;
    EXPECT_TRUE(contains(classic.out, "Activation  " + kHandler +
                                          ": 0 (success) at version 4, after "
                                          "version 5: 1 (wrong version)\n"));

    HostRun refused = run(std::string(KELTO_MODULE_PATH) + " --host current --withhold \"LW Item Info 3\"");
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_TRUE(contains(refused.out, "returned 2 (a host service is missing); not served: \"LW Item Info 3\"\n"));
    EXPECT_TRUE(contains(run("--host modern").out, "kelto-host: --host takes classic or current"));
}

TEST(KeltoHost, WritesThePlotAndTheSceneBack) {
    std::string plot = temp("demo.svg"), saved = temp("saved.scene");
    HostRun written = run("--plot " + plot + " --write-scene " + saved);
    ASSERT_EQ(written.exitCode, 0) << written.out;
    const std::string svg = e2e::fileText(plot);
    EXPECT_TRUE(contains(svg, "<polyline"));
    EXPECT_TRUE(contains(svg, ">value (scene units)</text>"));
    // The README shows the demo's plot; it must be what the demo draws.
    EXPECT_EQ(svg, e2e::fileText(KELTO_DOCS_DIR "/focus-distance.svg")) << "docs/focus-distance.svg is out of date";

    HostRun again = run("--scene " + saved);
    ASSERT_EQ(again.exitCode, 0) << again.out;
    expectTheDemosFrame48(again.out);
}

// A block saved in binary mode, as into an object file, loads back whole:
// the references picked come back, and so does every value.
TEST(KeltoHost, ABinarySaveLoadsBackWhole) {
    const std::string binary = temp("binary-save.scene"), ascii = temp("binary-loaded.scene");
    HostRun saved = run(pickOption(kItemLabel, "Ground") + " " + pickOption(kCameraLabel, "Close-up") +
                        " --binary-save --write-scene " + binary);
    ASSERT_EQ(saved.exitCode, 0) << saved.out;
    EXPECT_TRUE(contains(saved.out, "Saved block (binary, 70 bytes)\n")) << saved.out;

    HostRun loaded = run("--scene " + binary + " --write-scene " + ascii);
    ASSERT_EQ(loaded.exitCode, 0) << loaded.out;
    EXPECT_TRUE(contains(loaded.out, "Load        70 bytes (binary), 70 reads\n")) << loaded.out;
    EXPECT_TRUE(contains(loaded.out, popupLine(kItemLabel, "Ground"))) << loaded.out;
    EXPECT_TRUE(contains(loaded.out, popupLine(kCameraLabel, "Close-up"))) << loaded.out;
    EXPECT_EQ(tableRows(loaded.out), tableRows(saved.out));
    EXPECT_TRUE(contains(e2e::fileText(ascii),
                         "block\n| KELTO_START\n| REFERENCE_ITEM\n| Ground\n"
                         "| REFERENCE_CAMERA\n| Close-up\n| KELTO_END\nend block\n"));
}

// The module's own word that its save failed is shown, and the scene is not
// written with what it saved.
TEST(KeltoHost, ASaveTheModuleSaysFailedFailsTheRun) {
    std::string saved = temp("failed-save.scene");
    std::remove(saved.c_str());
    HostRun failed = run(std::string(KELTO_FAULT_MODULES_DIR) + "/fault_save_error.p --write-scene " + saved);
    EXPECT_EQ(failed.exitCode, 1) << failed.out;
    EXPECT_TRUE(contains(failed.out, "kelto-host: the module's save failed: the disk is full\n")) << failed.out;
    EXPECT_FALSE(contains(failed.out, "Scene saved")) << failed.out;
    EXPECT_FALSE(std::ifstream(saved).good());

    HostRun unread = run(std::string(KELTO_FAULT_MODULES_DIR) + "/fault_load_error.p");
    EXPECT_EQ(unread.exitCode, 1) << unread.out;
    EXPECT_TRUE(contains(unread.out, "kelto-host: the module's load failed: the block is unreadable\n")) << unread.out;
    EXPECT_FALSE(contains(unread.out, "Channel     ")) << unread.out;
}

TEST(KeltoHost, FailuresAreOneLineAndANonZeroExit) {
    std::string text = temp("text.p");
    std::ofstream(text) << "not a module\n";
    std::string badScene = temp("bad.scene");
    std::ofstream(badScene) << "object Ball\nkey 1 2\n";
    struct Case {
        std::string arguments, message;
    } cases[] = {
        {"/nonexistent.p", "kelto-host: no such module file: /nonexistent.p\n"},
        {text, "kelto-host: not a loadable module: " + text},
        {std::string(KELTO_FAULT_MODULES_DIR) + "/fault_no_descriptor.p", "kelto-host: no _mod_descrip in "},
        {std::string(KELTO_FAULT_MODULES_DIR) + "/fault_wrong_sync.p", "kelto-host: wrong synchronisation word"},
        {std::string(KELTO_FAULT_MODULES_DIR) + "/fault_no_descriptor.p --info", "kelto-host: no _mod_descrip"},
        {"--scene " + badScene, "kelto-host: " + badScene + ":2: a key is"},
        {"--scene /nonexistent.scene", "kelto-host: cannot read scene file /nonexistent.scene\n"},
        {"--frobnicate", "kelto-host: unknown option --frobnicate (see --help)\n"},
        {"--withhold \"Texture Functions\"", "kelto-host: the ChannelHandler activation returned 2"},
        {"--class-version 5", "kelto-host: the ChannelHandler activation returned 1 (wrong version)\n"},
        {"--class-version four", "kelto-host: --class-version takes a whole number (see --help)\n"},
        {"--edit \"delete Moon@4\"", "kelto-host: cannot delete Moon at frame 4: no item is named \"Moon\"\n"},
        {"--edit \"delete Ball@97\"", "kelto-host: cannot delete Ball at frame 97: the scene's frames are 0 to 96\n"},
        {"--edit \"delete Ball\"", "kelto-host: --edit: an edit is \"delete NAME@FRAME\""},
    };
    for (const Case& c : cases) {
        HostRun failed = run(c.arguments);
        EXPECT_EQ(failed.exitCode, 1) << c.arguments << "\n" << failed.out;
        EXPECT_TRUE(contains(failed.out, c.message)) << c.arguments << "\n" << failed.out;
    }
    HostRun fault = run(std::string(KELTO_FAULT_MODULES_DIR) + "/fault_wrong_sync.p");
    EXPECT_EQ(std::count(fault.out.begin(), fault.out.end(), '\n'), 1) << fault.out;
}

TEST(KeltoHost, ShowsThePanelAndFollowsPicksFromTheCommandLine) {
    HostRun shown = run("");
    ASSERT_EQ(shown.exitCode, 0) << shown.out;
    EXPECT_TRUE(contains(shown.out, panelTitleLine() + popupLine(kItemLabel, "Ball") + " | Ground | Ball\n" +
                                        popupLine(kCameraLabel, "Camera") + " | Camera | Close-up\n"));

    // The close-up camera at (2, 0.8, 3) and the ground at the origin.
    HostRun picked = run(pickOption(kItemLabel, "Ground") + " " + pickOption(kCameraLabel, "Close-up"));
    ASSERT_EQ(picked.exitCode, 0) << picked.out;
    EXPECT_TRUE(contains(picked.out, pickLine(kItemLabel, "Ground", 0)));
    EXPECT_TRUE(contains(picked.out, popupLine(kItemLabel, "Ground")));
    EXPECT_NEAR(rowOfFrame(picked.out, 48).value, std::sqrt(2 * 2 + 0.8 * 0.8 + 3 * 3), e2e::kShownPrecision);
    EXPECT_TRUE(contains(picked.out, savedUnitLine("Ground") + savedUnitLine(sim::kelto_facts::kCameraKeyword) +
                                         savedUnitLine("Close-up")));

    HostRun none = run(pickOption(kItemLabel, kNoneEntry));
    ASSERT_EQ(none.exitCode, 0) << none.out;
    EXPECT_TRUE(contains(none.out, pickLine(kItemLabel, kNoneEntry, 1)));
    // The channel keeps its own value, 10.
    EXPECT_EQ(rowOfFrame(none.out, 48).value, 10.0) << none.out;
    EXPECT_FALSE(rowOfFrame(none.out, 48).set) << none.out;

    HostRun unknown = run(pickOption(kItemLabel, "Moon"));
    EXPECT_EQ(unknown.exitCode, 1);
    EXPECT_TRUE(contains(unknown.out, "kelto-host: cannot pick \"Moon\" in \"" + std::string(kItemLabel) + "\": \"" +
                                          kItemLabel + "\" has no entry \"Moon\"\n"));

    HostRun noToolkit = run("--withhold LWXPanel " + pickOption(kItemLabel, "Ground"));
    EXPECT_EQ(noToolkit.exitCode, 1);
    EXPECT_TRUE(contains(noToolkit.out, "Panel       none\n"));
    EXPECT_TRUE(contains(noToolkit.out, "kelto-host: there is no panel to pick from\n"));
}

TEST(KeltoHost, LongPopupsAreDrawnInPartAndPickedInFull) {
    std::string text = "frames 0 0\n";
    for (int n = 1; n <= 25; ++n) text += "object Obj" + std::to_string(n) + "\n";
    text += "camera Camera\n";
    std::string scene = temp("long_popup.scene");
    std::ofstream(scene) << text;
    // Twenty entries shown, "(none)" first; the chosen one is named even
    // when it is not among them.
    HostRun picked = run("--scene " + scene + " " + pickOption(kItemLabel, "Obj25"));
    ASSERT_EQ(picked.exitCode, 0) << picked.out;
    EXPECT_TRUE(contains(picked.out, popupLine(kItemLabel, kNoneEntry) + " | Obj1 | Obj2 |"));
    EXPECT_TRUE(contains(picked.out, " | Obj18 | Obj19 | ... and 6 more\n")) << picked.out;
    EXPECT_FALSE(contains(picked.out, "Obj20 |"));
    EXPECT_TRUE(contains(picked.out, pickLine(kItemLabel, "Obj25", 0)));
    EXPECT_TRUE(contains(picked.out, popupLine(kItemLabel, "Obj25") + " | Obj1"));
}

TEST(KeltoHost, NamesCannotWorkTheTerminal) {
    std::string scene = temp("odd_names.scene");
    std::ofstream(scene) << "object Ball\x1B]0;owned\x07\ncamera Cam\x7F\xFF\n";
    HostRun shown = run("--scene " + scene + " " + pickOption(kCameraLabel, "Cam\x7F\xFF"));
    ASSERT_EQ(shown.exitCode, 0) << shown.out;
    EXPECT_TRUE(contains(shown.out, std::string("entries: ") + kNoneEntry + " | Ball\\x1B]0;owned\\x07\n"))
        << shown.out;
    EXPECT_TRUE(contains(shown.out, pickLine(kCameraLabel, "Cam\\x7F\\xFF", 0))) << shown.out;
    EXPECT_EQ(shown.out.find_first_of("\x1B\x07\x7F\xFF"), std::string::npos);
}

// A right-to-left override, or any other bidirectional control, would show a
// name reordered, on the terminal and in the plot: each is escaped byte by byte.
TEST(KeltoHost, NamesCannotReorderWhatIsShown) {
    const struct {
        const char* bytes;
        const char* shown;
    } kControls[] = {
        {"\u202E", "\\xE2\\x80\\xAE"}, {"\u202A", "\\xE2\\x80\\xAA"}, {"\u200E", "\\xE2\\x80\\x8E"},
        {"\u200F", "\\xE2\\x80\\x8F"}, {"\u2066", "\\xE2\\x81\\xA6"}, {"\u2069", "\\xE2\\x81\\xA9"},
        {"\u061C", "\\xD8\\x9C"},
    };
    for (const auto& control : kControls) {
        std::string scene = temp("bidi.scene"), plot = temp("bidi.svg");
        std::ofstream(scene) << "object Ball" << control.bytes << "gpj.exe\ncamera Cam\nchannel Cam.Focus"
                             << control.bytes << "gpj.exe\n";
        HostRun shown = run("--scene " + scene + " --plot " + plot + " " +
                            pickOption(kItemLabel, "Ball" + std::string(control.bytes) + "gpj.exe") + " " +
                            pickOption(kCameraLabel, "Cam"));
        ASSERT_EQ(shown.exitCode, 0) << shown.out;
        const std::string escapedName = "Ball" + std::string(control.shown) + "gpj.exe";
        EXPECT_TRUE(contains(shown.out, pickLine(kItemLabel, escapedName, 0))) << shown.out;
        EXPECT_FALSE(contains(shown.out, control.bytes)) << control.shown;
        const std::string svg = e2e::fileText(plot);
        EXPECT_TRUE(contains(svg, "Cam.Focus" + std::string(control.shown) + "gpj.exe")) << control.shown;
        EXPECT_FALSE(contains(svg, control.bytes)) << control.shown;
    }
    // Other characters of those scripts are shown as they are.
    EXPECT_EQ(sim::printableText("\u05D0\u0627\u2067x"), "\u05D0\u0627\\xE2\\x81\\xA7x");
}

// Names given in edits reach every line that shows an item: the edit's own,
// the used items after it, the panel's entries and the saved block. None
// of them may begin a line of its own.
TEST(KeltoHost, NamesCannotForgeALine) {
    const std::string forged = "Host check  forged";
    HostRun shown =
        run("--edit \"add object Ghost\n" + forged + "@0\" --edit \"rename Ball=Ball\r\n" + forged + "@1\"");
    ASSERT_EQ(shown.exitCode, 0) << shown.out;
    EXPECT_TRUE(contains(shown.out, "Edit        add object Ghost\\x0A" + forged + " at frame 0:")) << shown.out;
    EXPECT_TRUE(contains(shown.out, "Edit        rename Ball to Ball\\x0D\\x0A" + forged +
                                        " at frame 1; uses Ball\\x0D\\x0A" + forged + ", Camera\n"))
        << shown.out;
    EXPECT_TRUE(contains(shown.out, popupLine(kItemLabel, "Ball\\x0D\\x0A" + forged))) << shown.out;
    EXPECT_TRUE(contains(shown.out, "  Ball\\x0D\\x0A" + forged + "  (")) << shown.out;
    for (const std::string& line : linesOf(shown.out)) EXPECT_NE(line.rfind("Host check", 0), 0u) << line;
    EXPECT_EQ(shown.out.find('\r'), std::string::npos);
}

// A run of many long names and edits shows each name cut to a bounded
// length, and keeps none of what it showed: its output is a few lines an
// edit, whatever the names.
TEST(KeltoHost, WhatARunShowsIsBoundedWhateverTheNames) {
    const size_t kLongName = 1 << 20, kPickedName = 100000;
    const int kEdits = 8;
    std::string scene = temp("long_names.scene");
    {
        std::ofstream text(scene);
        text << "frames 0 " << kEdits << "\n";
        for (char letter : {'A', 'B', 'C'}) text << "object " << std::string(kLongName, letter) << "\n";
        text << "object " << std::string(kPickedName, 'P') << "\ncamera " << std::string(kLongName, 'K') << "\n";
        text << "channel " << std::string(kLongName, 'H') << "\n";
        for (int n = 0; n < kEdits; ++n) text << "edit add object " << std::string(kLongName, 'X') << "@" << n << "\n";
    }
    HostRun shown = run("--scene " + scene + " " + pickOption(kItemLabel, std::string(kPickedName, 'P')));
    ASSERT_EQ(shown.exitCode, 0) << shown.out.substr(0, 2000);
    const std::string cut = std::string(sim::kShownBytes, 'A') + "... (" + std::to_string(kLongName) + " bytes)";
    EXPECT_TRUE(contains(shown.out, " | " + cut + " | ")) << shown.out.substr(0, 2000);
    EXPECT_TRUE(contains(shown.out, "Edit        add object " + std::string(sim::kShownBytes, 'X') + "... ("));
    EXPECT_TRUE(contains(shown.out, "Channel     " + std::string(sim::kShownBytes, 'H') + "... ("));
    EXPECT_TRUE(
        contains(shown.out,
                 pickLine(kItemLabel,
                          std::string(sim::kShownBytes, 'P') + "... (" + std::to_string(kPickedName) + " bytes)", 0)));
    // Eleven drawings of the panel and the rest, against 12 MiB of names.
    EXPECT_LT(shown.out.size(), size_t(128) << 10);
}

// Every row of the frame table is as wide as its columns, whatever the
// numbers: a value or a time too wide for its column is shown with an exponent.
TEST(KeltoHost, EachRowOfTheFrameTableIsBounded) {
    const size_t kWidestRow = 64;
    const int kFrames = 1000;
    std::string scene = temp("wide_numbers.scene");
    std::ofstream(scene) << "frames 0 " << kFrames - 1 << "\nfps 1e-300\nvalue -1e308\n";
    for (const char* exact : {"", " --exact"}) {
        HostRun shown = run("--scene " + scene + exact);
        ASSERT_EQ(shown.exitCode, 0) << shown.out.substr(0, 2000);
        std::vector<std::string> rows = tableRows(shown.out);
        ASSERT_EQ(rows.size(), size_t(kFrames)) << exact;
        for (const std::string& row : rows) EXPECT_LE(row.size(), kWidestRow) << row;
        // Frame 999 at 1e-300 fps is 999e300 s in.
        FrameRow last = e2e::frameRows(shown.out).back();
        EXPECT_EQ(last.value, -1e308) << rows.back();
        EXPECT_EQ(last.time, 999e300) << rows.back();
        EXPECT_LT(shown.out.size(), kFrames * kWidestRow + (size_t(4) << 10)) << exact;
    }
}

// The panel is drawn once the edits before a frame are all made, not after
// each: a drawing walks every popup's list, so one an edit would make a run
// of many edits cost the square of their number.
TEST(KeltoHost, ThePanelIsDrawnOnceAfterAFramesEdits) {
    HostRun edited =
        run("--edit \"add object Lamp@10\" --edit \"add object Tree@10\" --edit \"rename Ball=Orb@10\" "
            "--edit \"delete Tree@20\"");
    ASSERT_EQ(edited.exitCode, 0) << edited.out;
    std::vector<std::string> lines = linesOf(edited.out);
    const std::string title = panelTitleLine().substr(0, panelTitleLine().size() - 1);
    // When the panel opens, after the frame 10's edits and after frame 20's.
    EXPECT_EQ(std::count(lines.begin(), lines.end(), title), 3) << edited.out;
    auto rename = std::find(lines.begin(), lines.end(), "Edit        rename Ball to Orb at frame 10; uses Orb, Camera");
    ASSERT_NE(rename, lines.end()) << edited.out;
    EXPECT_EQ(*(rename + 1), title);
    EXPECT_EQ((rename + 2)->rfind(popupLine(kItemLabel, "Orb") + " | Ground | Orb | Lamp | Tree", 0), 0u)
        << *(rename + 2);
}

// The ground goes: the ball moves up a place in the list and is still
// followed, every frame as if nothing had gone.
TEST(KeltoHost, AnItemDeletedBeforeTheReferenceLeavesItFollowed) {
    HostRun unrelated = run("--edit \"delete Ground@48\"");
    ASSERT_EQ(unrelated.exitCode, 0) << unrelated.out;
    EXPECT_TRUE(contains(unrelated.out, "Edit        delete Ground at frame 48: 1 ID renumbered; uses Ball, Camera\n" +
                                            panelTitleLine() + popupLine(kItemLabel, "Ball") + " | Ball\n"));
    expectTheDemosFrame48(unrelated.out);
    // A frame on, the ball has moved 0.25 across.
    EXPECT_NEAR(rowOfFrame(unrelated.out, 49).value, std::sqrt(0.25 * 0.25 + 1.1 * 1.1 + 6 * 6), e2e::kShownPrecision);
    EXPECT_EQ(tableRows(unrelated.out), tableRows(run("").out));
    EXPECT_FALSE(contains(unrelated.out, "Host check"));
}

// examples/edits.scene's edits, then the command line's, writing the scene
// back to `saved`: the ball goes at frame 72, after which the focus keeps its
// own value and the reference saves as none.
HostRun runTheEditsScene(const std::string& saved) {
    return run("--scene " KELTO_EXAMPLES_DIR "/edits.scene --edit \"add object Lamp@72\" --write-scene " + saved);
}

TEST(KeltoHost, EditsAreMadeBetweenFramesInTheOrderGiven) {
    HostRun edited = runTheEditsScene(temp("edited.scene"));
    ASSERT_EQ(edited.exitCode, 0) << edited.out;
    std::vector<std::string> lines = linesOf(edited.out);
    auto lineOf = [&](const std::string& line) {
        return static_cast<size_t>(std::find(lines.begin(), lines.end(), line) - lines.begin());
    };
    EXPECT_LT(lineOf("Edit        delete Ground at frame 24: 2 IDs renumbered; uses Ball, Camera"), lines.size());
    EXPECT_LT(lineOf("Edit        rename Tree to Oak at frame 48; uses Ball, Camera"), lines.size());
    size_t deletion = lineOf("Edit        delete Ball at frame 72: 1 ID renumbered; uses Camera");
    EXPECT_LT(deletion, lineOf("Edit        add object Lamp at frame 72: 0 IDs renumbered; uses Camera"));
    // Each row is shown as its frame is evaluated, the frame's edits before it.
    EXPECT_LT(lineOfFrame(lines, 71), deletion);
    EXPECT_LT(deletion, lineOfFrame(lines, 72));
    EXPECT_FALSE(contains(edited.out, "Host check"));
}

TEST(KeltoHost, TheReferenceIsFollowedUntilItsItemIsDeleted) {
    HostRun edited = runTheEditsScene(temp("edited.scene"));
    ASSERT_EQ(edited.exitCode, 0) << edited.out;
    std::vector<FrameRow> rows = e2e::frameRows(edited.out);
    ASSERT_EQ(rows.size(), 97u) << edited.out;
    // The ball, renumbered when the ground went, crosses the view 6 in front
    // of the camera and 1.1 below it, 0.25 a frame: at 71 it is 5.75 across.
    EXPECT_EQ(rows[48].value, 6.1);
    EXPECT_NEAR(rows[71].value, std::sqrt(5.75 * 5.75 + 1.1 * 1.1 + 6 * 6), e2e::kShownPrecision);
    EXPECT_TRUE(rows[71].set);
    EXPECT_EQ(rows[72].frame, 72);
    EXPECT_EQ(rows[72].value, 10.0);
    EXPECT_FALSE(rows[72].set);
    EXPECT_TRUE(contains(edited.out,
                         savedUnitLine(sim::kelto_facts::kItemKeyword) + savedUnitLine(sim::kelto_facts::kNoneName)));
}

// Written back as the edits left it, with none to make again.
TEST(KeltoHost, TheSceneIsWrittenBackAsTheEditsLeftIt) {
    std::string saved = temp("edited.scene");
    ASSERT_EQ(runTheEditsScene(saved).exitCode, 0);
    const std::string text = e2e::fileText(saved);
    EXPECT_TRUE(contains(text, "object Oak\nkey 0 4 0 9\nobject Lamp\n")) << text;
    EXPECT_FALSE(contains(text, "edit ")) << text;
    HostRun again = run("--scene " + saved);
    ASSERT_EQ(again.exitCode, 0) << again.out;
    EXPECT_FALSE(contains(again.out, "Edit "));
}

}  // namespace
