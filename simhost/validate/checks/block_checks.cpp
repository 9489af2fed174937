// The block in the scene file: valid blocks saved and loaded back, random
// ones, and an empty line among its lines.
#include <random>
#include <string>
#include <vector>

#include "simhost/modifiers/reference_facts.h"
#include "simhost/validate/checks/check_tables.h"
#include "simhost/validate/saved_blocks.h"

namespace sim {

namespace {

const int kRandomBlocks = 300;
// Random lines: most are pieces of a block, some junk of these lengths.
const int kPieceKinds = 7, kLineKinds = 10;
const int kShortJunk = 40, kLongJunk = 600;
const int kMaxLines = 12;
const char kLineSeparator[] = " | ";

struct NamePair {
    const char* item;
    const char* camera;
};

// Blocks every seed tries first: names that an object and a camera share.
const NamePair kSharedNameBlocks[] = {{"Tall Tree", "Tall Tree"}, {"Ball", "Tall Tree"}};

// Valid blocks: items of the scene, a shared name, "none", a name of no
// item, empty names.
const NamePair kValidBlocks[] = {
    {"Ball", "Camera"},     {"Tall Tree", "Tall Tree"},
    {"Ground", "Close-up"}, {reference_facts::kNoneName, "Close-up"},
    {"Missing", "Camera"},  {"", ""},
};

// A line of a random block: keywords whole, cut or spoilt, names of the
// scene, junk, empty lines, long lines.
std::string randomLine(const std::vector<std::string>& pieces, std::mt19937& random) {
    int kind = std::uniform_int_distribution<int>(0, kLineKinds - 1)(random);
    if (kind < kPieceKinds) return pieces[std::uniform_int_distribution<size_t>(0, pieces.size() - 1)(random)];
    std::uniform_int_distribution<int> length(0, kind == kLineKinds - 1 ? kLongJunk : kShortJunk), byte(1, 255);
    std::string line(size_t(length(random)), 'x');
    for (char& c : line) c = char(byte(random));
    return line;
}

// Begins with the block's start line but one time in four.
std::vector<std::string> randomBlock(const std::vector<std::string>& pieces, std::mt19937& random) {
    std::vector<std::string> block;
    if (std::uniform_int_distribution<int>(0, 3)(random) != 0) block.push_back(pieces.front());
    int lines = std::uniform_int_distribution<int>(0, kMaxLines)(random);
    for (int i = 0; i < lines; ++i) block.push_back(randomLine(pieces, random));
    return block;
}

std::string blockText(const std::vector<std::string>& block) {
    std::string text;
    for (const std::string& line : block) text += (text.empty() ? "" : kLineSeparator) + line;
    return "(" + text + ")";
}

// The items a saved name may stand for: the first of that name, objects
// first, or none. "none" is also how a reference of no item is saved.
std::vector<const SceneItem*> itemsSavedAs(const Scene& scene, const std::string& name) {
    std::vector<const SceneItem*> items = {findByName(scene, name)};
    if (name == reference_facts::kNoneName) items.push_back(nullptr);
    return items;
}

// Whether the evaluation is one that the names saved after it allow: the
// distance between the items they find, or nothing while either finds none.
bool evaluatedAsSaved(const CheckRig& rig, const std::vector<std::string>& saved, const Evaluation& result,
                      double time) {
    const Scene& scene = rig.scene();
    const ValidatedModifier& modifier = rig.modifier();
    for (const SceneItem* item : itemsSavedAs(scene, saved[modifier.itemNameLine]))
        for (const SceneItem* camera : itemsSavedAs(scene, saved[modifier.cameraNameLine])) {
            if (item == nullptr || camera == nullptr) {
                if (!result.set) return true;
            } else if (result.set &&
                       agrees(result.value, rig.expectedValue(hostDistance(scene, *item, *camera, time)))) {
                return true;
            }
        }
    return false;
}

// One block loaded, evaluated at a whole frame, saved, loaded and saved again.
void expectRandomBlockKept(CheckRig& rig, const std::vector<std::string>& block, int number, std::mt19937& random) {
    std::string which = "random block " + std::to_string(number) + " " + blockText(block);
    host::InstanceHandle instance = rig.loaded(block);
    if (instance == nullptr) return;
    int frame = std::uniform_int_distribution<int>(rig.scene().firstFrame, rig.scene().lastFrame)(random);
    Evaluation result = rig.evaluated(instance, rig.timeOfFrame(frame));
    std::vector<BlockWriter::Unit> saved = rig.saved(instance);
    std::string problem = blockProblem(rig.modifier(), saved);
    if (!rig.expect().that(problem.empty(), [&] { return which + ": " + problem; })) return;
    rig.expect().that(evaluatedAsSaved(rig, linesOf(saved), result, rig.timeOfFrame(frame)), [&] {
        return which + ": at frame " + std::to_string(frame) + " the channel is " + evaluationText(result) +
               ", which the names it saves, " + blockText(linesOf(saved)) + ", do not give";
    });
    host::InstanceHandle again = rig.loaded(linesOf(saved));
    rig.evaluated(again, rig.timeOfFrame(frame));
    rig.expect().that(sameLines(saved, rig.saved(again)),
                      [&] { return which + ": its save does not load back to the same references"; });
    rig.discard(instance);
    rig.discard(again);
}

// The value at frame 0 is the distance between the items the names find
// ("none" finds an item of that name), or nothing while either finds none;
// `why` says what the names were read by.
void expectEvaluatedAsFound(CheckRig& rig, host::InstanceHandle instance, const NamePair& pair,
                            const std::vector<std::string>& block, const std::string& why) {
    const Scene& scene = rig.scene();
    const SceneItem* item = findByName(scene, pair.item);
    const SceneItem* camera = findByName(scene, pair.camera);
    bool both = item != nullptr && camera != nullptr;
    double expected = both ? rig.expectedValue(hostDistance(scene, *item, *camera, 0)) : 0;
    Evaluation result = rig.evaluated(instance, 0);
    rig.expect().that(both ? result.set && agrees(result.value, expected) : !result.set, [&] {
        return blockText(block) + " evaluates to " + evaluationText(result) + ", not " +
               (both ? numberText(expected) : "left alone") + why;
    });
}

// Whether the name is no item's, or one item's alone: a name an object and a
// camera share is random-blocks' to try.
bool namesOneItemAtMost(const Scene& scene, const std::string& name) {
    size_t items = 0;
    for (const std::vector<SceneItem>* list : {&scene.objects, &scene.cameras})
        for (const SceneItem& item : *list) items += item.name == name ? 1 : 0;
    return items <= 1;
}

// One valid block saved, loaded and saved again, evaluated in between or not.
void expectValidBlockKept(CheckRig& rig, const NamePair& pair, bool evaluated) {
    Expect& expect = rig.expect();
    std::vector<std::string> block = rig.referenceBlock(pair.item, pair.camera);
    std::string error;
    host::InstanceHandle first = rig.loaded(block, &error);
    expect.that(error.empty(), [&] { return "load returned the error \"" + error + "\" for " + blockText(block); });
    if (first == nullptr) return;
    if (evaluated && namesOneItemAtMost(rig.scene(), pair.item) && namesOneItemAtMost(rig.scene(), pair.camera))
        expectEvaluatedAsFound(rig, first, pair, block, " as its names find");
    std::vector<BlockWriter::Unit> saved = rig.saved(first, &error);
    expect.that(error.empty(), [&] { return "save returned the error \"" + error + "\""; });
    std::string problem = blockProblem(rig.modifier(), saved);
    if (!expect.that(problem.empty(), problem)) return;
    bool found = findByName(rig.scene(), pair.item) != nullptr && findByName(rig.scene(), pair.camera) != nullptr;
    expect.that(!found || linesOf(saved) == block,
                [&] { return blockText(block) + " is saved as " + blockText(linesOf(saved)); });
    host::InstanceHandle second = rig.loaded(linesOf(saved), &error);
    expect.that(error.empty(), [&] { return "load returned the error \"" + error + "\" for its own save"; });
    if (evaluated) rig.evaluated(second, 0);
    expect.that(sameLines(saved, rig.saved(second)),
                [&] { return blockText(block) + " saved, loaded and saved again differs"; });
}

// Where an empty line is put in a block of references: after its start line,
// before the camera's keyword, and before its end line.
std::vector<size_t> emptyLinePlaces(const ValidatedModifier& modifier) {
    return {1, modifier.cameraNameLine - 1, modifier.blockLines - 1};
}

}  // namespace

void checkSaveLoadSave(CheckContext& context) {
    CheckRig rig(context.module(), context.protocol, context.modifier, context.expect);
    if (!rig.bind()) return;
    for (const NamePair& pair : kValidBlocks)
        for (bool evaluated : {false, true}) expectValidBlockKept(rig, pair, evaluated);
}

void checkRandomBlocks(CheckContext& context) {
    CheckRig rig(context.module(), context.protocol, context.modifier, context.expect);
    if (!rig.bind()) return;
    const std::vector<std::string> pieces = context.modifier.blockPieces();
    int number = 0;
    for (const NamePair& pair : kSharedNameBlocks)
        expectRandomBlockKept(rig, rig.referenceBlock(pair.item, pair.camera), ++number, context.random);
    while (number < kRandomBlocks && context.expect.ok())
        expectRandomBlockKept(rig, randomBlock(pieces, context.random), ++number, context.random);
}

// An empty line inside Kelto's block ends it: the lines after it are not
// read, so a reference named after it is none, evaluates to nothing and is
// saved as none. Kelto Focus skips it, as a line of a later version.
void checkEmptyLine(CheckContext& context) {
    CheckRig rig(context.module(), context.protocol, context.modifier, context.expect);
    if (!rig.bind()) return;
    const ValidatedModifier& modifier = context.modifier;
    const NamePair pair = {"Ball", "Camera"};
    for (size_t place : emptyLinePlaces(modifier)) {
        std::vector<std::string> block = rig.referenceBlock(pair.item, pair.camera);
        block.insert(block.begin() + std::ptrdiff_t(place), "");
        bool ends = modifier.emptyLineEndsBlock;
        NamePair read = {!ends || modifier.itemNameLine < place ? pair.item : "",
                         !ends || modifier.cameraNameLine < place ? pair.camera : ""};
        host::InstanceHandle instance = rig.loaded(block);
        if (instance == nullptr) return;
        const std::string rule = ends ? ": an empty line ends the block" : ": an empty line is skipped";
        expectEvaluatedAsFound(rig, instance, read, block, rule);
        std::vector<std::string> saved = rig.savedLines(instance);
        std::vector<std::string> expected =
            rig.referenceBlock(read.item[0] != '\0' ? read.item : reference_facts::kNoneName,
                               read.camera[0] != '\0' ? read.camera : reference_facts::kNoneName);
        context.expect.that(saved == expected, [&] {
            return blockText(block) + " is saved as " + blockText(saved) + ", not " + blockText(expected) + rule;
        });
    }
}

const CheckDefinition kBlockDefinitions[] = {
    {"save-load-save",
     "valid blocks evaluate as their names find, load and save with no error, and save, load, save gives the same block",
     CheckScope::EachProtocol, checkSaveLoadSave},
    {"random-blocks", "random blocks evaluate as the names they save find, and save back the same",
     CheckScope::EachProtocol, checkRandomBlocks},
    {"empty-line", "an empty line in the block ends it (Kelto's) or is skipped (Kelto Focus's)",
     CheckScope::EachProtocol, checkEmptyLine},
};

constexpr CheckTable kBlockChecks = checkTable(kBlockDefinitions);

}  // namespace sim
