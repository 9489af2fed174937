// Items edited while instances hold references to them: deleted, moved and
// renamed, and the items an instance tells the host it uses.
#include <set>
#include <string>
#include <vector>

#include "simhost/modifiers/kelto_facts.h"
#include "simhost/run/edit_application.h"
#include "simhost/validate/checks.h"

namespace sim {

namespace {

using kelto_facts::kNoneName;

const int kFrame = 18;
// Places in the check scene's lists (check_scene.cpp).
const size_t kNoneObjectPlace = 3, kTallTreeCameraPlace = 2;

// The name a popup's choice shows: the entry's text.
std::string shownName(Bench& bench, const OpenedPanel& panel, Popup popup) {
    std::vector<std::string> entries = bench.entries(panel, popup);
    int32_t choice = bench.choice(panel, popup);
    return choice >= 0 && size_t(choice) < entries.size() ? entries[size_t(choice)]
                                                          : "choice " + std::to_string(choice);
}

// Every instance on the bench evaluates to the distance between the items of
// those names now ("" for a reference that is none), and the first one's
// panel shows them.
void expectReferences(Bench& bench, const std::string& item, const std::string& camera, const std::string& after) {
    const Scene& scene = bench.scene();
    const SceneItem* a = item.empty() ? nullptr : findByName(scene, item);
    const SceneItem* b = camera.empty() ? nullptr : findByName(scene, camera);
    double time = bench.timeOfFrame(kFrame);
    bool both = a != nullptr && b != nullptr;
    double expected = both ? bench.expectedValue(hostDistance(scene, *a, *b, time)) : 0;
    for (host::InstanceHandle instance : bench.instances()) {
        Evaluation result = bench.evaluated(instance, time);
        bench.expect().that(both ? result.set && agrees(result.value, expected) : !result.set, [&] {
            return "after " + after + " the channel is " + evaluationText(result) + ", not " +
                   (both ? numberText(expected) : "left alone");
        });
    }
    OpenedPanel panel;
    if (!bench.openPanel(bench.instances().front(), panel)) return;
    std::string shown[2] = {shownName(bench, panel, Popup::Item), shownName(bench, panel, Popup::Camera)};
    std::string wanted[2] = {item.empty() ? kelto_facts::kNoneEntry : item,
                             camera.empty() ? kelto_facts::kNoneEntry : camera};
    bench.expect().that(shown[0] == wanted[0] && shown[1] == wanted[1], [&] {
        return "after " + after + " the panel shows " + shown[0] + " and " + shown[1] + ", not " + wanted[0] + " and " +
               wanted[1];
    });
}

void expectSaved(Bench& bench, const std::vector<std::string>& block, const std::string& after) {
    for (host::InstanceHandle instance : bench.instances()) {
        std::vector<std::string> saved = bench.savedLines(instance);
        bench.expect().that(saved == block, [&] {
            const ValidatedModifier& modifier = bench.modifier();
            size_t item = modifier.itemNameLine, camera = modifier.cameraNameLine;
            return "after " + after + " save names " +
                   (saved.size() > camera ? saved[item] + " and " + saved[camera] : "nothing") + ", not " +
                   block[item] + " and " + block[camera];
        });
    }
}

// An instance of the tree and the close-up, evaluated, and its copy.
bool holdTreeAndCloseUp(Bench& bench) {
    host::InstanceHandle original =
        bench.bind() ? bench.loaded(bench.referenceBlock("Tall Tree", "Close-up")) : nullptr;
    if (original == nullptr) return false;
    bench.evaluated(original, 0);
    host::InstanceHandle copy = bench.newInstance();
    if (copy == nullptr) return false;
    bench.copied(copy, original);
    return true;
}

// The IDs useItems lists, as a set: the order and repeats are the module's.
std::set<host::ItemId> usedSet(Bench& bench, host::InstanceHandle instance) {
    std::vector<host::ItemId> ids = usedItemIds(bench.session(), bench.handler(), instance);
    bench.noteViolations();
    return std::set<host::ItemId>(ids.begin(), ids.end());
}

std::set<host::ItemId> idsOf(Bench& bench, const std::vector<std::string>& names) {
    std::set<host::ItemId> ids;
    for (const std::string& name : names) ids.insert(bench.idOfItem(name));
    return ids;
}

void expectUses(Bench& bench, host::InstanceHandle instance, const std::vector<std::string>& names,
                const std::string& when) {
    bench.expect().that(usedSet(bench, instance) == idsOf(bench, names), [&] {
        std::string wanted;
        for (const std::string& name : names) wanted += (wanted.empty() ? "" : " and ") + name;
        return "useItems " + when + " does not list " + (wanted.empty() ? "nothing" : wanted) + " alone";
    });
}

}  // namespace

// References follow their items through the IDs the host announces: a
// classic host renumbers when items before them move or go (to larger IDs as
// well as smaller), a current one keeps them. A deleted reference leaves the
// channel alone and saves none. Objects and cameras alike; a copy too.
void checkRenumbering(CheckContext& context) {
    Bench bench(context.module(), context.protocol, context.modifier, context.expect);
    if (!holdTreeAndCloseUp(bench)) return;
    if (context.protocol.host == HostKind::Classic) {
        bench.moveItem(host::kItemTypeObject, kNoneObjectPlace, 0);
        bench.moveItem(host::kItemTypeCamera, kTallTreeCameraPlace, 0);
        expectReferences(bench, "Tall Tree", "Close-up", "items moved before the references");
    }
    bench.deleteItem("Ground");
    bench.deleteItem("Camera");
    expectReferences(bench, "Tall Tree", "Close-up", "items before the references were deleted");
    bench.deleteItem("Tall Tree");
    expectReferences(bench, "", "Close-up", "the reference item was deleted");
    expectSaved(bench, bench.referenceBlock(kNoneName, "Close-up"), "the reference item was deleted");
    bench.deleteItem("Close-up");
    expectReferences(bench, "", "", "the reference camera was deleted");
    expectSaved(bench, bench.referenceBlock(kNoneName, kNoneName), "the reference camera was deleted");
}

// useItems lists the items both references hold, and nothing else; before
// the first evaluation it may list nothing yet.
void checkUsedItems(CheckContext& context) {
    Bench bench(context.module(), context.protocol, context.modifier, context.expect);
    host::InstanceHandle instance = bench.bind() ? bench.loaded(bench.referenceBlock("Ball", "Camera")) : nullptr;
    host::InstanceHandle missing = bench.loaded(bench.referenceBlock("Lost Lamp", "Camera"));
    host::InstanceHandle shared = bench.loaded(bench.referenceBlock("Ball", "Ball"));
    if (instance == nullptr || missing == nullptr || shared == nullptr) return;
    std::set<host::ItemId> early = usedSet(bench, instance);
    context.expect.that(early.empty() || early == idsOf(bench, {"Ball", "Camera"}),
                        "useItems before the first evaluation lists items other than Ball and Camera");
    for (host::InstanceHandle each : {instance, missing, shared}) bench.evaluated(each, 0);
    expectUses(bench, instance, {"Ball", "Camera"}, "with Ball and Camera");
    expectUses(bench, missing, {"Camera"}, "with a missing item and Camera");
    expectUses(bench, shared, {"Ball"}, "with Ball for both references");
    OpenedPanel panel;
    if (!bench.openPanel(instance, panel)) return;
    bench.choose(panel, Popup::Camera, noneEntryOf(bench.entries(panel, Popup::Camera)));
    expectUses(bench, instance, {"Ball"}, "with the camera set to (none)");
    bench.choose(panel, Popup::Item, noneEntryOf(bench.entries(panel, Popup::Item)));
    expectUses(bench, instance, {}, "with both references set to (none)");
}

// A renamed reference is the same item: the channel still follows it, the
// panel shows its new name and save writes it.
void checkRenames(CheckContext& context) {
    Bench bench(context.module(), context.protocol, context.modifier, context.expect);
    if (!holdTreeAndCloseUp(bench)) return;
    bench.renameItem("Tall Tree", "Oak");
    bench.renameItem("Close-up", "Wide Shot");
    expectReferences(bench, "Oak", "Wide Shot", "both references were renamed");
    expectSaved(bench, bench.referenceBlock("Oak", "Wide Shot"), "both references were renamed");
    bench.renameItem("Oak", "Old Oak");
    expectSaved(bench, bench.referenceBlock("Old Oak", "Wide Shot"), "the item was renamed again");
}

const CheckDefinition kItemDefinitions[] = {
    {"renumbering", "references follow items moved and deleted before them; a deleted one saves none",
     CheckScope::EachProtocol, checkRenumbering},
    {"used-items", "useItems lists the items both references hold, and no other", CheckScope::EachProtocol,
     checkUsedItems},
    {"renames", "a renamed reference keeps working and is saved by its new name", CheckScope::EachProtocol,
     checkRenames},
};

constexpr CheckTable kItemChecks = checkTable(kItemDefinitions);

}  // namespace sim
