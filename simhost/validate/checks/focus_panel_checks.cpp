// Kelto Focus's settings in the options panel, and the description line that
// names the measure in force.
#include <cmath>
#include <iterator>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "host/panel_toolkit.h"
#include "simhost/modifiers/kelto_focus_facts.h"
#include "simhost/text/text_format.h"
#include "simhost/validate/checks/check_tables.h"
#include "simhost/validate/focus_samples.h"

namespace sim {

namespace {

namespace focus = kelto_focus_facts;

const double kNotANumber = std::numeric_limits<double>::quiet_NaN();
const double kInfinity = std::numeric_limits<double>::infinity();
const int kRandomSets = 100;
const double kReach = 10;
struct SettingControl {
    uint32_t id;
    const char* label;
    const char* controlClass;
    const char* dataType;
};

// In the order of the settings: measure, subject offset, focus offset, lag.
const SettingControl kSettingControls[] = {
    {focus::kMeasureControl, focus::kMeasureLabel, focus::kMeasureClass, focus::kMeasureType},
    {focus::kSubjectOffsetControl, focus::kSubjectOffsetLabel, focus::kSubjectOffsetClass, focus::kSubjectOffsetType},
    {focus::kFocusOffsetControl, focus::kFocusOffsetLabel, focus::kFocusOffsetClass, focus::kFocusOffsetType},
    {focus::kLagControl, focus::kLagLabel, focus::kLagClass, focus::kLagType},
};

// Why the panel lacks the setting's control as the facts have it, or "".
std::string controlProblem(const SimPanel& panel, const SettingControl& wanted) {
    const std::string what = "\"" + std::string(wanted.label) + "\" ";
    bool found = false;
    for (const SimControl& control : panel.controls)
        if (control.id == wanted.id) {
            found = true;
            if (control.label != wanted.label || control.controlClass != wanted.controlClass)
                return what + "is control \"" + control.label + "\" of class \"" + control.controlClass + "\"";
        }
    if (!found) return what + "has no control of ID " + hexText(wanted.id);
    for (const SimDataRow& row : panel.data)
        if (row.id == wanted.id && row.dataType == wanted.dataType) return "";
    return what + "has no value of type \"" + wanted.dataType + "\"";
}

// The panel's settings, read through get; false, failing the check, when get
// gives none for one.
bool shownSettings(CheckRig& rig, const OpenedPanel& opened, focus::Settings& shown) {
    SimPanel& panel = *opened.panel;
    const void* values[std::size(kSettingControls)];
    for (size_t i = 0; i < std::size(kSettingControls); ++i) {
        values[i] = panel.get != nullptr ? panel.get(panel.instance, kSettingControls[i].id) : nullptr;
        rig.noteViolations();
        if (!rig.expect().that(values[i] != nullptr, [&] {
                return "get gives no value for \"" + std::string(kSettingControls[i].label) + "\"";
            }))
            return false;
    }
    shown.measure = *static_cast<const int32_t*>(values[0]);
    for (int axis = 0; axis < focus::kAxisCount; ++axis)
        shown.subjectOffset[axis] = static_cast<const double*>(values[1])[axis];
    shown.focusOffset = *static_cast<const double*>(values[2]);
    shown.lag = *static_cast<const double*>(values[3]);
    return true;
}

bool sameSettings(const focus::Settings& a, const focus::Settings& b) {
    return focus::referenceBlock("", "", a) == focus::referenceBlock("", "", b);
}

std::string settingsText(const focus::Settings& settings) {
    std::vector<std::string> lines = focus::referenceBlock("", "", settings);
    std::string text;
    for (size_t line = focus::kCameraNameLine + 1; line + 1 < lines.size(); ++line)
        text += (text.empty() ? "" : ", ") + lines[line];
    return text;
}

// One set through the panel: the refresh code it must return, and what the
// settings must then be.
struct PanelSet {
    uint32_t control;
    int32_t measure;
    double values[focus::kAxisCount];
    int refresh;
    focus::Settings after;
    std::string what;
};

int setThroughPanel(CheckRig& rig, const OpenedPanel& opened, const PanelSet& set) {
    SimPanel& panel = *opened.panel;
    if (!rig.expect().that(panel.set != nullptr, "the panel has no set function")) return -1;
    // set takes a value it may not keep: a copy of the set's.
    PanelSet handed = set;
    void* value =
        set.control == focus::kMeasureControl ? static_cast<void*>(&handed.measure) : static_cast<void*>(handed.values);
    int refresh = panel.set(panel.instance, set.control, value);
    rig.noteViolations();
    return refresh;
}

// The set's refresh code, and the settings get shows and save writes after it.
void expectSet(CheckRig& rig, host::InstanceHandle instance, const OpenedPanel& opened, const PanelSet& set) {
    int refresh = setThroughPanel(rig, opened, set);
    rig.expect().that(refresh == set.refresh, [&] {
        return "set returns " + std::to_string(refresh) + " after " + set.what + ", not " + std::to_string(set.refresh);
    });
    focus::Settings shown;
    if (!shownSettings(rig, opened, shown)) return;
    rig.expect().that(sameSettings(shown, set.after), [&] {
        return "after " + set.what + " get shows " + settingsText(shown) + ", not " + settingsText(set.after);
    });
    std::vector<std::string> saved = rig.savedLines(instance);
    std::vector<std::string> expected = focus::referenceBlock("Ball", "Camera", set.after);
    rig.expect().that(saved == expected,
                      [&] { return "after " + set.what + " save does not write " + settingsText(set.after); });
}

// Values are eighths: their digits are the block checks' to judge.
const double kEighths = 8;

// A random set of a valid value: stored as given, nothing to redraw.
PanelSet randomValidSet(const focus::Settings& before, std::mt19937& random) {
    PanelSet set{0, 0, {0, 0, 0}, host::kRefreshNone, before, ""};
    std::uniform_int_distribution<int> eighths(int(-kReach * kEighths), int(kReach * kEighths));
    auto number = [&](std::mt19937& from) { return eighths(from) / kEighths; };
    switch (std::uniform_int_distribution<size_t>(0, std::size(kSettingControls) - 1)(random)) {
        case 0:
            set.control = focus::kMeasureControl;
            set.measure = set.after.measure =
                std::uniform_int_distribution<int32_t>(0, focus::kMeasureCount - 1)(random);
            break;
        case 1:
            set.control = focus::kSubjectOffsetControl;
            for (int axis = 0; axis < focus::kAxisCount; ++axis)
                set.values[axis] = set.after.subjectOffset[axis] = number(random);
            break;
        case 2:
            set.control = focus::kFocusOffsetControl;
            set.values[0] = set.after.focusOffset = number(random);
            break;
        default:
            set.control = focus::kLagControl;
            set.values[0] = set.after.lag = std::fabs(number(random));
            break;
    }
    set.what = "a set of " + settingsText(set.after);
    return set;
}

// Refused values keep the setting and ask for a redraw; a negative lag
// becomes 0 and asks for one.
std::vector<PanelSet> refusedSets(const focus::Settings& before) {
    focus::Settings noLag = before;
    noLag.lag = 0;
    const int redraw = host::kRefreshValues;
    return {
        {focus::kMeasureControl, focus::kMeasureCount, {0, 0, 0}, redraw, before, "an unknown measure"},
        {focus::kMeasureControl, -1, {0, 0, 0}, redraw, before, "the measure -1"},
        {focus::kSubjectOffsetControl, 0, {1, kNotANumber, 1}, redraw, before, "a subject offset of NaN"},
        {focus::kSubjectOffsetControl, 0, {kInfinity, 0, 0}, redraw, before, "an infinite subject offset"},
        {focus::kFocusOffsetControl, 0, {kNotANumber, 0, 0}, redraw, before, "a focus offset of NaN"},
        {focus::kFocusOffsetControl, 0, {-kInfinity, 0, 0}, redraw, before, "an infinite focus offset"},
        {focus::kLagControl, 0, {kInfinity, 0, 0}, redraw, before, "an infinite lag"},
        {focus::kLagControl, 0, {kNotANumber, 0, 0}, redraw, before, "a lag of NaN"},
        {focus::kLagControl, 0, {-0.5, 0, 0}, redraw, noLag, "a lag of -0.5"},
    };
}

// An instance of Ball and Camera loaded with `settings`, its panel opened.
host::InstanceHandle openedWith(CheckRig& rig, const focus::Settings& settings, OpenedPanel& panel) {
    host::InstanceHandle instance =
        rig.bind() ? rig.loaded(focus::referenceBlock("Ball", "Camera", settings)) : nullptr;
    return instance != nullptr && rig.openPanel(instance, panel) ? instance : nullptr;
}

void expectNamesMeasure(CheckRig& rig, host::InstanceHandle instance, int32_t measure, const std::string& when) {
    std::string line = rig.handler().describe(instance);
    rig.noteViolations();
    const std::string described = focus::description(measure);
    rig.expect().that(line == described, [&] {
        return "the description line " + when + " is \"" + line + "\", not \"" + described + "\"";
    });
}

}  // namespace

// The panel's title; the four settings' controls of the facts' classes and
// types, the measure's popup listing the measures in order; get shows the
// settings loaded; valid sets are stored as given and refused ones kept.
void checkFocusPanelSettings(CheckContext& context) {
    CheckRig rig(context.module(), context.protocol, context.modifier, context.expect);
    OpenedPanel panel;
    const focus::Settings loaded = settingsOffTheirDefaults();
    host::InstanceHandle instance = openedWith(rig, loaded, panel);
    if (instance == nullptr) return;
    for (const SettingControl& control : kSettingControls) {
        std::string problem = controlProblem(*panel.panel, control);
        if (!context.expect.that(problem.empty(), problem)) return;
    }
    std::vector<std::string> measures = rig.session().panels().popupEntries(*panel.panel, focus::kMeasureControl);
    rig.noteViolations();
    const std::vector<std::string> named(std::begin(focus::kMeasureEntries), std::end(focus::kMeasureEntries));
    context.expect.that(measures == named, [&] {
        std::string listed;
        for (const std::string& entry : measures) listed += (listed.empty() ? "\"" : ", \"") + entry + "\"";
        return "\"" + std::string(focus::kMeasureLabel) + "\" lists " + (listed.empty() ? "nothing" : listed) +
               ", not \"" + named[0] + "\", \"" + named[1] + "\"";
    });
    auto title = panel.panel->labels.find(host::kPanelControlId);
    context.expect.that(title != panel.panel->labels.end() && title->second == focus::kPanelTitle,
                        [] { return "the panel is not titled \"" + std::string(focus::kPanelTitle) + "\""; });
    focus::Settings shown;
    if (!shownSettings(rig, panel, shown)) return;
    context.expect.that(sameSettings(shown, loaded), [&] {
        return "get shows " + settingsText(shown) + ", not the settings loaded, " + settingsText(loaded);
    });
    focus::Settings now = loaded;
    for (int i = 0; i < kRandomSets && context.expect.ok(); ++i) {
        PanelSet set = randomValidSet(now, context.random);
        expectSet(rig, instance, panel, set);
        now = set.after;
        for (const PanelSet& refused : refusedSets(now)) expectSet(rig, instance, panel, refused);
        now.lag = 0;
    }
}

// The description line is "KELTO FOCUS", three blanks and the measure in
// force, loaded, picked in the panel or copied.
void checkFocusDescriptionMeasure(CheckContext& context) {
    CheckRig rig(context.module(), context.protocol, context.modifier, context.expect);
    OpenedPanel panel;
    focus::Settings settings;
    settings.measure = focus::kAlongView;
    host::InstanceHandle instance = openedWith(rig, settings, panel);
    if (instance == nullptr) return;
    expectNamesMeasure(rig, instance, focus::kAlongView, "of an instance loaded with the measure along view");
    for (int32_t measure : {focus::kStraightLine, focus::kAlongView, focus::kStraightLine}) {
        PanelSet set{focus::kMeasureControl, measure, {0, 0, 0}, host::kRefreshNone, settings, ""};
        setThroughPanel(rig, panel, set);
        expectNamesMeasure(rig, instance, measure, "after the measure " + std::to_string(measure) + " was set");
    }
    host::InstanceHandle loaded = rig.loaded(focus::referenceBlock("Ball", "Camera", settings));
    host::InstanceHandle copy = rig.newInstance();
    if (loaded == nullptr || copy == nullptr) return;
    rig.copied(copy, loaded);
    expectNamesMeasure(rig, copy, focus::kAlongView, "of a copy of an instance along view");
}

const CheckDefinition kFocusPanelDefinitions[] = {
    {"panel-settings", "the settings' controls store valid values, keep refused ones and make a negative lag 0",
     CheckScope::EachProtocol, checkFocusPanelSettings},
    {"description-measure", "the description line is \"KELTO FOCUS\", three blanks and the measure in force",
     CheckScope::EachProtocol, checkFocusDescriptionMeasure},
};

constexpr CheckTable kFocusPanelChecks = checkTable(kFocusPanelDefinitions);

}  // namespace sim
