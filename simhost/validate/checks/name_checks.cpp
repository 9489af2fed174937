// Names in the block: references missing from the scene, long names, and
// empty ones.
#include <string>
#include <utility>
#include <vector>

#include "simhost/modifiers/reference_facts.h"
#include "simhost/text/printable_text.h"
#include "simhost/validate/checks/check_tables.h"
#include "simhost/validate/saved_blocks.h"

namespace sim {

namespace {

using reference_facts::kNoneName;

const char kLostObject[] = "Lost Lamp";
const char kLostCamera[] = "Lost Camera";
const int kFrames[] = {0, 12, 24, 48};
const int kFrame = 12;
// The longest name kept whole, a longer one, and a character of two bytes.
const size_t kLongestName = reference_facts::kNameBufferSize - 1;
const size_t kLongerName = 300;
const char kTwoByteCharacter[] = "\xC3\xA9";  // e with an acute accent

std::string joined(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) text += (text.empty() ? "" : " | ") + line;
    return "(" + text + ")";
}

// Evaluations that must leave the channel alone, and a save that must give
// the block back as it was loaded.
void expectMissingKept(CheckRig& rig, const std::vector<std::string>& block) {
    host::InstanceHandle instance = rig.loaded(block);
    if (instance == nullptr) return;
    for (int frame : kFrames) {
        Evaluation result = rig.evaluated(instance, rig.timeOfFrame(frame));
        rig.expect().that(!result.set, [&] {
            return "with " + joined(block) + " the channel is set to " + numberText(result.value) + " at frame " +
                   std::to_string(frame) + "; a missing reference leaves it alone";
        });
    }
    // The panel opened and drawn as the host draws it; what get shows is the
    // panel check's to judge.
    OpenedPanel panel;
    if (rig.openPanel(instance, panel)) rig.session().panels().draw(*panel.panel);
    rig.noteViolations();
    std::vector<std::string> saved = rig.savedLines(instance);
    rig.expect().that(saved == block, [&] {
        return joined(block) + " is saved as " + joined(saved) + "; a missing reference is saved by its name";
    });
}

// The references of `block` give the distance between `item` and `camera`
// at kFrame, in a scene that has them.
void expectFound(CheckRig& rig, const std::vector<std::string>& block, const SceneItem& item, const SceneItem& camera) {
    host::InstanceHandle instance = rig.loaded(block);
    if (instance == nullptr) return;
    double time = rig.timeOfFrame(kFrame);
    Evaluation result = rig.evaluated(instance, time);
    double expected = rig.expectedValue(hostDistance(rig.scene(), item, camera, time));
    rig.expect().that(result.set && agrees(result.value, expected), [&] {
        return "with " + joined(block) + " in a scene that has the items the channel is " + evaluationText(result) +
               ", not " + numberText(expected);
    });
}

std::string repeated(const std::string& text, size_t bytes) {
    std::string out;
    while (out.size() < bytes) out += text;
    return out;
}

// Why a saved name is no fair cut of a name longer than the buffer, or "".
std::string cutProblem(const std::string& saved, const std::string& name) {
    std::string what = "a name of " + std::to_string(name.size()) + " bytes ";
    if (saved == name) return what + "is saved whole";
    if (saved.size() > kLongestName) return what + "is saved as " + std::to_string(saved.size()) + " bytes";
    if (saved.empty() || name.compare(0, saved.size(), saved) != 0) return what + "is saved as \"" + saved + "\"";
    if (printableText(saved) != saved) return what + "is cut inside a character: \"" + saved + "\"";
    return "";
}

Scene longNameScene() {
    Scene scene = checkScene();
    scene.addObject(std::string(kLongestName, 'o'), {3, 0, 3});
    scene.addObject(std::string(kLongerName, 'a'), {-3, 1, 5});
    scene.addCamera(std::string(kLongestName, 'c'), {1, 2, -4});
    scene.addCamera(repeated(kTwoByteCharacter, kLongerName), {6, 1, 1});
    return scene;
}

// The long objects and cameras picked in the panel: the channel follows
// them, and the save cuts their names.
void expectLongPicksCut(CheckRig& rig, host::InstanceHandle instance) {
    OpenedPanel panel;
    if (!rig.openPanel(instance, panel)) return;
    const Scene& scene = rig.scene();
    const SceneItem& object = scene.objects.back();
    const SceneItem& camera = scene.cameras.back();
    rig.choose(panel, Popup::Item, entryOfPlace(rig.entries(panel, Popup::Item), scene.objects.size() - 1));
    rig.choose(panel, Popup::Camera, entryOfPlace(rig.entries(panel, Popup::Camera), scene.cameras.size() - 1));
    double time = rig.timeOfFrame(kFrame);
    Evaluation result = rig.evaluated(instance, time);
    double expected = rig.expectedValue(hostDistance(scene, object, camera, time));
    rig.expect().that(result.set && agrees(result.value, expected), [&] {
        return "with items of long names picked the channel is " + evaluationText(result) + ", not " +
               numberText(expected);
    });
    std::vector<BlockWriter::Unit> units = rig.saved(instance);
    std::vector<std::string> saved = linesOf(units);
    const ValidatedModifier& modifier = rig.modifier();
    if (!rig.expect().that(saved.size() == modifier.blockLines, [&] { return blockProblem(modifier, units); })) return;
    std::string problem = cutProblem(saved[modifier.itemNameLine], object.name);
    if (problem.empty()) problem = cutProblem(saved[modifier.cameraNameLine], camera.name);
    if (problem.empty()) problem = blockProblem(modifier, units);
    rig.expect().that(problem.empty(), problem);
}

}  // namespace

