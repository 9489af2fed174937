// Kelto Focus's block: settings saved in full and read back to the bit,
// lines of later versions skipped, bad settings refused line by line, blanks
// read alike, and Kelto's block read as a scene moved from Kelto.
#include <cmath>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "simhost/modifiers/kelto_facts.h"
#include "simhost/modifiers/kelto_focus_facts.h"
#include "simhost/validate/checks/check_tables.h"
#include "simhost/validate/focus_samples.h"
#include "simhost/validate/saved_blocks.h"

namespace sim {

namespace {

namespace focus = kelto_focus_facts;

const int kRoundTrips = 60;
const double kOffsetReach = 10, kLongestLag = 3;
const char* const kItemNames[] = {"Ball", "Ground", "Tall Tree", "Missing"};
const char* const kCameraNames[] = {"Camera", "Close-up", "Tall Tree", "Lost Camera"};
// Where the version line stands.
const size_t kVersionLine = 1;

template <size_t Count>
const char* anyOf(const char* const (&names)[Count], std::mt19937& random) {
    return names[std::uniform_int_distribution<size_t>(0, Count - 1)(random)];
}

// How small a tiny number is, beside the reach of the others.
const double kTiny = 1e-9;
// Of these many numbers, one is zero, one whole and one tiny.
const int kNumberKinds = 6;

// A value of any size and all its digits; now and then a whole one or zero.
double randomNumber(std::mt19937& random, double reach) {
    double value = std::uniform_real_distribution<double>(-reach, reach)(random);
    switch (std::uniform_int_distribution<int>(0, kNumberKinds - 1)(random)) {
        case 0: return 0;
        case 1: return std::trunc(value);
        case 2: return value * kTiny;
        default: return value;
    }
}

focus::Settings randomSettings(std::mt19937& random) {
    focus::Settings settings;
    settings.measure = std::uniform_int_distribution<int32_t>(0, focus::kMeasureCount - 1)(random);
    for (double& offset : settings.subjectOffset) offset = randomNumber(random, kOffsetReach);
    settings.focusOffset = randomNumber(random, kOffsetReach);
    settings.lag = std::fabs(randomNumber(random, kLongestLag));
    return settings;
}

std::string joined(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) text += (text.empty() ? "" : " | ") + line;
    return "(" + text + ")";
}

// `block` loaded with no error saves as `expected`, each line within the
// module's buffer.
void expectSavedAs(CheckRig& rig, const std::vector<std::string>& block, const std::vector<std::string>& expected) {
    std::string error;
    host::InstanceHandle instance = rig.loaded(block, &error);
    rig.expect().that(error.empty(), [&] { return "load returned the error \"" + error + "\" for " + joined(block); });
    if (instance == nullptr) return;
    std::vector<BlockWriter::Unit> units = rig.saved(instance);
    std::string problem = linesProblem(units);
    rig.expect().that(problem.empty(), problem);
    rig.expect().that(linesOf(units) == expected, [&] {
        return joined(block) + " is saved as " + joined(linesOf(units)) + ", not " + joined(expected);
    });
    rig.discard(instance);
}

// The block with `lines` put in after the version line, one each before a
// random later line, the end line's included.
std::vector<std::string> withLinesAmong(std::vector<std::string> block, const std::vector<std::string>& lines,
                                        std::mt19937& random) {
    for (const std::string& line : lines) {
        size_t at = std::uniform_int_distribution<size_t>(kVersionLine + 1, block.size() - 1)(random);
        // A name line follows its keyword line alone.
        if (block[at - 1] == focus::kItemKeyword || block[at - 1] == focus::kCameraKeyword) --at;
        block.insert(block.begin() + std::ptrdiff_t(at), line);
    }
    return block;
}

// Lines of settings a later version might add, keywords that begin as this
// version's do, and the version of a later one.
const char* const kLaterLines[] = {
    "APERTURE 2.8", "FOCUS_CURVE 0.1 0.2 0.3",     "", "VERSION 9", "LAG_CURVE 7", "MEASURE_SET 0", "SUBJECT 1 2 3",
    "LAGS 4",       "NOTE a later version's words"};

struct BadLine {
    const char* line;
    int setting;  // which setting's line it stands for: 0 measure, 1 subject offset, 2 focus offset, 3 lag
};

// The first setting's line in the block, and how many there are.
const size_t kFirstSettingLine = focus::kCameraNameLine + 1;
const int kSettingLines = 4;

const BadLine kBadLines[] = {
    {"MEASURE 2", 0},
    {"MEASURE -1", 0},
    {"MEASURE 1.5", 0},
    {"MEASURE", 0},
    {"MEASURE 1 1", 0},
    {"MEASURE +1", 0},
    {"MEASURE nan", 0},
    {"MEASURE 4294967297", 0},
    {"MEASURE 1x", 0},
    {"SUBJECT_OFFSET nan 0 0", 1},
    {"SUBJECT_OFFSET 0 inf 0", 1},
    {"SUBJECT_OFFSET 0 0 -inf", 1},
    {"SUBJECT_OFFSET 1 2", 1},
    {"SUBJECT_OFFSET 1 2 3 4", 1},
    {"SUBJECT_OFFSET 1 2 x", 1},
    {"SUBJECT_OFFSET 1e999 0 0", 1},
    {"SUBJECT_OFFSET +1 2 3", 1},
    {"FOCUS_OFFSET nan", 2},
    {"FOCUS_OFFSET -inf", 2},
    {"FOCUS_OFFSET", 2},
    {"FOCUS_OFFSET 1 2", 2},
    {"FOCUS_OFFSET 1,5", 2},
    {"FOCUS_OFFSET 1e999", 2},
    {"FOCUS_OFFSET -nan", 2},
    {"LAG -0.5", 3},
    {"LAG -1e-300", 3},
    {"LAG -inf", 3},
    {"LAG nan", 3},
    {"LAG inf", 3},
    {"LAG", 3},
    {"LAG 0.5s", 3},
    {"LAG 1 2", 3},
};

// A line of this many bytes or more may have been cut by the host's read, so
// it keeps its default; one a byte shorter is read.
const size_t kCutLineBytes = 255;
const size_t kLongerLineBytes = 300;

// `line` made `bytes` long by zeros before its first number, which reads as
// the same value.
std::string paddedTo(const std::string& line, size_t bytes) {
    std::string padded = line;
    size_t number = padded.find(' ') + 1;
    if (padded.size() < bytes) padded.insert(number, bytes - padded.size(), '0');
    return padded;
}

// The settings with one of them at its default.
focus::Settings withDefault(focus::Settings settings, int setting) {
    const focus::Settings defaults;
    switch (setting) {
        case 0: settings.measure = defaults.measure; break;
        case 1:
            for (int axis = 0; axis < focus::kAxisCount; ++axis)
                settings.subjectOffset[axis] = defaults.subjectOffset[axis];
            break;
        case 2: settings.focusOffset = defaults.focusOffset; break;
        default: settings.lag = defaults.lag; break;
    }
    return settings;
}

// Blanks a hand edit or a file moved between systems leaves.
const char* const kBlanks[] = {" ", "\t", "\r", " \t", "\t\r", "  "};
const int kBlankRounds = 40;

std::string randomBlanks(std::mt19937& random, bool some) {
    size_t pick = std::uniform_int_distribution<size_t>(some ? 1 : 0, std::size(kBlanks))(random);
    return pick == 0 ? "" : kBlanks[pick - 1];
}

// The block with random blanks around every line but the names, and for the
// single spaces between a line's words.
std::vector<std::string> withBlanks(std::vector<std::string> block, std::mt19937& random) {
    for (size_t at = 0; at < block.size(); ++at) {
        if (at == focus::kItemNameLine || at == focus::kCameraNameLine) continue;
        std::string line = randomBlanks(random, false);
        for (char c : block[at]) line += c == ' ' ? randomBlanks(random, true) : std::string(1, c);
        block[at] = line + randomBlanks(random, false);
    }
    return block;
}

// References of Kelto's block, loaded by Kelto Focus.
struct KeltoPair {
    const char* item;
    const char* camera;
};
const KeltoPair kKeltoBlocks[] = {{"Ball", "Camera"}, {"Tall Tree", "Close-up"}, {"Lost Lamp", "Camera"}};
const int kKeltoBlockFrame = 12;

}  // namespace

