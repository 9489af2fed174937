// What the simulated host shows: text made safe for a terminal and for XML,
// crash lines, and the plot at its limits.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <sstream>
#include <string>

#include "simhost/platform/crash_report.h"
#include "simhost/platform/crash_report_line.h"
#include "simhost/run/run_plot.h"
#include "simhost/run/run_report.h"
#include "simhost/text/printable_text.h"

namespace {

bool contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

bool hasControlBytesBesidesNewline(const std::string& text) {
    for (unsigned char c : text)
        if ((c < 0x20 && c != '\n') || c == 0x7F) return true;
    return false;
}

TEST(PrintableText, EscapesWhatWouldWorkATerminalOrBreakXmlAndKeepsUtf8) {
    EXPECT_EQ(sim::printableText("Ball"), "Ball");
    EXPECT_EQ(sim::printableText("Gr\xC3\xB6\xC3\x9F"
                                 "e \xE6\xBC\xA2 \xF0\x9F\x98\x80"),
              "Gr\xC3\xB6\xC3\x9F"
              "e \xE6\xBC\xA2 \xF0\x9F\x98\x80");
    EXPECT_EQ(sim::printableText("a\x1B[2Jb\tc\nd\x7F"), "a\\x1B[2Jb\\x09c\\x0Ad\\x7F");
    EXPECT_EQ(sim::printableText(std::string("a\0b", 3)), "a\\x00b");
    EXPECT_EQ(sim::printableText("\xC2\x9B"), "\\xC2\\x9B");                    // C1 control
    EXPECT_EQ(sim::printableText("\xC0\xAF"), "\\xC0\\xAF");                    // overlong "/"
    EXPECT_EQ(sim::printableText("\xED\xA0\x80"), "\\xED\\xA0\\x80");           // surrogate
    EXPECT_EQ(sim::printableText("\xEF\xBF\xBE"), "\\xEF\\xBF\\xBE");           // U+FFFE
    EXPECT_EQ(sim::printableText("\xF4\x90\x80\x80"), "\\xF4\\x90\\x80\\x80");  // past U+10FFFF
    EXPECT_EQ(sim::printableText("x\xE6\xBC"), "x\\xE6\\xBC");                  // cut short
    EXPECT_EQ(sim::printableText("\x80"
                                 "A"),
              "\\x80A");  // stray continuation
    EXPECT_EQ(sim::printableLines("one\ntwo\r\n"), "one\ntwo\\x0D\n");
    EXPECT_EQ(sim::xmlText("<a href=\"x\">Tom & Jerry's</a>\x01"),
              "&lt;a href=&quot;x&quot;&gt;Tom &amp; Jerry&apos;s&lt;/a&gt;\\x01");
}

TEST(PrintableText, ALongTextIsShownCutWhereNoCharacterSplitsWithItsLength) {
    EXPECT_EQ(sim::shownText("Ball"), "Ball");
    EXPECT_EQ(sim::shownText(std::string(sim::kShownBytes, 'n')), std::string(sim::kShownBytes, 'n'));
    EXPECT_EQ(sim::shownText(std::string(1000000, 'n')), std::string(sim::kShownBytes, 'n') + "... (1000000 bytes)");
    // A two-byte character across the cut is left out whole.
    EXPECT_EQ(sim::shownText("abc\xC3\xA9z", 4), "abc... (6 bytes)");
    EXPECT_EQ(sim::shownText("abc\xC3\xA9z", 5), "abc\xC3\xA9... (6 bytes)");
    // One line, whatever the text holds: a line break cannot begin a line of its own.
    EXPECT_EQ(sim::shownText("Ball\nHost check  forged"), "Ball\\x0AHost check  forged");
    EXPECT_EQ(sim::characterCut("\xE6\xBC\xA2\xE6\xBC\xA2", 5), 3u);
    EXPECT_EQ(sim::characterCut("ab", 5), 2u);
    // Bytes that are no UTF-8, more continuation bytes than any character has, are cut where asked.
    EXPECT_EQ(sim::characterCut(std::string(10, '\x80'), 5), 5u);
    EXPECT_EQ(sim::characterCut("a\xF0\x9D\x84\x9E", 4), 1u);
}

std::string lineText(const sim::CrashReportLine& line) { return std::string(line.text(), line.length()); }

// The line a crash ends with names the innermost call marked, nested marks
// giving way to the outer one as they end; a text too long for the line
// is cut, and the line still ends in its line break.
TEST(CrashReportLine, NamesTheCallInProgressAndStaysOneLine) {
    EXPECT_EQ(lineText(sim::CrashReportLine().add("crashed (SIGSEGV)").addWhere()),
              "kelto-host: crashed (SIGSEGV) outside any call into the module\n");
    {
        sim::ModuleCallMark load("load");
        {
            sim::ModuleCallMark evaluate("evaluate", -2147483647 - 1);
            EXPECT_EQ(lineText(sim::timeLimitLine(1)),
                      "kelto-host: the run passed its time limit of 1 second in a call into the module: evaluate at "
                      "frame -2147483648\n");
        }
        EXPECT_EQ(lineText(sim::CrashReportLine().add("crashed (exception ").addHex(0xC0000005).add(")").addWhere()),
                  "kelto-host: crashed (exception 0xC0000005) in a call into the module: load\n");
        EXPECT_EQ(lineText(sim::timeLimitLine(86400)),
                  "kelto-host: the run passed its time limit of 86400 seconds in a call into the module: load\n");
    }
    std::string longText(2000, 'x');
    std::string cut = lineText(sim::CrashReportLine().add(longText.c_str()).addWhere());
    EXPECT_LT(cut.size(), 1000u);
    EXPECT_EQ(cut.find('\n'), cut.size() - 1);
}

// A crash inside a function of the host's own that the module called (a
// load or save state's) is the host's: the line names that function first,
// and the module's call only as where it came from.
TEST(CrashReportLine, ACrashInTheHostsOwnFunctionIsNotTheModules) {
    sim::ModuleCallMark save("save");
    {
        sim::HostServiceMark writeFP("writeFP");
        EXPECT_EQ(lineText(sim::CrashReportLine().add("crashed (SIGSEGV)").addWhere()),
                  "kelto-host: crashed (SIGSEGV) in the simulated host's own writeFP, which the module called in: "
                  "save\n");
        EXPECT_EQ(lineText(sim::timeLimitLine(2)),
                  "kelto-host: the run passed its time limit of 2 seconds in the simulated host's own writeFP, which "
                  "the module called in: save\n");
    }
    EXPECT_EQ(lineText(sim::CrashReportLine().add("crashed (SIGSEGV)").addWhere()),
              "kelto-host: crashed (SIGSEGV) in a call into the module: save\n");
}

// Time spent in the host's own work is the host's: the line names the work,
// and a call into the module made within it is named as the module's, with
// the work's frame. A binding's own mark gives way to a caller's.
TEST(CrashReportLine, TheHostsOwnWorkIsNamedAsTheHosts) {
    sim::HostWorkMark edit("making an edit", 3);
    EXPECT_EQ(lineText(sim::timeLimitLine(5)),
              "kelto-host: the run passed its time limit of 5 seconds in the simulated host's own work: making an "
              "edit at frame 3\n");
    {
        sim::ModuleCallMark changeID("changeID");
        EXPECT_EQ(lineText(sim::timeLimitLine(5)),
                  "kelto-host: the run passed its time limit of 5 seconds in a call into the module: changeID at frame "
                  "3\n");
        sim::ModuleCallMark inner("useItems", sim::MarkNesting::OuterFirst);
        EXPECT_EQ(sim::whereNow(), " in a call into the module: changeID at frame 3");
    }
    {
        sim::ModuleCallMark evaluate("evaluate", 4, sim::MarkNesting::OuterFirst);
        EXPECT_EQ(sim::whereNow(), " in a call into the module: evaluate at frame 4");
    }
    EXPECT_EQ(sim::whereNow(), " in the simulated host's own work: making an edit at frame 3");
}

// A module that ends the process is named with how it ended, where that is known.
TEST(CrashReportLine, AnEarlyEndSaysHowTheModuleEndedTheProcess) {
    sim::ModuleCallMark evaluate("evaluate", 3);
    const int success = 0, failure = -2;
    EXPECT_EQ(lineText(sim::earlyEndLine(&success)),
              "kelto-host: the module ended the process (exit status 0) in a call into the module: evaluate at frame "
              "3\n");
    EXPECT_EQ(lineText(sim::earlyEndLine(&failure)),
              "kelto-host: the module ended the process (exit status -2) in a call into the module: evaluate at frame "
              "3\n");
    EXPECT_EQ(lineText(sim::earlyEndLine(nullptr, "quick_exit")),
              "kelto-host: the module ended the process (quick_exit) in a call into the module: evaluate at frame 3\n");
    EXPECT_EQ(lineText(sim::earlyEndLine(nullptr)),
              "kelto-host: the module ended the process in a call into the module: evaluate at frame 3\n");
}

sim::RunReport reportOf(std::initializer_list<double> values) {
    sim::RunReport report;
    int frame = 0;
    for (double value : values) report.frames.push_back({frame, frame / 24.0, value, true}), ++frame;
    return report;
}

TEST(Plot, StaysWellFormedWithValuesThatAreNotFiniteOrHugeAndOddNames) {
    const double nan = std::numeric_limits<double>::quiet_NaN(), inf = std::numeric_limits<double>::infinity();
    const double largest = std::numeric_limits<double>::max();
    sim::Scene scene;
    scene.lastFrame = 6;
    scene.channelName = "Focus <&> \"it's\" \x1B[31m\x01\xFF";
    sim::RunReport report = reportOf({1, nan, 2, inf, -inf, largest, -largest});
    std::string svg = sim::plotSvg(scene, report);
    EXPECT_FALSE(hasControlBytesBesidesNewline(svg));
    EXPECT_EQ(sim::printableLines(svg), svg) << "not valid UTF-8";
    EXPECT_FALSE(contains(svg, "nan")) << svg;
    EXPECT_FALSE(contains(svg, "inf")) << svg;
    EXPECT_TRUE(contains(svg, "Focus &lt;&amp;&gt; &quot;it&apos;s&quot; \\x1B[31m\\x01\\xFF</text>")) << svg;
    // A run with such a value fails and writes no plot: they are left out here all the same, unremarked.
    EXPECT_FALSE(contains(svg, "not finite")) << svg;
    // Every '&' starts an entity and tags are balanced.
    for (size_t at = svg.find('&'); at != std::string::npos; at = svg.find('&', at + 1))
        EXPECT_TRUE(svg.compare(at, 5, "&amp;") == 0 || svg.compare(at, 4, "&lt;") == 0 ||
                    svg.compare(at, 4, "&gt;") == 0 || svg.compare(at, 6, "&quot;") == 0 ||
                    svg.compare(at, 6, "&apos;") == 0)
            << svg.substr(at, 8);
    EXPECT_EQ(std::count(svg.begin(), svg.end(), '<'), std::count(svg.begin(), svg.end(), '>'));
    // Each coordinate of the lines lies on the canvas.
    for (size_t at = svg.find("points=\""); at != std::string::npos; at = svg.find("points=\"", at + 1)) {
        std::istringstream points(svg.substr(at + 8, svg.find('"', at + 8) - at - 8));
        double x, y;
        char comma;
        while (points >> x >> comma >> y) {
            EXPECT_TRUE(x >= 0 && x <= 760) << x;
            EXPECT_TRUE(y >= 0 && y <= 380) << y;
        }
    }
}

TEST(Plot, TicksAreRoundAndCoverTheValues) {
    EXPECT_EQ(sim::roundTicks(0, 13.46, 6), (std::vector<double>{0, 2.5, 5, 7.5, 10, 12.5, 15}));
    EXPECT_EQ(sim::roundTicks(0, 96, 8, true), (std::vector<double>{0, 20, 40, 60, 80, 100}));
    EXPECT_EQ(sim::roundTicks(-3, 4, 8, true), (std::vector<double>{-3, -2, -1, 0, 1, 2, 3, 4}));
    EXPECT_EQ(sim::roundTicks(5.9, 6.2, 6), (std::vector<double>{5.9, 5.95, 6, 6.05, 6.1, 6.15, 6.2}));
    // Frames never step by a fraction, values at the ends of the doubles stay few.
    for (double tick : sim::roundTicks(0, 3, 8, true)) EXPECT_EQ(tick, std::floor(tick));
    const double largest = std::numeric_limits<double>::max();
    std::vector<double> huge = sim::roundTicks(-largest, largest, 6);
    EXPECT_LE(huge.size(), 8u);
    EXPECT_LE(huge.front(), -largest);
    EXPECT_GE(huge.back(), largest);
}

}  // namespace
