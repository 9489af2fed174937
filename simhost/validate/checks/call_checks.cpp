// The calls Kelto and Kelto Focus promise never to make, though the host
// allows them: a channel read or a channel's name asked for in an evaluation,
// and a call of the host's messages or textures at any time. No other check
// holds a module to them (check_bench.h): this one drives an instance through
// every kind of call the host makes, in the states the other checks visit,
// and looks at what it called; the activations' refusals are the versions
// check's to make.
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "host/channel_handler.h"
#include "simhost/modifiers/kelto_facts.h"
#include "simhost/run/edit_application.h"
#include "simhost/validate/checks.h"

namespace sim {

namespace {

// Whole frames, and this many random times between and around them.
const int kFrames[] = {0, 7, 24, 48};
const int kRandomTimes = 4;
const double kFramesOutside = 2.0;

void evaluateAround(Bench& bench, host::InstanceHandle instance, std::mt19937& random) {
    if (instance == nullptr) return;
    const Scene& scene = bench.scene();
    for (int frame : kFrames) bench.evaluated(instance, bench.timeOfFrame(frame));
    std::uniform_real_distribution<double> frame(scene.firstFrame - kFramesOutside, scene.lastFrame + kFramesOutside);
    for (int i = 0; i < kRandomTimes; ++i) bench.evaluated(instance, scene.timeOfFrame(frame(random)));
}

// Everything the host asks of an instance outside an evaluation.
void askAbout(Bench& bench, host::InstanceHandle instance) {
    if (instance == nullptr) return;
    bench.handler().describe(instance);
    bench.handler().flags(instance);
    usedItemIds(bench.session(), bench.handler(), instance);
    bench.saved(instance);
    bench.noteViolations();
}

// Instances made, loaded, copied and evaluated: settings at and off their
// defaults, references found, missing, empty and shared, and a block of every
// piece random blocks are made of.
void visitInstances(Bench& bench, std::mt19937& random) {
    const ValidatedModifier& modifier = bench.modifier();
    host::InstanceHandle fresh = bench.newInstance();
    evaluateAround(bench, fresh, random);
    askAbout(bench, fresh);
    const std::vector<std::string> blocks[] = {
        modifier.referenceBlock("Ball", "Camera"),
        modifier.settingsBlock("Ball", "Camera"),
        modifier.settingsBlock("Lost Lamp", "Camera"),
        modifier.referenceBlock("", ""),
        modifier.referenceBlock(kelto_facts::kNoneName, "Tall Tree"),
        modifier.blockPieces(),
    };
    for (const std::vector<std::string>& block : blocks) {
        host::InstanceHandle instance = bench.loaded(block);
        evaluateAround(bench, instance, random);
        askAbout(bench, instance);
        host::InstanceHandle copy = bench.newInstance();
        if (instance == nullptr || copy == nullptr) return;
        bench.copied(copy, instance);
        evaluateAround(bench, copy, random);
        askAbout(bench, copy);
    }
}

// The panel opened, drawn, and every entry of each popup picked in turn.
void visitPanel(Bench& bench, std::mt19937& random) {
    host::InstanceHandle instance = bench.loaded(bench.modifier().settingsBlock("Ball", "Camera"));
    OpenedPanel panel;
    if (instance == nullptr || !bench.openPanel(instance, panel)) return;
    bench.session().panels().draw(*panel.panel);
    for (Popup popup : {Popup::Item, Popup::Camera}) {
        std::vector<std::string> entries = bench.entries(panel, popup);
        for (size_t entry = 0; entry < entries.size(); ++entry) {
            bench.choose(panel, popup, int32_t(entry));
            if (panel.panel->get != nullptr) panel.panel->get(panel.panel->instance, panel.control(popup));
            bench.evaluated(instance, bench.timeOfFrame(kFrames[entry % std::size(kFrames)]));
        }
        bench.choose(panel, popup, 1);
    }
    evaluateAround(bench, instance, random);
    askAbout(bench, instance);
}

// Items renamed, moved where the host renumbers, and deleted under every
// instance made so far.
void visitEdits(Bench& bench, std::mt19937& random) {
    bench.renameItem("Tall Tree", "Oak");
    if (bench.protocol().host == HostKind::Classic) bench.moveItem(host::kItemTypeCamera, 1, 0);
    bench.deleteItem("Ground");
    bench.deleteItem("Ball");
    bench.deleteItem("Camera");
    for (host::InstanceHandle instance : bench.instances()) {
        evaluateAround(bench, instance, random);
        askAbout(bench, instance);
    }
}

}  // namespace

// The tour is judged by the calls alone: what else it meets (a host check, a
// wrong value, a panel that is missing) is the other checks' to hold.
void checkCalls(CheckContext& context) {
    Expect tour;
    Bench bench(context.module(), context.protocol, context.modifier, tour);
    if (!bench.bind()) return;
    visitInstances(bench, context.random);
    visitPanel(bench, context.random);
    visitEdits(bench, context.random);
    const std::vector<host::InstanceHandle> made = bench.instances();
    for (host::InstanceHandle instance : made) bench.discard(instance);
    context.expect.that(bench.brokenCallPromise().empty(), bench.brokenCallPromise());
}

const CheckDefinition kCallDefinitions[] = {
    {"calls", "no channel read or channel name asked, no message or texture called, in any call the host makes",
     CheckScope::EachProtocol, checkCalls},
};

constexpr CheckTable kCallChecks = checkTable(kCallDefinitions);

}  // namespace sim