// Blocks of random settings, every number written with all its digits, load
// and save as they were, and save, load, save gives the same bytes.
void checkFocusBlockRoundTrip(CheckContext& context) {
    CheckRig rig(context.module(), context.protocol, context.modifier, context.expect);
    if (!rig.bind()) return;
    for (int i = 0; i < kRoundTrips && context.expect.ok(); ++i) {
        std::vector<std::string> block = focus::referenceBlock(
            anyOf(kItemNames, context.random), anyOf(kCameraNames, context.random), randomSettings(context.random));
        expectSavedAs(rig, block, block);
        host::InstanceHandle first = rig.loaded(block);
        if (first == nullptr) return;
        std::vector<BlockWriter::Unit> saved = rig.saved(first);
        host::InstanceHandle second = rig.loaded(linesOf(saved));
        if (second == nullptr) return;
        context.expect.that(sameLines(saved, rig.saved(second)),
                            [&] { return joined(block) + " saved, loaded and saved again differs"; });
        rig.discard(first);
        rig.discard(second);
    }
}

// A block of a later version loads here with what this one knows: lines of
// unknown keywords, empty lines and other versions are skipped, and the
// settings after them are still read.
void checkFocusLaterVersions(CheckContext& context) {
    CheckRig rig(context.module(), context.protocol, context.modifier, context.expect);
    if (!rig.bind()) return;
    const std::vector<std::string> block = focus::referenceBlock("Ball", "Camera", settingsOffTheirDefaults());
    const std::vector<std::string> later(std::begin(kLaterLines), std::end(kLaterLines));
    std::vector<std::string> newer = block;
    newer[kVersionLine] = std::string(focus::kVersionKeyword) + " " + std::to_string(focus::kBlockVersion + 1);
    expectSavedAs(rig, newer, block);
    for (const std::string& line : later) expectSavedAs(rig, withLinesAmong(newer, {line}, context.random), block);
    for (int i = 0; i < kRoundTrips && context.expect.ok(); ++i)
        expectSavedAs(rig, withLinesAmong(newer, later, context.random), block);
}

