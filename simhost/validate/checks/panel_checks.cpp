// The options panel: what it shows, picks made in it, and what set asks the
// toolkit to redraw.
#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "host/panel_toolkit.h"
#include "simhost/modifiers/reference_facts.h"
#include "simhost/validate/checks/check_tables.h"

namespace sim {

namespace {

using reference_facts::kNoneEntry;

const int kRandomPicks = 200;
const int kEvaluationsPerPick = 2;
const Popup kPopups[] = {Popup::Item, Popup::Camera};

const char* labelOf(Popup popup) {
    return popup == Popup::Item ? reference_facts::kItemLabel : reference_facts::kCameraLabel;
}

const std::vector<SceneItem>& listOf(const Scene& scene, Popup popup) {
    return popup == Popup::Item ? scene.objects : scene.cameras;
}

// Why a popup does not list "(none)" once and the list's items in order, or "".
std::string entriesProblem(const std::vector<std::string>& entries, const std::vector<SceneItem>& items) {
    if (std::count(entries.begin(), entries.end(), std::string(kNoneEntry)) != 1)
        return "does not list \"" + std::string(kNoneEntry) + "\" once";
    if (entries.size() != items.size() + 1) return "lists " + std::to_string(entries.size()) + " entries";
    for (size_t place = 0; place < items.size(); ++place) {
        const std::string& entry = entries[size_t(entryOfPlace(entries, place))];
        if (entry != items[place].name)
            return "lists \"" + entry + "\" where item " + std::to_string(place + 1) + ", \"" + items[place].name +
                   "\", belongs";
    }
    return "";
}

// Why a popup's control is not one the toolkit draws as a popup of integer
// choices through get and set, or "".
std::string controlProblem(const SimPanel& panel, uint32_t id) {
    for (const SimControl& control : panel.controls)
        if (control.id == id && control.controlClass != reference_facts::kPopupControlClass)
            return "is a control of class \"" + control.controlClass + "\"";
    auto row =
        std::find_if(panel.data.begin(), panel.data.end(), [&](const SimDataRow& data) { return data.id == id; });
    if (row == panel.data.end() || row->dataType != reference_facts::kPopupDataType)
        return "has no value of type \"" + std::string(reference_facts::kPopupDataType) + "\"";
    auto popup = panel.popups.find(id);
    if (popup == panel.popups.end() || popup->second.count == nullptr || popup->second.name == nullptr)
        return "has no popup functions";
    return "";
}

// The distance between the items the choices show, or nothing while either
// is "(none)", at a few whole frames.
void expectChannelFollows(CheckRig& rig, host::InstanceHandle instance, const long places[2], std::mt19937& random) {
    const Scene& scene = rig.scene();
    for (int i = 0; i < kEvaluationsPerPick; ++i) {
        int frame = std::uniform_int_distribution<int>(scene.firstFrame, scene.lastFrame)(random);
        double time = rig.timeOfFrame(frame);
        Evaluation result = rig.evaluated(instance, time);
        bool both = places[0] >= 0 && places[1] >= 0;
        double expected = both ? rig.expectedValue(hostDistance(scene, scene.objects[size_t(places[0])],
                                                                scene.cameras[size_t(places[1])], time))
                               : 0;
        rig.expect().that(both ? result.set && agrees(result.value, expected) : !result.set, [&] {
            std::string item = places[0] >= 0 ? scene.objects[size_t(places[0])].name : kNoneEntry;
            std::string camera = places[1] >= 0 ? scene.cameras[size_t(places[1])].name : kNoneEntry;
            return "with " + item + " and " + camera + " picked, at frame " + std::to_string(frame) +
                   " the channel is " + evaluationText(result) + ", not " +
                   (both ? numberText(expected) : "left alone");
        });
    }
}

// One pick through set: get shows it at once and after later evaluations,
// the channel follows it, and save names the items picked.
void expectPickHolds(CheckRig& rig, host::InstanceHandle instance, const OpenedPanel& panel,
                     const std::vector<std::string> entries[2], int32_t chosen[2], std::mt19937& random) {
    size_t which = std::uniform_int_distribution<size_t>(0, 1)(random);
    Popup popup = kPopups[which];
    int32_t value = int32_t(std::uniform_int_distribution<size_t>(0, entries[which].size() - 1)(random));
    rig.choose(panel, popup, value);
    int32_t shown = rig.choice(panel, popup);
    rig.expect().that(shown == value, [&] {
        return "right after set to " + std::to_string(value) + " get gives " + std::to_string(shown) + " for \"" +
               labelOf(popup) + "\"";
    });
    chosen[which] = value;
    const long places[2] = {placeOfEntry(entries[0], chosen[0]), placeOfEntry(entries[1], chosen[1])};
    expectChannelFollows(rig, instance, places, random);
    for (size_t other = 0; other < 2; ++other) {
        int32_t kept = rig.choice(panel, kPopups[other]);
        rig.expect().that(kept == chosen[other], [&] {
            return "after evaluations get gives " + std::to_string(kept) + " for \"" + labelOf(kPopups[other]) +
                   "\", not the pick " + std::to_string(chosen[other]);
        });
    }
    const Scene& scene = rig.scene();
    std::vector<std::string> expected =
        rig.referenceBlock(places[0] >= 0 ? scene.objects[size_t(places[0])].name : reference_facts::kNoneName,
                           places[1] >= 0 ? scene.cameras[size_t(places[1])].name : reference_facts::kNoneName);
    const ValidatedModifier& modifier = rig.modifier();
    rig.expect().that(rig.savedLines(instance) == expected, [&] {
        return "save does not name the items picked, " + expected[modifier.itemNameLine] + " and " +
               expected[modifier.cameraNameLine];
    });
}

// The rig's instance of Ball and Camera, evaluated, and its panel opened;
// null when either failed.
host::InstanceHandle openedOnBall(CheckRig& rig, OpenedPanel& panel) {
    host::InstanceHandle instance = rig.bind() ? rig.loaded(rig.referenceBlock("Ball", "Camera")) : nullptr;
    if (instance == nullptr) return nullptr;
    rig.evaluated(instance, 0);
    return rig.openPanel(instance, panel) ? instance : nullptr;
}

}  // namespace

// The panel's title; two popups of integer choices: "(none)" and the scene's
// objects, "(none)" and its cameras, each item in list order; the choices
// show the references.
void checkPanel(CheckContext& context) {
    CheckRig rig(context.module(), context.protocol, context.modifier, context.expect);
    host::InstanceHandle instance = rig.bind() ? rig.loaded(rig.referenceBlock("Tall Tree", "Close-up")) : nullptr;
    if (instance == nullptr) return;
    rig.evaluated(instance, 0);
    OpenedPanel panel;
    if (!rig.openPanel(instance, panel)) return;
    const size_t controls = context.modifier.panelControls;
    context.expect.that(panel.panel->controls.size() == controls, [&] {
        return "the panel has " + std::to_string(panel.panel->controls.size()) + " controls, not " +
               std::to_string(controls);
    });
    context.expect.that(panel.panel->get != nullptr && panel.panel->set != nullptr, "the panel lacks get or set");
    auto title = panel.panel->labels.find(host::kPanelControlId);
    context.expect.that(title != panel.panel->labels.end() && title->second == context.modifier.panelTitle, [&] {
        return "the panel is titled \"" + (title != panel.panel->labels.end() ? title->second : std::string()) +
               "\", not \"" + context.modifier.panelTitle + "\"";
    });
    const long shown[2] = {2, 1};  // Tall Tree among the objects, Close-up among the cameras
    for (size_t which = 0; which < 2; ++which) {
        Popup popup = kPopups[which];
        std::string problem = controlProblem(*panel.panel, panel.control(popup));
        if (problem.empty()) problem = entriesProblem(rig.entries(panel, popup), listOf(rig.scene(), popup));
        context.expect.that(problem.empty(), [&] { return "\"" + std::string(labelOf(popup)) + "\" " + problem; });
        if (!context.expect.ok()) return;
        long place = placeOfEntry(rig.entries(panel, popup), rig.choice(panel, popup));
        context.expect.that(place == shown[which], [&] {
            return "\"" + std::string(labelOf(popup)) + "\" shows item " + std::to_string(place + 1) +
                   ", not the reference's place " + std::to_string(shown[which] + 1);
        });
    }
}

void checkPicks(CheckContext& context) {
    CheckRig rig(context.module(), context.protocol, context.modifier, context.expect);
    OpenedPanel panel;
    host::InstanceHandle instance = openedOnBall(rig, panel);
    if (instance == nullptr) return;
    const std::vector<std::string> entries[2] = {rig.entries(panel, Popup::Item), rig.entries(panel, Popup::Camera)};
    if (!context.expect.that(!entries[0].empty() && !entries[1].empty(), "a popup has no entries")) return;
    int32_t chosen[2] = {rig.choice(panel, Popup::Item), rig.choice(panel, Popup::Camera)};
    for (int i = 0; i < kRandomPicks && context.expect.ok(); ++i)
        expectPickHolds(rig, instance, panel, entries, chosen, context.random);
}

// After "(none)" set asks the toolkit to redraw every control from get; after
// an item, nothing.
void checkRefreshCodes(CheckContext& context) {
    CheckRig rig(context.module(), context.protocol, context.modifier, context.expect);
    OpenedPanel panel;
    host::InstanceHandle instance = openedOnBall(rig, panel);
    if (instance == nullptr) return;
    for (Popup popup : kPopups) {
        std::vector<std::string> entries = rig.entries(panel, popup);
        int32_t none = noneEntryOf(entries), item = entryOfPlace(entries, 0);
        if (!context.expect.that(none >= 0 && item >= 0, "a popup lacks \"(none)\" or an item")) return;
        for (int32_t value : {item, none}) {
            int expected = value == none ? host::kRefreshValues : host::kRefreshNone;
            int refresh = rig.choose(panel, popup, value);
            context.expect.that(refresh == expected, [&] {
                return "set returns " + std::to_string(refresh) + " after \"" + entries[size_t(value)] + "\" in \"" +
                       labelOf(popup) + "\", not " + std::to_string(expected);
            });
        }
    }
}

const CheckDefinition kPanelDefinitions[] = {
    {"panel", "the panel's title, and its two popups listing \"(none)\" and the objects or cameras in order",
     CheckScope::EachProtocol, checkPanel},
    {"picks", "random panel picks take effect, hold through later evaluations and are saved", CheckScope::EachProtocol,
     checkPicks},
    {"refresh", "set asks for a redraw after \"(none)\" and for none after an item", CheckScope::EachProtocol,
     checkRefreshCodes},
};

constexpr CheckTable kPanelChecks = checkTable(kPanelDefinitions);

}  // namespace sim
