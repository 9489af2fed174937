// Items edited while instances hold references to them: deleted, moved and
// renamed, and the items an instance tells the host it uses.
#include <set>
#include <string>
#include <vector>

#include "simhost/modifiers/reference_facts.h"
#include "simhost/run/edit_application.h"
#include "simhost/validate/checks/check_tables.h"

namespace sim {

namespace {

using reference_facts::kNoneName;

const int kFrame = 18;
// Places in the check scene's lists (check_scene.cpp).
const size_t kNoneObjectPlace = 3, kTallTreeCameraPlace = 2;

// The name a popup's choice shows: the entry's text.
std::string shownName(CheckRig& rig, const OpenedPanel& panel, Popup popup) {
    std::vector<std::string> entries = rig.entries(panel, popup);
    int32_t choice = rig.choice(panel, popup);
    return choice >= 0 && size_t(choice) < entries.size() ? entries[size_t(choice)]
                                                          : "choice " + std::to_string(choice);
}

// Every instance on the rig evaluates to the distance between the items of
// those names now ("" for a reference that is none), and the first one's
// panel shows them.
void expectReferences(CheckRig& rig, const std::string& item, const std::string& camera, const std::string& after) {
    const Scene& scene = rig.scene();
    const SceneItem* a = item.empty() ? nullptr : findByName(scene, item);
    const SceneItem* b = camera.empty() ? nullptr : findByName(scene, camera);
    double time = rig.timeOfFrame(kFrame);
    bool both = a != nullptr && b != nullptr;
    double expected = both ? rig.expectedValue(hostDistance(scene, *a, *b, time)) : 0;
    for (host::InstanceHandle instance : rig.instances()) {
        Evaluation result = rig.evaluated(instance, time);
        rig.expect().that(both ? result.set && agrees(result.value, expected) : !result.set, [&] {
            return "after " + after + " the channel is " + evaluationText(result) + ", not " +
                   (both ? numberText(expected) : "left alone");
        });
    }
    OpenedPanel panel;
    if (!rig.openPanel(rig.instances().front(), panel)) return;
    std::string shown[2] = {shownName(rig, panel, Popup::Item), shownName(rig, panel, Popup::Camera)};
    std::string wanted[2] = {item.empty() ? reference_facts::kNoneEntry : item,
                             camera.empty() ? reference_facts::kNoneEntry : camera};
    rig.expect().that(shown[0] == wanted[0] && shown[1] == wanted[1], [&] {
        return "after " + after + " the panel shows " + shown[0] + " and " + shown[1] + ", not " + wanted[0] + " and " +
               wanted[1];
    });
}

void expectSaved(CheckRig& rig, const std::vector<std::string>& block, const std::string& after) {
    for (host::InstanceHandle instance : rig.instances()) {
        std::vector<std::string> saved = rig.savedLines(instance);
        rig.expect().that(saved == block, [&] {
            const ValidatedModifier& modifier = rig.modifier();
            size_t item = modifier.itemNameLine, camera = modifier.cameraNameLine;
            return "after " + after + " save names " +
                   (saved.size() > camera ? saved[item] + " and " + saved[camera] : "nothing") + ", not " +
                   block[item] + " and " + block[camera];
        });
    }
}

// An instance of the tree and the close-up, evaluated, and its copy.
bool holdTreeAndCloseUp(CheckRig& rig) {
    host::InstanceHandle original = rig.bind() ? rig.loaded(rig.referenceBlock("Tall Tree", "Close-up")) : nullptr;
    if (original == nullptr) return false;
    rig.evaluated(original, 0);
    host::InstanceHandle copy = rig.newInstance();
    if (copy == nullptr) return false;
    rig.copied(copy, original);
    return true;
}

// The IDs useItems lists, as a set: the order and repeats are the module's.
std::set<host::ItemId> usedSet(CheckRig& rig, host::InstanceHandle instance) {
    std::vector<host::ItemId> ids = usedItemIds(rig.session(), rig.handler(), instance);
    rig.noteViolations();
    return std::set<host::ItemId>(ids.begin(), ids.end());
}

std::set<host::ItemId> idsOf(CheckRig& rig, const std::vector<std::string>& names) {
    std::set<host::ItemId> ids;
    for (const std::string& name : names) ids.insert(rig.idOfItem(name));
    return ids;
}

void expectUses(CheckRig& rig, host::InstanceHandle instance, const std::vector<std::string>& names,
                const std::string& when) {
    rig.expect().that(usedSet(rig, instance) == idsOf(rig, names), [&] {
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
    CheckRig rig(context.module(), context.protocol, context.modifier, context.expect);
    if (!holdTreeAndCloseUp(rig)) return;
    if (context.protocol.host == HostKind::Classic) {
        rig.moveItem(host::kItemTypeObject, kNoneObjectPlace, 0);
        rig.moveItem(host::kItemTypeCamera, kTallTreeCameraPlace, 0);
        expectReferences(rig, "Tall Tree", "Close-up", "items moved before the references");
    }
    rig.deleteItem("Ground");
    rig.deleteItem("Camera");
    expectReferences(rig, "Tall Tree", "Close-up", "items before the references were deleted");
    rig.deleteItem("Tall Tree");
    expectReferences(rig, "", "Close-up", "the reference item was deleted");
    expectSaved(rig, rig.referenceBlock(kNoneName, "Close-up"), "the reference item was deleted");
    rig.deleteItem("Close-up");
    expectReferences(rig, "", "", "the reference camera was deleted");
    expectSaved(rig, rig.referenceBlock(kNoneName, kNoneName), "the reference camera was deleted");
}

// useItems lists the items both references hold, and nothing else; before
// the first evaluation it may list nothing yet.
void checkUsedItems(CheckContext& context) {
    CheckRig rig(context.module(), context.protocol, context.modifier, context.expect);
    host::InstanceHandle instance = rig.bind() ? rig.loaded(rig.referenceBlock("Ball", "Camera")) : nullptr;
    host::InstanceHandle missing = rig.loaded(rig.referenceBlock("Lost Lamp", "Camera"));
    host::InstanceHandle shared = rig.loaded(rig.referenceBlock("Ball", "Ball"));
    if (instance == nullptr || missing == nullptr || shared == nullptr) return;
    std::set<host::ItemId> early = usedSet(rig, instance);
    context.expect.that(early.empty() || early == idsOf(rig, {"Ball", "Camera"}),
                        "useItems before the first evaluation lists items other than Ball and Camera");
    for (host::InstanceHandle each : {instance, missing, shared}) rig.evaluated(each, 0);
    expectUses(rig, instance, {"Ball", "Camera"}, "with Ball and Camera");
    expectUses(rig, missing, {"Camera"}, "with a missing item and Camera");
    expectUses(rig, shared, {"Ball"}, "with Ball for both references");
    OpenedPanel panel;
    if (!rig.openPanel(instance, panel)) return;
    rig.choose(panel, Popup::Camera, noneEntryOf(rig.entries(panel, Popup::Camera)));
    expectUses(rig, instance, {"Ball"}, "with the camera set to (none)");
    rig.choose(panel, Popup::Item, noneEntryOf(rig.entries(panel, Popup::Item)));
    expectUses(rig, instance, {}, "with both references set to (none)");
}

// A renamed reference is the same item: the channel still follows it, the
// panel shows its new name and save writes it.
void checkRenames(CheckContext& context) {
    CheckRig rig(context.module(), context.protocol, context.modifier, context.expect);
    if (!holdTreeAndCloseUp(rig)) return;
    rig.renameItem("Tall Tree", "Oak");
    rig.renameItem("Close-up", "Wide Shot");
    expectReferences(rig, "Oak", "Wide Shot", "both references were renamed");
    expectSaved(rig, rig.referenceBlock("Oak", "Wide Shot"), "both references were renamed");
    rig.renameItem("Oak", "Old Oak");
    expectSaved(rig, rig.referenceBlock("Old Oak", "Wide Shot"), "the item was renamed again");
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