// A setting's line that does not read (a value not finite, a negative lag,
// an unknown measure, a value missing, extra or spoilt, a line of 255 bytes
// or more) is refused alone: the
// setting keeps its default, the settings after it are read, and the load
// does not fail.
void checkFocusRefusals(CheckContext& context) {
    CheckRig rig(context.module(), context.protocol, context.modifier, context.expect);
    if (!rig.bind()) return;
    const focus::Settings settings = settingsOffTheirDefaults();
    const std::vector<std::string> block = focus::referenceBlock("Ball", "Camera", settings);
    for (const BadLine& bad : kBadLines) {
        std::vector<std::string> spoilt = block;
        spoilt[kFirstSettingLine + size_t(bad.setting)] = bad.line;
        expectSavedAs(rig, spoilt, focus::referenceBlock("Ball", "Camera", withDefault(settings, bad.setting)));
    }
    // The numbers' settings (the measure's is never long) padded to the length
    // where lines may have been cut, to a byte less, and beyond.
    for (int setting = 1; setting < kSettingLines && context.expect.ok(); ++setting) {
        const size_t at = kFirstSettingLine + size_t(setting);
        std::vector<std::string> padded = block;
        padded[at] = paddedTo(block[at], kCutLineBytes - 1);
        expectSavedAs(rig, padded, block);
        const std::vector<std::string> kept = focus::referenceBlock("Ball", "Camera", withDefault(settings, setting));
        for (size_t bytes : {kCutLineBytes, kLongerLineBytes}) {
            padded[at] = paddedTo(block[at], bytes);
            expectSavedAs(rig, padded, kept);
        }
    }
}

