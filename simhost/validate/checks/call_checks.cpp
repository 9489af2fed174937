// The calls Kelto and Kelto Focus promise never to make, though the host
// allows them: a channel read or a channel's name asked for in an evaluation,
// and a call of the host's messages or textures at any time. No other check
// holds a module to them (check_rig.h): this one drives an instance through
// every kind of call the host makes, in the states the other checks visit,
// and looks at what it called; the activations' refusals are the versions
// check's to make.
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "host/channel_handler.h"
#include "simhost/modifiers/reference_facts.h"
#include "simhost/run/edit_application.h"
#include "simhost/validate/checks/check_tables.h"

namespace sim {

namespace {

// Whole frames, and this many random times between and around them.
const int kFrames[] = {0, 7, 24, 48};
const int kRandomTimes = 4;
const double kFramesOutside = 2.0;

void evaluateAround(CheckRig& rig, host::InstanceHandle instance, std::mt19937& random) {
    if (instance == nullptr) return;
    const Scene& scene = rig.scene();
    for (int frame : kFrames) rig.evaluated(instance, rig.timeOfFrame(frame));
    std::uniform_real_distribution<double> frame(scene.firstFrame - kFramesOutside, scene.lastFrame + kFramesOutside);
    for (int i = 0; i < kRandomTimes; ++i) rig.evaluated(instance, scene.timeOfFrame(frame(random)));
}

// Everything the host asks of an instance outside an evaluation.
void askAbout(CheckRig& rig, host::InstanceHandle instance) {
    if (instance == nullptr) return;
    rig.handler().describe(instance);
    rig.handler().flags(instance);
    usedItemIds(rig.session(), rig.handler(), instance);
    rig.saved(instance);
    rig.noteViolations();
}

// Instances made, loaded, copied and evaluated: settings at and off their
// defaults, references found, missing, empty and shared, and a block of every
// piece random blocks are made of.
void visitInstances(CheckRig& rig, std::mt19937& random) {
    const ValidatedModifier& modifier = rig.modifier();
    host::InstanceHandle fresh = rig.newInstance();
    evaluateAround(rig, fresh, random);
    askAbout(rig, fresh);
    const std::vector<std::string> blocks[] = {
        modifier.referenceBlock("Ball", "Camera"),
        modifier.settingsBlock("Ball", "Camera"),
        modifier.settingsBlock("Lost Lamp", "Camera"),
        modifier.referenceBlock("", ""),
        modifier.referenceBlock(reference_facts::kNoneName, "Tall Tree"),
        modifier.blockPieces(),
    };
    for (const std::vector<std::string>& block : blocks) {
        host::InstanceHandle instance = rig.loaded(block);
        evaluateAround(rig, instance, random);
        askAbout(rig, instance);
        host::InstanceHandle copy = rig.newInstance();
        if (instance == nullptr || copy == nullptr) return;
        rig.copied(copy, instance);
        evaluateAround(rig, copy, random);
        askAbout(rig, copy);
    }
}

// The panel opened, drawn, and every entry of each popup picked in turn.
void visitPanel(CheckRig& rig, std::mt19937& random) {
    host::InstanceHandle instance = rig.loaded(rig.modifier().settingsBlock("Ball", "Camera"));
    OpenedPanel panel;
    if (instance == nullptr || !rig.openPanel(instance, panel)) return;
    rig.session().panels().draw(*panel.panel);
    for (Popup popup : {Popup::Item, Popup::Camera}) {
        std::vector<std::string> entries = rig.entries(panel, popup);
        for (size_t entry = 0; entry < entries.size(); ++entry) {
            rig.choose(panel, popup, int32_t(entry));
            if (panel.panel->get != nullptr) panel.panel->get(panel.panel->instance, panel.control(popup));
            rig.evaluated(instance, rig.timeOfFrame(kFrames[entry % std::size(kFrames)]));
        }
        rig.choose(panel, popup, 1);
    }
    evaluateAround(rig, instance, random);
    askAbout(rig, instance);
}

// Items renamed, moved where the host renumbers, and deleted under every
// instance made so far.
void visitEdits(CheckRig& rig, std::mt19937& random) {
    rig.renameItem("Tall Tree", "Oak");
    if (rig.protocol().host == HostKind::Classic) rig.moveItem(host::kItemTypeCamera, 1, 0);
    rig.deleteItem("Ground");
    rig.deleteItem("Ball");
    rig.deleteItem("Camera");
    for (host::InstanceHandle instance : rig.instances()) {
        evaluateAround(rig, instance, random);
        askAbout(rig, instance);
    }
}

}  // namespace

// The tour is judged by the calls alone: what else it meets (a host check, a
// wrong value, a panel that is missing) is the other checks' to hold.
void checkCalls(CheckContext& context) {
    Expect tour;
    CheckRig rig(context.module(), context.protocol, context.modifier, tour);
    if (!rig.bind()) return;
    visitInstances(rig, context.random);
    visitPanel(rig, context.random);
    visitEdits(rig, context.random);
    const std::vector<host::InstanceHandle> made = rig.instances();
    for (host::InstanceHandle instance : made) rig.discard(instance);
    context.expect.that(rig.brokenCallPromise().empty(), rig.brokenCallPromise());
}

const CheckDefinition kCallDefinitions[] = {
    {"calls", "no channel read or channel name asked, no message or texture called, in any call the host makes",
     CheckScope::EachProtocol, checkCalls},
};

constexpr CheckTable kCallChecks = checkTable(kCallDefinitions);

}  // namespace sim
