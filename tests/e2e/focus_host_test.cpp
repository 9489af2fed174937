// kelto-host running Kelto Focus: the channel handler it finds or is told,
// the panel's static list and fields of numbers, and the values of both
// measures, the offsets and the lag against values worked by hand.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <string>

#include "simhost/modifiers/kelto_facts.h"
#include "simhost/modifiers/kelto_focus_facts.h"
#include "tests/e2e/e2e_support.h"
#include "tests/e2e/host_program.h"

namespace {

namespace facts = sim::kelto_focus_facts;
using e2e::contains;
using e2e::HostRun;
using e2e::run;
using e2e::temp;

const std::string kFocus = e2e::focusPath();
const std::string kFocusScene = std::string("--scene ") + KELTO_EXAMPLES_DIR + "/focus.scene";

std::string quoted(const std::string& text) { return "\"" + text + "\""; }
std::string setOption(const std::string& label, const std::string& numbers) {
    return "--set " + quoted(label + "=" + numbers);
}
std::string pickOption(const std::string& label, const std::string& entry) {
    return "--pick " + quoted(label + "=" + entry);
}
std::string alongView() { return pickOption(facts::kMeasureLabel, facts::kMeasureEntries[facts::kAlongView]); }

// A scene file of the test's own, with a Kelto Focus block naming Subject
// and Camera.
std::string sceneFile(const std::string& name, const std::string& items) {
    std::string path = temp(name);
    std::ofstream(path) << "frames 0 96\nfps 24\n"
                        << items << "channel Camera.FocalDistance\nvalue 10\nblock\n| " << facts::kBlockStart << "\n| "
                        << facts::kItemKeyword << "\n| Subject\n| " << facts::kCameraKeyword << "\n| Camera\n| "
                        << facts::kBlockEnd << "\nend block\n";
    return "--scene " + path;
}

// The example: the camera at (0, 1.6, 0) pans from heading -40 to 40 over
// frames 0 to 96; the statue stands at (2, 0.5, 6). The straight line is
// sqrt(2² + 1.1² + 6²) = sqrt(41.21) throughout; along the view it is
// 2·sin h + 6·cos h.
TEST(FocusHost, RunsBothMeasuresOfTheExampleFindingTheOneChannelHandler) {
    HostRun straight = run(kFocus + " " + kFocusScene);
    ASSERT_EQ(straight.exitCode, 0) << straight.out;
    EXPECT_TRUE(contains(straight.out, "Activation  ChannelHandler \"Kelto Focus\": 0 (success) at version 4\n"));
    EXPECT_TRUE(contains(straight.out, "Instance    \"KELTO FOCUS   Straight line\", flags 0\n"));
    for (long frame : {0, 48, 96}) EXPECT_TRUE(e2e::showsAt(straight.out, frame, std::sqrt(41.21)));
    EXPECT_FALSE(contains(straight.out, "Host check"));

    HostRun along = run(kFocus + " " + kFocusScene + " " + alongView());
    ASSERT_EQ(along.exitCode, 0) << along.out;
    const double kDegree = 3.14159265358979323846 / 180;
    for (int heading : {-40, -20, 0, 20})  // at frames 0, 24, 48 and 72
        EXPECT_TRUE(e2e::showsAt(along.out, (heading + 40) * 24 / 20,
                                 2 * std::sin(heading * kDegree) + 6 * std::cos(heading * kDegree)));
    EXPECT_TRUE(e2e::showsAt(along.out, 48, 6));  // h = 0: the statue's z
    EXPECT_TRUE(contains(along.out, "  MEASURE 1  (10 bytes)\n"));

    // Named, it runs the same.
    HostRun named = run(kFocus + " " + kFocusScene + " --server " + quoted(facts::kServerName));
    EXPECT_EQ(named.out, straight.out);
}

TEST(FocusHost, ThePanelShowsTheStaticListAndTheFieldsAndTakesNumbers) {
    HostRun shown = run(kFocus + " " + kFocusScene + " " + alongView() + " " +
                        setOption(facts::kSubjectOffsetLabel, "0 0.25 -1") + " " + setOption(facts::kLagLabel, "-2"));
    ASSERT_EQ(shown.exitCode, 0) << shown.out;
    EXPECT_TRUE(contains(shown.out,
                         "Panel \"Kelto Focus\"\n"
                         "  Reference Item (iPopChoice): [Statue]  entries: (none) | Ground | Statue\n"
                         "  Reference Camera (iPopChoice): [Camera]  entries: (none) | Camera\n"
                         "  Measure (iPopChoice): [Straight line]  entries: Straight line | Along view\n"
                         "  Subject Offset (distance3): 0 0 0\n"
                         "  Focus Offset (distance): 0\n"
                         "  Lag (time): 0\n"));
    EXPECT_TRUE(contains(shown.out, "Pick        Measure = Along view (refresh 0)\n"));
    EXPECT_TRUE(contains(shown.out, "Set         Subject Offset = 0 0.25 -1 (refresh 0)\n"));
    // A negative lag becomes 0, and the panel is redrawn to show it.
    EXPECT_TRUE(contains(shown.out, "Set         Lag = -2 (refresh 1)\n"));
    EXPECT_TRUE(contains(shown.out,
                         "  Measure (iPopChoice): [Along view]  entries: Straight line | Along view\n"
                         "  Subject Offset (distance3): 0 0.25 -1\n"
                         "  Focus Offset (distance): 0\n"
                         "  Lag (time): 0\n"));
    // At heading 0 the offset moves the point focused on 1 nearer.
    EXPECT_TRUE(e2e::showsAt(shown.out, 48, 5));
    EXPECT_TRUE(contains(shown.out, "  SUBJECT_OFFSET 0 0.25 -1  (25 bytes)\n"));
}

TEST(FocusHost, ThePanelRefusesWhatItsControlsCannotTakeInOneLine) {
    struct Case {
        std::string arguments, message;
    } refused[] = {
        {setOption(facts::kSubjectOffsetLabel, "0 1"),
         "kelto-host: cannot enter \"0 1\" in \"Subject Offset\": \"Subject Offset\" takes 3 numbers apart by blanks\n"},
        {setOption(facts::kFocusOffsetLabel, "1 2"),
         "kelto-host: cannot enter \"1 2\" in \"Focus Offset\": \"Focus Offset\" takes one number\n"},
        {setOption(facts::kLagLabel, "soon"),
         "kelto-host: cannot enter \"soon\" in \"Lag\": \"Lag\" takes one number\n"},
        {setOption(facts::kMeasureLabel, "1"),
         "kelto-host: cannot enter \"1\" in \"Measure\": \"Measure\" is no field of numbers (its data type is integer)\n"},
        {setOption("Aperture", "2.8"),
         "kelto-host: cannot enter \"2.8\" in \"Aperture\": the panel has no control \"Aperture\"\n"},
        {pickOption(facts::kMeasureLabel, "Sphere"),
         "kelto-host: cannot pick \"Sphere\" in \"Measure\": \"Measure\" has no entry \"Sphere\"\n"},
        {"--set Lag", "kelto-host: --set takes LABEL=NUMBERS with a label (see --help)\n"},
    };
    for (const Case& c : refused) {
        HostRun failed = run(kFocus + " " + kFocusScene + " " + c.arguments);
        EXPECT_EQ(failed.exitCode, 1) << c.arguments;
        EXPECT_TRUE(contains(failed.out, c.message)) << c.arguments << "\n" << failed.out;
    }
}

// The subject turned by heading 90 and scaled by 2: its right is (0, 0, -2),
// so an offset of 0.25 along it is the point (2, 0.5, 5.5).
TEST(FocusHost, TheSubjectOffsetFollowsTheSubjectsRotationAndScale) {
    const std::string scene = sceneFile("turned.scene",
                                        "object Subject\nkey 0 2 0.5 6\nrotation 0 90 0 0\nscale 0 2 2 2\n"
                                        "camera Camera\nkey 0 0 1.6 0\n");
    const std::string offset = setOption(facts::kSubjectOffsetLabel, "0.25 0 0");
    HostRun straight = run(kFocus + " " + scene + " " + offset);
    ASSERT_EQ(straight.exitCode, 0) << straight.out;
    EXPECT_TRUE(e2e::showsAt(straight.out, 48, std::sqrt(2 * 2 + 1.1 * 1.1 + 5.5 * 5.5)));

    HostRun along = run(kFocus + " " + scene + " " + offset + " " + alongView());
    ASSERT_EQ(along.exitCode, 0) << along.out;
    EXPECT_TRUE(e2e::showsAt(along.out, 48, 5.5));
    HostRun further =
        run(kFocus + " " + scene + " " + offset + " " + alongView() + " " + setOption(facts::kFocusOffsetLabel, "0.5"));
    ASSERT_EQ(further.exitCode, 0) << further.out;
    EXPECT_TRUE(e2e::showsAt(further.out, 48, 6));
}

// The subject runs straight away from the camera, z = 2 + frame / 12; the
// mean over a lag of a second, by the trapezoid rule, of what is linear in
// time is its value half a second before.
TEST(FocusHost, TheLagAveragesOverTheSecondBeforeAndTheFloorHoldsBehindTheCamera) {
    const std::string scene =
        sceneFile("receding.scene", "object Subject\nkey 0 0 0 2\nkey 96 0 0 10\ncamera Camera\nkey 0 0 0 0\n");
    HostRun lagged = run(kFocus + " " + scene + " " + setOption(facts::kLagLabel, "1"));
    ASSERT_EQ(lagged.exitCode, 0) << lagged.out;
    EXPECT_TRUE(e2e::showsAt(lagged.out, 48, 5));  // z at frame 36
    EXPECT_TRUE(e2e::showsAt(lagged.out, 96, 9));  // z at frame 84
    // Before frame 0 the subject holds its first key.
    EXPECT_TRUE(e2e::showsAt(lagged.out, 0, 2));

    // Turned away by heading 180, the camera sees the subject behind it:
    // along the view it focuses at the nearest it may.
    const std::string behind =
        sceneFile("behind.scene", "object Subject\nkey 0 0 0 5\ncamera Camera\nkey 0 0 0 0\nrotation 0 180 0 0\n");
    HostRun near = run(kFocus + " " + behind + " " + alongView());
    ASSERT_EQ(near.exitCode, 0) << near.out;
    EXPECT_TRUE(e2e::showsAt(near.out, 48, 0.001));
    EXPECT_FALSE(contains(near.out, "Host check"));
}

TEST(FocusHost, ChoosesTheChannelHandlerByNameAndRefusesToGuessAmongSeveral) {
    // Kelto runs as it always has, named or found.
    HostRun found = run(std::string(KELTO_MODULE_PATH));
    ASSERT_EQ(found.exitCode, 0) << found.out;
    EXPECT_EQ(run(std::string(KELTO_MODULE_PATH) + " --server Kelto").out, found.out);

    HostRun missing = run(kFocus + " --server Kelto");
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_TRUE(contains(missing.out, "kelto-host: no server ChannelHandler \"Kelto\" in " + kFocus + "\n"))
        << missing.out;

    const std::string twoHandlers = std::string(KELTO_FAULT_MODULES_DIR) + "/fault_two_handlers.p";
    HostRun several = run(twoHandlers + " --info");
    EXPECT_EQ(several.exitCode, 1);
    EXPECT_TRUE(
        contains(several.out, "kelto-host: " + twoHandlers +
                                  " offers 2 ChannelHandler servers, \"Fault\" and \"Second Fault\": choose one "
                                  "with --server NAME\n"))
        << several.out;
    EXPECT_TRUE(contains(run("--server \"\"").out, "kelto-host: --server needs a server name (see --help)\n"));
}

// The README's plot of both measures is the one the example draws.
// A scene made with Kelto moves to Kelto Focus with its references: the same
// values to the bit, and the scene saved back with Kelto Focus's own block.
TEST(FocusHost, AKeltoSceneMovesToKeltoFocusWithItsReferences) {
    const std::string demo = std::string("--scene ") + KELTO_EXAMPLES_DIR + "/demo.scene --exact";
    HostRun kelto = run(std::string(KELTO_MODULE_PATH) + " " + demo);
    ASSERT_EQ(kelto.exitCode, 0) << kelto.out;
    const std::string saved = temp("moved.scene");
    HostRun moved = run(kFocus + " " + demo + " --write-scene " + saved);
    ASSERT_EQ(moved.exitCode, 0) << moved.out;
    EXPECT_EQ(e2e::tableRows(moved.out), e2e::tableRows(kelto.out));
    EXPECT_EQ(e2e::tableRows(moved.out).size(), 97u);
    EXPECT_TRUE(contains(e2e::fileText(saved), std::string("block\n| ") + facts::kBlockStart + "\n| VERSION 1\n| " +
                                                   facts::kItemKeyword + "\n| Ball\n| " + facts::kCameraKeyword +
                                                   "\n| Camera\n| MEASURE 0\n"));
}

// Every setting saved in binary mode, as into an object file, loads back:
// the same panel, the same values, and the same block saved as text again.
TEST(FocusHost, ABinarySaveLoadsBackWhole) {
    const std::string settings = alongView() + " " + setOption(facts::kSubjectOffsetLabel, "0 0.25 -1") + " " +
                                 setOption(facts::kFocusOffsetLabel, "0.1") + " " + setOption(facts::kLagLabel, "0.5");
    const std::string binary = temp("focus-binary.scene"), fromBinary = temp("focus-from-binary.scene"),
                      ascii = temp("focus-ascii.scene");
    HostRun saved = run(kFocus + " " + kFocusScene + " " + settings + " --binary-save --write-scene " + binary);
    ASSERT_EQ(saved.exitCode, 0) << saved.out;
    HostRun direct = run(kFocus + " " + kFocusScene + " " + settings + " --write-scene " + ascii);
    ASSERT_EQ(direct.exitCode, 0) << direct.out;

    HostRun loaded = run(kFocus + " --scene " + binary + " --write-scene " + fromBinary);
    ASSERT_EQ(loaded.exitCode, 0) << loaded.out;
    EXPECT_TRUE(contains(loaded.out, "Instance    \"KELTO FOCUS   Along view\", flags 0\n")) << loaded.out;
    EXPECT_TRUE(contains(loaded.out,
                         "  Reference Item (iPopChoice): [Statue]  entries: (none) | Ground | Statue\n"
                         "  Reference Camera (iPopChoice): [Camera]  entries: (none) | Camera\n"
                         "  Measure (iPopChoice): [Along view]  entries: Straight line | Along view\n"
                         "  Subject Offset (distance3): 0 0.25 -1\n"
                         "  Focus Offset (distance): 0.1\n"
                         "  Lag (time): 0.5\n"))
        << loaded.out;
    EXPECT_EQ(e2e::tableRows(loaded.out), e2e::tableRows(saved.out));
    EXPECT_EQ(e2e::fileText(fromBinary), e2e::fileText(ascii));
}

// The description is asked once the block is loaded, so it names the
// measure the scene holds.
TEST(FocusHost, TheInstanceLineDescribesTheLoadedSettings) {
    const std::string scene = temp("along.scene");
    std::ofstream(scene) << "frames 0 1\nobject Subject\ncamera Camera\nblock\n| " << facts::kBlockStart
                         << "\n| MEASURE 1\n| " << facts::kBlockEnd << "\nend block\n";
    HostRun loaded = run(kFocus + " --scene " + scene);
    ASSERT_EQ(loaded.exitCode, 0) << loaded.out;
    EXPECT_TRUE(
        contains(loaded.out, "Load        3 lines, 3 reads\nInstance    \"KELTO FOCUS   Along view\", flags 0\n"))
        << loaded.out;
}

// A field named where a popup's entry is picked is refused before any run,
// saying how it is given.
TEST(FocusHost, AComparedFieldIsRefusedBeforeAnyRun) {
    const std::string along = std::string(facts::kMeasureLabel) + "=" + facts::kMeasureEntries[facts::kAlongView];
    HostRun refused = run(kFocus + " " + kFocusScene + " --compare " + quoted(along) + " --compare " +
                          quoted(std::string(facts::kLagLabel) + "=1"));
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_TRUE(contains(refused.out,
                         "kelto-host: cannot pick \"1\" in \"Lag\": \"Lag\" is a field of numbers, "
                         "given with --set\n"))
        << refused.out;
    EXPECT_TRUE(e2e::tableRows(refused.out).empty()) << "no frame is evaluated";
    EXPECT_FALSE(contains(refused.out, "Pick        ")) << "no pick is made";

    HostRun picked = run(kFocus + " " + kFocusScene + " " + pickOption(facts::kLagLabel, "1"));
    EXPECT_TRUE(contains(picked.out, "\"Lag\" is a field of numbers, given with --set\n")) << picked.out;
}

TEST(FocusHost, ComparesBothMeasuresInOnePlot) {
    const std::string plot = temp("measures.svg");
    const std::string compare =
        "--compare " + quoted(std::string(facts::kMeasureLabel) + "=" + facts::kMeasureEntries[facts::kStraightLine]) +
        " --compare " + quoted(std::string(facts::kMeasureLabel) + "=" + facts::kMeasureEntries[facts::kAlongView]);
    HostRun compared = run(kFocus + " " + kFocusScene + " " + compare + " --plot " + plot);
    ASSERT_EQ(compared.exitCode, 0) << compared.out;
    EXPECT_TRUE(contains(compared.out, "Run         Measure = Straight line\n"));
    EXPECT_TRUE(contains(compared.out, "Run         Measure = Along view\n"));
    const std::string svg = e2e::fileText(plot);
    // Each line is named by the setting that made it.
    EXPECT_TRUE(contains(svg, ">Measure=Straight line</text>"));
    EXPECT_TRUE(contains(svg, ">Measure=Along view</text>"));
    EXPECT_TRUE(contains(svg, "stroke=\"#1f6fb2\" stroke-width=\"2\" points="));
    EXPECT_TRUE(contains(svg, "stroke=\"#d95f02\" stroke-width=\"2\" points="));
    EXPECT_EQ(svg, e2e::fileText(KELTO_DOCS_DIR "/focus-measures.svg"))
        << "docs/focus-measures.svg is out of date: tools/plot-focus.sh";

    EXPECT_TRUE(contains(run(kFocus + " " + compare + " --write-scene " + temp("x.scene")).out,
                         "kelto-host: --write-scene cannot go with --compare (see --help)\n"));
    std::string five;
    for (int n = 0; n < 5; ++n) five += " --compare Measure=x";
    EXPECT_TRUE(contains(run(kFocus + five).out, "kelto-host: --compare may be given at most 4 times (see --help)\n"));
}

}  // namespace