namespace {

// Names are found once, when the block is loaded: items that appear under
// the missing names afterwards leave the channel alone and the block as it
// was, and are found by the next load.
void expectFoundAtTheNextLoad(CheckRig& rig, const std::vector<std::string>& block) {
    host::InstanceHandle instance = rig.loaded(block);
    if (instance == nullptr) return;
    rig.evaluated(instance, rig.timeOfFrame(kFrame));
    for (const auto& added : {std::pair<int, const char*>{host::kItemTypeObject, kLostObject},
                              std::pair<int, const char*>{host::kItemTypeCamera, kLostCamera}})
        rig.addItem(added.first, added.second);
    Evaluation result = rig.evaluated(instance, rig.timeOfFrame(kFrame));
    rig.expect().that(!result.set, [&] {
        return "with " + joined(block) + " the channel is set to " + numberText(result.value) +
               " once the items were added; a name is found when the block is loaded, not later";
    });
    std::vector<std::string> saved = rig.savedLines(instance);
    rig.expect().that(saved == block, [&] {
        return joined(block) + " is saved as " + joined(saved) + " once its items were added, not as loaded";
    });
    const SceneItem* object = findByName(rig.scene(), kLostObject);
    const SceneItem* camera = findByName(rig.scene(), kLostCamera);
    if (object != nullptr && camera != nullptr) expectFound(rig, block, *object, *camera);
}

}  // namespace

// A reference whose item the scene lacks (its object failed to load, say)
// leaves the channel its own value and is saved as it was, so that a scene
// that has the item finds it again; an item added under its name later is
// found at the next load.
void checkMissingReferences(CheckContext& context) {
    const ValidatedModifier& modifier = context.modifier;
    const std::vector<std::string> blocks[] = {modifier.referenceBlock(kLostObject, "Camera"),
                                               modifier.referenceBlock("Ball", kLostCamera),
                                               modifier.referenceBlock(kLostObject, kLostCamera)};
    // A name is its line whole: one a blank longer than an item's names no item.
    const std::vector<std::string> blank[] = {modifier.referenceBlock("Ball ", "Camera"),
                                              modifier.referenceBlock("Ball", "Camera\t")};
    {
        CheckRig rig(context.module(), context.protocol, context.modifier, context.expect);
        if (!rig.bind()) return;
        for (const std::vector<std::string>& block : blocks) expectMissingKept(rig, block);
        for (const std::vector<std::string>& block : blank) expectMissingKept(rig, block);
        expectFoundAtTheNextLoad(rig, blocks[2]);
    }
    Scene scene = checkScene();
    scene.addObject(kLostObject, {2, 2, 9});
    scene.addCamera(kLostCamera, {-1, 3, -7});
    CheckRig found(context.module(), context.protocol, context.modifier, context.expect, scene);
    if (!found.bind()) return;
    expectFound(found, blocks[2], found.scene().objects.back(), found.scene().cameras.back());
}

