// Kelto Focus's block: what save writes, the round trip to the same bytes,
// lines of later versions skipped, and bad settings refused line by line.
#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "focus/focus_block.h"
#include "focus/focus_instance.h"
#include "simhost/services/block_states.h"

namespace {

using kelto::FocusInstance;
typedef std::vector<std::string> Lines;

FocusInstance zeroInstance() {
    FocusInstance instance;
    std::memset(&instance, 0, sizeof instance);
    return instance;
}

std::vector<sim::BlockWriter::Unit> save(FocusInstance& instance) {
    sim::BlockWriter writer;
    kelto::saveFocusBlock(instance, writer.state());
    return writer.units();
}

void load(FocusInstance& instance, const Lines& lines) {
    sim::BlockReader reader(lines);
    kelto::loadFocusBlock(instance, reader.state());
}

// The same settings to the bit (the record's padding aside).
bool sameSettings(const kelto::FocusSettings& a, const kelto::FocusSettings& b) {
    return a.measure == b.measure && std::memcmp(a.subjectOffset, b.subjectOffset, sizeof a.subjectOffset) == 0 &&
           std::memcmp(&a.focusOffset, &b.focusOffset, sizeof a.focusOffset) == 0 &&
           std::memcmp(&a.lag, &b.lag, sizeof a.lag) == 0;
}

bool sameBytes(const std::vector<sim::BlockWriter::Unit>& a, const std::vector<sim::BlockWriter::Unit>& b) {
    if (a.size() != b.size()) return false;
    for (size_t index = 0; index < a.size(); ++index)
        if (a[index].bytes != b[index].bytes || a[index].length != b[index].length) return false;
    return true;
}

// A block of the given lines between the start and end lines.
Lines block(const Lines& body) {
    Lines lines = {"KELTO_FOCUS_START"};
    lines.insert(lines.end(), body.begin(), body.end());
    lines.push_back("KELTO_FOCUS_END");
    return lines;
}

TEST(FocusBlock, EverySettingIsWrittenInFullAndReadsBackToTheSameBytes) {
    FocusInstance instance = zeroInstance();
    EXPECT_EQ(sim::linesOf(save(instance)),
              (Lines{"KELTO_FOCUS_START", "VERSION 1", "REFERENCE_ITEM", "none", "REFERENCE_CAMERA", "none",
                     "MEASURE 0", "SUBJECT_OFFSET 0 0 0", "FOCUS_OFFSET 0", "LAG 0", "KELTO_FOCUS_END"}));

    std::strcpy(instance.itemName, "Ball on a string");
    std::strcpy(instance.cameraName, "Close-up");
    instance.settings = {kelto::kMeasureAlongView, {0.1, -2.5e-7, 1e300}, 1.0 / 3, 0.25};
    std::vector<sim::BlockWriter::Unit> first = save(instance);
    EXPECT_EQ(
        sim::linesOf(first),
        (Lines{"KELTO_FOCUS_START", "VERSION 1", "REFERENCE_ITEM", "Ball on a string", "REFERENCE_CAMERA", "Close-up",
               "MEASURE 1", "SUBJECT_OFFSET 0.10000000000000001 -2.4999999999999999e-07 1.0000000000000001e+300",
               "FOCUS_OFFSET 0.33333333333333331", "LAG 0.25", "KELTO_FOCUS_END"}));

    FocusInstance loaded = zeroInstance();
    load(loaded, sim::linesOf(first));
    EXPECT_TRUE(sameSettings(loaded.settings, instance.settings));
    EXPECT_STREQ(loaded.itemName, "Ball on a string");
    EXPECT_STREQ(loaded.cameraName, "Close-up");
    EXPECT_TRUE(sameBytes(save(loaded), first));
}

// Spacing, other spellings of the same numbers and -0: the first save writes
// them as this build does, and from then on every load and save agrees.
TEST(FocusBlock, AHandWrittenBlockSettlesAfterOneLoadAndSave) {
    FocusInstance instance = zeroInstance();
    load(instance, block({"LAG 2.5e-1", "REFERENCE_CAMERA", "Camera", "MEASURE  1 ", "SUBJECT_OFFSET   1   2.50 -0",
                          "FOCUS_OFFSET -0", "REFERENCE_ITEM", "Ball"}));
    std::vector<sim::BlockWriter::Unit> first = save(instance);
    EXPECT_EQ(sim::linesOf(first),
              (Lines{"KELTO_FOCUS_START", "VERSION 1", "REFERENCE_ITEM", "Ball", "REFERENCE_CAMERA", "Camera",
                     "MEASURE 1", "SUBJECT_OFFSET 1 2.5 -0", "FOCUS_OFFSET -0", "LAG 0.25", "KELTO_FOCUS_END"}));
    FocusInstance again = zeroInstance();
    load(again, sim::linesOf(first));
    EXPECT_TRUE(sameBytes(save(again), first));
}

TEST(FocusBlock, LinesOfALaterVersionAreSkippedUpToTheEndLine) {
    FocusInstance instance = zeroInstance();
    Lines lines = {
        "KELTO_FOCUS_START", "VERSION 2",       "REFERENCE_ITEM",   "Ball",      "FOCUS_STYLE soft", "",
        "REFERENCE_CAMERA",  "Camera",          "APERTURE 2.8 1.4", "MEASURE 1", "MEASURES 0",       "LAG_CURVE 3",
        "LAG 0.5",           "KELTO_FOCUS_END", "MEASURE 0",        "LAG 9"};
    sim::BlockReader reader(lines);
    kelto::loadFocusBlock(instance, reader.state());
    EXPECT_STREQ(instance.itemName, "Ball");
    EXPECT_STREQ(instance.cameraName, "Camera");
    EXPECT_EQ(instance.settings.measure, kelto::kMeasureAlongView);
    EXPECT_EQ(instance.settings.lag, 0.5);
    EXPECT_EQ(reader.readCount(), 14u) << "nothing is read past the end line";
}

// Settings' lines that do not read, each with the setting it names.
const struct BadSetting {
    const char* line;
    size_t refused;  // index in `good` of the setting it names
} kBadSettings[] = {
    {"MEASURE 2", 0},
    {"MEASURE -1", 0},
    {"MEASURE 1.0", 0},
    {"MEASURE", 0},
    {"MEASURE one", 0},
    {"MEASURE 99999999999", 0},
    {"SUBJECT_OFFSET 1 2", 1},
    {"SUBJECT_OFFSET 1 2 3 4", 1},
    {"SUBJECT_OFFSET 1 2 inf", 1},
    {"SUBJECT_OFFSET nan 0 0", 1},
    {"SUBJECT_OFFSET 1,5 0 0", 1},
    {"SUBJECT_OFFSET 1e999 0 0", 1},
    {"SUBJECT_OFFSET 1-2 3", 1},
    {"FOCUS_OFFSET inf", 2},
    {"FOCUS_OFFSET -nan", 2},
    {"FOCUS_OFFSET", 2},
    {"FOCUS_OFFSET 1 2", 2},
    {"FOCUS_OFFSET 0x10", 2},
    {"LAG -0.5", 3},
    {"LAG -inf", 3},
    {"LAG nan", 3},
    {"LAG 0.5s", 3},
};

const Lines kGoodSettings = {"MEASURE 1", "SUBJECT_OFFSET 1 2 3", "FOCUS_OFFSET 4", "LAG 5"};

// Each bad line is refused alone: its setting keeps the default, and the good
// lines around it still count.
TEST(FocusBlock, BadSettingsAreRefusedLineByLine) {
    for (const auto& bad : kBadSettings) {
        Lines body = kGoodSettings;
        body[bad.refused] = bad.line;
        FocusInstance instance = zeroInstance();
        load(instance, block(body));
        const kelto::FocusSettings& s = instance.settings;
        EXPECT_EQ(s.measure, bad.refused == 0 ? 0 : 1) << bad.line;
        EXPECT_EQ(s.subjectOffset[2], bad.refused == 1 ? 0 : 3) << bad.line;
        EXPECT_EQ(s.focusOffset, bad.refused == 2 ? 0 : 4) << bad.line;
        EXPECT_EQ(s.lag, bad.refused == 3 ? 0 : 5) << bad.line;
    }
}

// A line longer than the read buffer arrives cut, and its number cut short
// would read as another value: 0.1 for 100 here, and a finite lag for an
// overflowing one.
TEST(FocusBlock, ALineLongerThanTheBufferIsRefused) {
    const std::string hundred = "FOCUS_OFFSET 0.1" + std::string(300, '0') + "e3";
    const std::string overflow = "LAG " + std::string(400, '1');
    for (const std::string& longLine : {hundred, overflow}) {
        FocusInstance instance = zeroInstance();
        load(instance, block({longLine}));
        EXPECT_EQ(instance.settings.focusOffset, 0) << longLine.substr(0, 20);
        EXPECT_EQ(instance.settings.lag, 0) << longLine.substr(0, 20);
    }
}

// A bad line, a value refused or no number at all, keeps what an earlier
// line gave its setting.
TEST(FocusBlock, ABadLineKeepsWhatAnEarlierLineGave) {
    FocusInstance instance = zeroInstance();
    load(instance, block({"LAG 0.5", "LAG -1", "LAG half", "MEASURE 1", "MEASURE 7", "MEASURE one"}));
    EXPECT_EQ(instance.settings.lag, 0.5);
    EXPECT_EQ(instance.settings.measure, kelto::kMeasureAlongView);
}

// A block edited by hand, or moved through Windows: spaces, tabs and carriage
// returns around a keyword's line and between its numbers read alike. A name
// keeps its blanks but not the carriage return at its end.
TEST(FocusBlock, BlanksAroundKeywordsAndNumbersReadAlike) {
    for (const char* blank : {" ", "\t", "\r", " \t\r"}) {
        const std::string b = blank;
        FocusInstance instance = zeroInstance();
        load(instance, {"KELTO_FOCUS_START" + b, b + "VERSION 1" + b, "REFERENCE_ITEM" + b, " Ball on a string \r",
                        b + "REFERENCE_CAMERA", "Camera\r", "MEASURE" + b + "1", b + "LAG 0.5" + b,
                        "SUBJECT_OFFSET" + b + "1" + b + "2" + b + "3" + b, "FOCUS_OFFSET" + b + b + "4",
                        b + "KELTO_FOCUS_END" + b, "LAG 9"});
        EXPECT_STREQ(instance.itemName, " Ball on a string ");
        EXPECT_STREQ(instance.cameraName, "Camera");
        EXPECT_TRUE(sameSettings(instance.settings, {kelto::kMeasureAlongView, {1, 2, 3}, 4, 0.5}))
            << "blank " << static_cast<int>(blank[0]);
    }

    // A name line of a carriage return alone names nothing.
    FocusInstance bare = zeroInstance();
    load(bare, {"KELTO_FOCUS_START", "VERSION 1", "REFERENCE_CAMERA", "\r", "KELTO_FOCUS_END"});
    EXPECT_STREQ(bare.cameraName, "");

    // A blank within a keyword still makes another keyword.
    FocusInstance instance = zeroInstance();
    load(instance, block({"LA G 0.5", "MEASURE\t\t1x"}));
    EXPECT_TRUE(sameSettings(instance.settings, {}));
}

// A name longer than the host's read takes is cut on a character's end: 253
// bytes and a euro sign (three bytes) lose the sign whole.
TEST(FocusBlock, ANameCutOnLoadIsCutOnACharacterBoundary) {
    const std::string euro = "\xE2\x82\xAC", cut(253, 'a');
    FocusInstance instance = zeroInstance();
    load(instance, block({"REFERENCE_ITEM", cut + euro, "REFERENCE_CAMERA", "Kamera " + euro}));
    EXPECT_EQ(std::string(instance.itemName), cut);
    EXPECT_EQ(std::string(instance.cameraName), "Kamera " + euro);
    Lines saved = sim::linesOf(save(instance));
    ASSERT_GT(saved.size(), 5u);
    EXPECT_EQ(saved[3], cut);
    EXPECT_EQ(saved[5], "Kamera " + euro);
}

// A scene moved from Kelto to Kelto Focus keeps its references; the settings
// Kelto does not have take their defaults, and the next save is Kelto Focus's.
TEST(FocusBlock, KeltosBlockGivesItsReferencesAndEverySettingItsDefault) {
    FocusInstance instance = zeroInstance();
    instance.settings = {kelto::kMeasureAlongView, {1, 2, 3}, 4, 5};
    instance.resolved = 1;
    sim::BlockReader reader(
        {"KELTO_START", "REFERENCE_ITEM", "Ball", "LAG 0.5", "REFERENCE_CAMERA", "Camera", "KELTO_END", "MEASURE 1"});
    kelto::loadFocusBlock(instance, reader.state());
    EXPECT_STREQ(instance.itemName, "Ball");
    EXPECT_STREQ(instance.cameraName, "Camera");
    EXPECT_TRUE(sameSettings(instance.settings, {})) << "settings in Kelto's block are not Kelto's";
    EXPECT_EQ(instance.resolved, 0);
    EXPECT_EQ(reader.readCount(), 7u) << "nothing is read past Kelto's end line";
    EXPECT_EQ(sim::linesOf(save(instance)),
              (Lines{"KELTO_FOCUS_START", "VERSION 1", "REFERENCE_ITEM", "Ball", "REFERENCE_CAMERA", "Camera",
                     "MEASURE 0", "SUBJECT_OFFSET 0 0 0", "FOCUS_OFFSET 0", "LAG 0", "KELTO_FOCUS_END"}));

    // Kelto Focus's end line does not end Kelto's block.
    FocusInstance other = zeroInstance();
    load(other, {"KELTO_START", "KELTO_FOCUS_END", "REFERENCE_ITEM", "Ball", "KELTO_END"});
    EXPECT_STREQ(other.itemName, "Ball");
}

TEST(FocusBlock, DataThatIsNotThisBlockLeavesTheInstanceAlone) {
    FocusInstance instance = zeroInstance();
    std::strcpy(instance.itemName, "Ball");
    instance.settings = {kelto::kMeasureAlongView, {1, 2, 3}, 4, 5};
    FocusInstance before;
    std::memcpy(&before, &instance, sizeof before);
    for (const Lines& lines : {Lines{}, Lines{"KELTO_STARTED", "REFERENCE_ITEM", "Other", "KELTO_END"},
                               Lines{"KELTO_FOCUS_STARTED", "MEASURE 0", "KELTO_FOCUS_END"},
                               Lines{"KELTO_FOCUS", "MEASURE 0", "KELTO_FOCUS_END"},
                               Lines{"", "KELTO_FOCUS_START", "MEASURE 0", "KELTO_FOCUS_END"}}) {
        load(instance, lines);
        EXPECT_EQ(std::memcmp(&instance, &before, sizeof instance), 0) << lines.size() << " lines";
    }
}

// Data that ends inside the block keeps what was read; a reference keyword
// whose name never came leaves the name as it was.
TEST(FocusBlock, DataEndingInsideTheBlockKeepsWhatWasRead) {
    FocusInstance instance = zeroInstance();
    std::strcpy(instance.itemName, "Ball");
    instance.resolved = 1;
    load(instance, {"KELTO_FOCUS_START", "REFERENCE_CAMERA", "Camera", "MEASURE 1", "REFERENCE_ITEM"});
    EXPECT_STREQ(instance.itemName, "Ball");
    EXPECT_STREQ(instance.cameraName, "Camera");
    EXPECT_EQ(instance.settings.measure, kelto::kMeasureAlongView);
    EXPECT_EQ(instance.resolved, 0) << "a load is resolved afresh";
}

}  // namespace