// Spaces, tabs and carriage returns around a keyword's line and between its
// numbers read alike; a name is its line whole, blanks included, but for a
// carriage return at its end, which a line break written on Windows leaves.
void checkFocusBlanks(CheckContext& context) {
    CheckRig rig(context.module(), context.protocol, context.modifier, context.expect);
    if (!rig.bind()) return;
    const focus::Settings settings = settingsOffTheirDefaults();
    const std::vector<std::string> block = focus::referenceBlock("Ball", "Camera", settings);
    for (int i = 0; i < kBlankRounds && context.expect.ok(); ++i)
        expectSavedAs(rig, withBlanks(block, context.random), block);
    expectSavedAs(rig, focus::referenceBlock("Ball\r", "Camera\r", settings), block);
    host::InstanceHandle instance = rig.loaded(focus::referenceBlock("Ball\r", "Camera\r"));
    Evaluation result = instance != nullptr ? rig.evaluated(instance, 0) : Evaluation();
    context.expect.that(result.set, "names ending in a carriage return do not find their items");
}

// A scene moved from Kelto keeps its references: Kelto's block loads with
// every setting at its default, evaluates as Kelto Focus, and is saved as
// Kelto Focus's block.
void checkFocusKeltoBlock(CheckContext& context) {
    CheckRig rig(context.module(), context.protocol, context.modifier, context.expect);
    if (!rig.bind()) return;
    const Scene& scene = rig.scene();
    const double time = rig.timeOfFrame(kKeltoBlockFrame);
    for (const KeltoPair& pair : kKeltoBlocks) {
        const std::vector<std::string> block = kelto_facts::referenceBlock(pair.item, pair.camera);
        std::string error;
        host::InstanceHandle instance = rig.loaded(block, &error);
        if (instance == nullptr) return;
        context.expect.that(error.empty(),
                            [&] { return "load returned the error \"" + error + "\" for " + joined(block); });
        const SceneItem* item = findByName(scene, pair.item);
        const SceneItem* camera = findByName(scene, pair.camera);
        bool both = item != nullptr && camera != nullptr;
        double expected = both ? rig.expectedValue(hostDistance(scene, *item, *camera, time)) : 0;
        Evaluation result = rig.evaluated(instance, time);
        context.expect.that(both ? result.set && agrees(result.value, expected) : !result.set, [&] {
            return "Kelto's block " + joined(block) + " evaluates to " + evaluationText(result) + ", not " +
                   (both ? numberText(expected) : "left alone");
        });
        std::vector<std::string> saved = rig.savedLines(instance);
        const std::vector<std::string> own = focus::referenceBlock(pair.item, pair.camera);
        context.expect.that(saved == own, [&] {
            return "Kelto's block " + joined(block) + " is saved as " + joined(saved) + ", not " + joined(own);
        });
    }
}

const CheckDefinition kFocusBlockDefinitions[] = {
    {"block-round-trip",
     "settings are saved in full and read back to the bit: load, save, load, save gives the same bytes",
     CheckScope::EachProtocol, checkFocusBlockRoundTrip},
    {"later-versions", "lines a later version adds to the block are skipped and the settings after them read",
     CheckScope::EachProtocol, checkFocusLaterVersions},
    {"refusals", "bad settings in the block are refused line by line, keeping the default, and the load succeeds",
     CheckScope::EachProtocol, checkFocusRefusals},
    {"blanks", "blanks around a keyword's line and between its numbers read alike, and a name loses a closing CR",
     CheckScope::EachProtocol, checkFocusBlanks},
    {"kelto-block", "Kelto's block loads with its references and default settings and saves as Kelto Focus's",
     CheckScope::EachProtocol, checkFocusKeltoBlock},
};

constexpr CheckTable kFocusBlockChecks = checkTable(kFocusBlockDefinitions);

}  // namespace sim