// Names of up to 255 bytes are kept whole; longer ones are cut to fit the
// module's buffer, to a non-empty start of the name of whole characters, and
// never overflow it. A line longer than the buffer in
// a block is cut by the host's read.
void checkLongNames(CheckContext& context) {
    CheckRig rig(context.module(), context.protocol, context.modifier, context.expect, longNameScene());
    if (!rig.bind()) return;
    const Scene& scene = rig.scene();
    std::vector<std::string> longest =
        rig.referenceBlock(scene.objects[scene.objects.size() - 2].name, scene.cameras[scene.cameras.size() - 2].name);
    expectFound(rig, longest, scene.objects[scene.objects.size() - 2], scene.cameras[scene.cameras.size() - 2]);
    host::InstanceHandle instance = rig.loaded(longest);
    if (instance == nullptr) return;
    rig.evaluated(instance, 0);
    std::vector<std::string> saved = rig.savedLines(instance);
    rig.expect().that(saved == longest, "names of 255 bytes are not saved whole");
    expectLongPicksCut(rig, instance);
    host::InstanceHandle cut = rig.loaded(rig.referenceBlock(scene.objects.back().name, "Camera"));
    std::string problem = cut != nullptr ? blockProblem(rig.modifier(), rig.saved(cut)) : "";
    rig.expect().that(problem.empty(), [&] { return "a block line of 300 bytes loaded: " + problem; });
}

// An empty name is no reference: a modifier just applied, and a block of
// empty names, reference nothing, even in a scene with items of no name.
void checkEmptyNames(CheckContext& context) {
    Scene scene = checkScene();
    scene.addObject("", {5, 5, 5});
    scene.addCamera("", {-5, 5, 5});
    CheckRig rig(context.module(), context.protocol, context.modifier, context.expect, scene);
    if (!rig.bind()) return;
    host::InstanceHandle fresh = rig.newInstance();
    host::InstanceHandle empty = rig.loaded(rig.referenceBlock("", ""));
    for (host::InstanceHandle instance : {fresh, empty}) {
        if (instance == nullptr) return;
        const char* which = instance == fresh ? "a modifier just applied" : "a block of empty names";
        Evaluation result = rig.evaluated(instance, rig.timeOfFrame(kFrame));
        context.expect.that(!result.set,
                            [&] { return std::string(which) + " sets the channel to " + numberText(result.value); });
        std::vector<std::string> saved = rig.savedLines(instance);
        context.expect.that(saved == rig.referenceBlock(kNoneName, kNoneName),
                            [&] { return std::string(which) + " is saved as " + joined(saved); });
    }
}

const CheckDefinition kNameDefinitions[] = {
    {"missing-references", "a missing reference leaves the channel alone, is saved by name and found at the next load",
     CheckScope::EachProtocol, checkMissingReferences},
    {"long-names", "names of 255 bytes survive, longer ones are cut to at most 255 bytes", CheckScope::EachProtocol,
     checkLongNames},
    {"empty-names", "a modifier just applied, and empty names, reference nothing", CheckScope::EachProtocol,
     checkEmptyNames},
};

constexpr CheckTable kNameChecks = checkTable(kNameDefinitions);

}  // namespace sim
