#include "simhost/services/panel_toolkit_model.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <sstream>

#include "host/panel_toolkit.h"

#include "simhost/text/printable_text.h"
#include "simhost/text/text_format.h"

namespace sim {

namespace {

// Rows beyond this many are taken as an unterminated list.
const size_t kMaxRows = 1024;
// Entries beyond this many are taken as an unterminated static list, as are
// hint lists (kMaxHintWords).
const size_t kMaxListEntries = kMaxHintWords;
// Text a form keeps of a "string" value, at most.
const size_t kMaxFormText = 4096;

// Each control class the toolkit knows and the one data type it draws.
struct ClassType {
    const char* controlClass;
    const char* dataType;
};
const ClassType kClassTypes[] = {
    {HOST_PANEL_CLASS_POPUP_CHOICE, HOST_PANEL_TYPE_INTEGER}, {HOST_PANEL_CLASS_BOOLEAN, HOST_PANEL_TYPE_INTEGER},
    {HOST_PANEL_CLASS_DISTANCE3, HOST_PANEL_TYPE_DISTANCE3},  {HOST_PANEL_CLASS_DISTANCE, HOST_PANEL_TYPE_DISTANCE},
    {HOST_PANEL_CLASS_FLOAT, HOST_PANEL_TYPE_FLOAT},          {HOST_PANEL_CLASS_TIME, HOST_PANEL_TYPE_TIME},
};

// How many doubles a data type's value holds; 0 for one that is not doubles.
size_t doublesOf(const std::string& dataType) {
    if (dataType == HOST_PANEL_TYPE_DISTANCE3) return 3;
    if (dataType == HOST_PANEL_TYPE_DISTANCE || dataType == HOST_PANEL_TYPE_FLOAT || dataType == HOST_PANEL_TYPE_TIME)
        return 1;
    return 0;
}
const size_t kMostDoubles = 3;

// A checkbox's two states, as it is picked and drawn, in the order of its values.
const char* const kCheckboxEntries[] = {"off", "on"};
const int32_t kCheckboxOff = 0, kCheckboxOn = 1;

bool isCheckbox(const SimControl& control) { return control.controlClass == HOST_PANEL_CLASS_BOOLEAN; }

std::string text(const char* s) { return s != nullptr ? s : ""; }

// A static list's entries up to its null, or up to the most it may hold.
size_t staticListLength(const char* const* entries) {
    size_t length = 0;
    while (entries != nullptr && length < kMaxListEntries && entries[length] != nullptr) ++length;
    return length;
}

// The static list hinted for a control, or null.
const char* const* staticListOf(const SimPanel& panel, uint32_t id) {
    auto found = panel.stringLists.find(id);
    return found != panel.stringLists.end() ? found->second : nullptr;
}

// The popup functions hinted for a control, or null unless both are given.
const SimPopup* popupOf(const SimPanel& panel, uint32_t id) {
    auto found = panel.popups.find(id);
    if (found == panel.popups.end() || found->second.count == nullptr || found->second.name == nullptr) return nullptr;
    return &found->second;
}

// The user data given for a control, or null.
void* userDataOf(const SimPanel& panel, uint32_t id) {
    auto data = panel.userData.find(id);
    return data != panel.userData.end() ? data->second : nullptr;
}

template <typename Function>
Function functionWord(host::PanelHintWord word) {
    return reinterpret_cast<Function>(word);
}

// What a double holds, for a number entered that none does.
std::string doubleRange() {
    const double largest = std::numeric_limits<double>::max();
    return formattedText("a number lies from %.17g to %.17g, and is 0 or at least %.17g in size", -largest, largest,
                         std::numeric_limits<double>::denorm_min());
}

}  // namespace

std::string dataTypeOfClass(const std::string& controlClass) {
    for (const ClassType& pair : kClassTypes)
        if (controlClass == pair.controlClass) return pair.dataType;
    return "";
}

SimPanel* PanelToolkitModel::panelOf(host::PanelId id) {
    for (SimPanel& panel : panels_)
        if (&panel == id) return panel.destroyed ? nullptr : &panel;
    return nullptr;
}

host::PanelId PanelToolkitModel::createPanel(int type, const host::PanelControl* controls) {
    SimPanel panel;
    panel.type = type;
    for (size_t row = 0; controls != nullptr && row < kMaxRows && controls[row].id != 0; ++row)
        panel.controls.push_back({controls[row].id, text(controls[row].label), text(controls[row].controlClass)});
    record("create(" + std::to_string(type) + ", " + std::to_string(panel.controls.size()) + " controls)");
    if (failCreate) return nullptr;
    panels_.push_back(panel);
    return &panels_.back();
}

void PanelToolkitModel::describeValues(host::PanelId id, const host::PanelDataDescription* data,
                                       host::PanelGetFunction get, host::PanelSetFunction set) {
    SimPanel* panel = panelOf(id);
    size_t rows = 0;
    for (; data != nullptr && rows < kMaxRows && data[rows].id != 0; ++rows)
        if (panel != nullptr) panel->data.push_back({data[rows].id, text(data[rows].name), text(data[rows].dataType)});
    record("describe(" + std::to_string(rows) + " values, get " + (get ? "set" : "null") + ", set " +
           (set ? "set" : "null") + ")");
    if (panel == nullptr) return;
    panel->get = get;
    panel->set = set;
    for (const SimDataRow& row : panel->data)
        for (const SimControl& control : panel->controls) {
            std::string drawn = dataTypeOfClass(control.controlClass);
            if (control.id == row.id && !drawn.empty() && drawn != row.dataType)
                panel->typeProblems.push_back("control " + hexText(control.id) + " of class " + control.controlClass +
                                              " draws " + drawn + " values, not " + row.dataType);
        }
}

void PanelToolkitModel::applyHints(host::PanelId id, uint32_t control, const host::PanelHintWord* hints) {
    record("hint(" + hexText(control) + ")");
    SimPanel* panel = panelOf(id);
    if (panel == nullptr || hints == nullptr) return;
    panel->hintLists[control] = hints;
    HintReading reading = readHints(hints, control);
    for (const ReadHint& hint : reading.hints) takeHint(*panel, hint);
    if (!reading.problem.empty())
        panel->hintProblems.push_back("the list for control " + hexText(control) + ": " + reading.problem);
}

// The hints the toolkit acts on; any other is kept by name, for the panel's
// line to say so.
void PanelToolkitModel::takeHint(SimPanel& panel, const ReadHint& hint) {
    const std::vector<host::PanelHintWord>& words = hint.words;
    if (hint.tag == host::kHintLabel) {
        panel.labels[static_cast<uint32_t>(words[0])] = text(reinterpret_cast<const char*>(words[1]));
    } else if (hint.tag == host::kHintPopupFuncs) {
        panel.popups[static_cast<uint32_t>(words[0])] = {functionWord<host::PopupCountFunction>(words[1]),
                                                         functionWord<host::PopupNameFunction>(words[2])};
    } else if (hint.tag == host::kHintStringList) {
        panel.stringLists[static_cast<uint32_t>(words[0])] = reinterpret_cast<const char* const*>(words[1]);
    } else if (hint.tag == host::kHintChangeNotify) {
        panel.changeNotify = functionWord<host::PanelChangeNotifyFunction>(words[0]);
    } else if (hint.tag == host::kHintDestroyNotify) {
        panel.destroyNotify = functionWord<host::PanelDestroyNotifyFunction>(words[0]);
        panel.destroyData = reinterpret_cast<void*>(words[1]);
    } else if (hint.tag == host::kHintEnable && words[3] == 0) {
        // With a map the state depends on an array of unknown length, so only
        // the plain form is followed.
        panel.enables.push_back(
            {static_cast<uint32_t>(words[0]), text(reinterpret_cast<const char*>(words[1])), hint.list});
    } else {
        std::string name = hintTagName(hint.tag);
        if (std::find(panel.hintsNotActedOn.begin(), panel.hintsNotActedOn.end(), name) == panel.hintsNotActedOn.end())
            panel.hintsNotActedOn.push_back(name);
    }
}

void PanelToolkitModel::setUserData(host::PanelId id, uint32_t control, void* data) {
    record("setData(" + hexText(control) + ")");
    if (SimPanel* panel = panelOf(id)) panel->userData[control] = data;
}

void* PanelToolkitModel::userData(host::PanelId id, uint32_t control) {
    record("getData(" + hexText(control) + ")");
    SimPanel* panel = panelOf(id);
    return panel != nullptr ? userDataOf(*panel, control) : nullptr;
}

void PanelToolkitModel::setViewedInstance(host::PanelId id, void* instance) {
    record("viewInstance");
    if (SimPanel* panel = panelOf(id)) panel->instance = instance;
}

// The panel stays in the deque, so that a pointer to it never dangles, but
// no call reaches it again.
void PanelToolkitModel::destroyPanel(host::PanelId id) {
    record("destroy");
    SimPanel* panel = panelOf(id);
    if (panel == nullptr) return;
    panel->destroyed = true;
    void* data = panel->destroyData != nullptr ? panel->destroyData : userDataOf(*panel, host::kPanelControlId);
    if (panel->destroyNotify != nullptr) panel->destroyNotify(data);
}

void* PanelToolkitModel::formValue(host::PanelId id, uint32_t value) {
    record("formGet(" + hexText(value) + ")");
    SimPanel* panel = panelOf(id);
    return panel != nullptr ? const_cast<void*>(valuePointer(*panel, value)) : nullptr;
}

void PanelToolkitModel::setFormValue(host::PanelId id, uint32_t value, const void* given) {
    record("formSet(" + hexText(value) + ")");
    if (SimPanel* panel = panelOf(id)) keepFormValue(*panel, value, given);
}

// Copied by the value's data type; a type the toolkit does not know, or a
// null value, leaves the value unset.
void PanelToolkitModel::keepFormValue(SimPanel& panel, uint32_t id, const void* given) {
    panel.formValues.erase(id);
    if (given == nullptr) return;
    std::string dataType = dataTypeOf(panel, id);
    SimFormValue value;
    if (size_t doubles = doublesOf(dataType)) {
        const double* numbers = static_cast<const double*>(given);
        value.numbers.assign(numbers, numbers + doubles);
    } else if (dataType == HOST_PANEL_TYPE_INTEGER) {
        value.integer = *static_cast<const int32_t*>(given);
    } else if (dataType == HOST_PANEL_TYPE_STRING) {
        const char* chars = static_cast<const char*>(given);
        value.text.assign(chars, strnlen(chars, kMaxFormText));
    } else {
        return;
    }
    panel.formValues[id] = value;
}

void* PanelToolkitModel::popupData(const SimPanel& panel, uint32_t id) const { return userDataOf(panel, id); }

const void* PanelToolkitModel::valuePointer(const SimPanel& panel, uint32_t id) const {
    if (panel.type != host::kPanelTypeForm) return panel.get != nullptr ? panel.get(panel.instance, id) : nullptr;
    auto kept = panel.formValues.find(id);
    if (kept == panel.formValues.end()) return nullptr;
    const SimFormValue& value = kept->second;
    if (!value.numbers.empty()) return value.numbers.data();
    return dataTypeOf(panel, id) == HOST_PANEL_TYPE_STRING ? static_cast<const void*>(value.text.c_str())
                                                           : &value.integer;
}

bool PanelToolkitModel::isDisabled(const SimPanel& panel, uint32_t id) const {
    return !disabledProblem(panel, id).empty();
}

std::string PanelToolkitModel::disabledProblem(const SimPanel& panel, uint32_t id) const {
    for (const SimEnable& enable : panel.enables) {
        if (std::find(enable.enabled.begin(), enable.enabled.end(), id) == enable.enabled.end()) continue;
        const int32_t* value =
            dataTypeOf(panel, enable.valueId) == HOST_PANEL_TYPE_INTEGER ? valueOf(panel, enable.valueId) : nullptr;
        if (value == nullptr || *value != 0) continue;
        std::string label = hexText(id), by = hexText(enable.valueId), state = "0";
        for (const SimControl& control : panel.controls) {
            if (control.id == id) label = control.label;
            if (control.id == enable.valueId) {
                by = control.label;
                if (isCheckbox(control)) state = kCheckboxEntries[kCheckboxOff];
            }
        }
        return "\"" + label + "\" is turned off while \"" + by + "\" is " + state +
               (enable.message.empty() ? "" : " (" + enable.message + ")");
    }
    return "";
}

int PanelToolkitModel::userChanged(SimPanel& panel, uint32_t id, const void* value, std::string& error) {
    int refresh = host::kRefreshNone;
    if (panel.type == host::kPanelTypeForm) {
        keepFormValue(panel, id, value);
    } else if (panel.set == nullptr) {
        error = "the panel has no set function";
        return -1;
    } else {
        refresh = panel.set(panel.instance, id, const_cast<void*>(value));
    }
    if (panel.changeNotify == nullptr) return refresh;
    int notified = panel.changeNotify(&panel, id, id, host::kPanelEventValue);
    return panel.type == host::kPanelTypeForm ? notified : refresh;
}

int PanelToolkitModel::popupCount(const SimPanel& panel, uint32_t id) const {
    if (const SimPopup* popup = popupOf(panel, id)) return std::max(0, popup->count(userDataOf(panel, id)));
    return static_cast<int>(staticListLength(staticListOf(panel, id)));
}

std::string PanelToolkitModel::popupEntry(const SimPanel& panel, uint32_t id, int index) const {
    if (const SimPopup* popup = popupOf(panel, id)) return text(popup->name(userDataOf(panel, id), index));
    const char* const* entries = staticListOf(panel, id);
    return index >= 0 && static_cast<size_t>(index) < staticListLength(entries) ? text(entries[index]) : "";
}

std::string PanelToolkitModel::dataTypeOf(const SimPanel& panel, uint32_t id) const {
    for (const SimDataRow& row : panel.data)
        if (row.id == id) return row.dataType;
    return "";
}

std::vector<std::string> PanelToolkitModel::popupEntries(const SimPanel& panel, uint32_t id) const {
    std::vector<std::string> entries;
    int count = popupCount(panel, id);
    for (int index = 0; index < count; ++index) entries.push_back(popupEntry(panel, id, index));
    return entries;
}

namespace {

// A field of numbers' value in a drawing: "0 0.25 0", or "no value".
std::string drawnNumbers(const PanelToolkitModel& panels, const SimPanel& panel, const SimControl& control,
                         size_t doubles) {
    const double* value = static_cast<const double*>(panels.valuePointer(panel, control.id));
    if (value == nullptr) return "no value";
    std::string text;
    for (size_t n = 0; n < doubles; ++n) text += (n == 0 ? "" : " ") + formattedText("%g", value[n]);
    return text;
}

// A checkbox's state and both its entries.
std::string drawnCheckbox(const PanelToolkitModel& panels, const SimPanel& panel, const SimControl& control) {
    const int32_t* value = panels.valueOf(panel, control.id);
    std::string text =
        value == nullptr
            ? "no value"
            : "[" + std::string(kCheckboxEntries[*value != kCheckboxOff ? kCheckboxOn : kCheckboxOff]) + "]";
    return text + "  entries: " + kCheckboxEntries[kCheckboxOff] + " | " + kCheckboxEntries[kCheckboxOn];
}

// A popup's choice and its first entries. Each name call may walk the
// module's list up to the entry, so a drawing asks for a few entries only
// and says how many it left out.
std::string drawnPopup(const PanelToolkitModel& panels, const SimPanel& panel, const SimControl& control) {
    const int kDrawn = PanelToolkitModel::kDrawnEntries;
    const int32_t* value = panels.valueOf(panel, control.id);
    int count = panels.popupCount(panel, control.id);
    std::vector<std::string> shown;
    for (int index = 0; index < std::min(count, kDrawn); ++index)
        shown.push_back(shownText(panels.popupEntry(panel, control.id, index)));
    std::string text;
    if (value == nullptr)
        text = "no value";
    else if (*value >= 0 && *value < count)
        text = "[" +
               (*value < kDrawn ? shown[static_cast<size_t>(*value)]
                                : shownText(panels.popupEntry(panel, control.id, *value))) +
               "]";
    else
        text = "[choice " + std::to_string(*value) + "]";
    text += "  entries:";
    for (size_t e = 0; e < shown.size(); ++e) text += (e == 0 ? " " : " | ") + shown[e];
    if (count > kDrawn) text += " | ... and " + std::to_string(count - kDrawn) + " more";
    return text;
}

}  // namespace

std::string PanelToolkitModel::draw(const SimPanel& panel) const {
    std::ostringstream out;
    auto title = panel.labels.find(host::kPanelControlId);
    out << "Panel \"" << (title != panel.labels.end() ? shownText(title->second) : "") << "\"";
    for (size_t n = 0; n < panel.hintsNotActedOn.size(); ++n)
        out << (n == 0 ? "  (hints not acted on: " : ", ") << panel.hintsNotActedOn[n];
    out << (panel.hintsNotActedOn.empty() ? "\n" : ")\n");
    for (const SimControl& control : panel.controls) {
        out << "  " << shownText(control.label) << " (" << shownText(control.controlClass) << "): ";
        size_t doubles = doublesOf(dataTypeOf(panel, control.id));
        out << (doubles != 0          ? drawnNumbers(*this, panel, control, doubles)
                : isCheckbox(control) ? drawnCheckbox(*this, panel, control)
                                      : drawnPopup(*this, panel, control));
        out << (isDisabled(panel, control.id) ? "  (disabled)\n" : "\n");
    }
    return out.str();
}

std::string PanelToolkitModel::pickProblem(const SimPanel& panel, const std::string& label) const {
    for (const SimControl& control : panel.controls) {
        if (control.label != label) continue;
        if (doublesOf(dataTypeOf(panel, control.id)) == 0) return "";
        return "\"" + label + "\" is a field of numbers, given with --set";
    }
    return "the panel has no control \"" + label + "\"";
}

int PanelToolkitModel::pick(SimPanel& panel, const std::string& label, const std::string& entry, std::string& error) {
    error = pickProblem(panel, label);
    if (!error.empty()) return -1;
    for (const SimControl& control : panel.controls) {
        if (control.label != label) continue;
        error = disabledProblem(panel, control.id);
        if (!error.empty()) return -1;
        if (isCheckbox(control)) {
            for (int32_t state : {kCheckboxOff, kCheckboxOn})
                if (entry == kCheckboxEntries[state]) return userChanged(panel, control.id, &state, error);
            error = "\"" + label + "\" has no entry \"" + entry + "\": a checkbox is " +
                    kCheckboxEntries[kCheckboxOff] + " or " + kCheckboxEntries[kCheckboxOn];
            return -1;
        }
        int count = popupCount(panel, control.id);
        for (int index = 0; index < std::min(count, kMaxPickEntries); ++index) {
            if (popupEntry(panel, control.id, index) != entry) continue;
            int32_t value = index;
            return userChanged(panel, control.id, &value, error);
        }
        error = "\"" + label + "\" has no entry \"" + entry + "\"";
        if (count > kMaxPickEntries)
            error += " among its first " + std::to_string(kMaxPickEntries) + " of " + std::to_string(count) +
                     ", the most a pick looks through";
        return -1;
    }
    return -1;  // no such control: pickProblem said so
}

int PanelToolkitModel::enterCheckbox(SimPanel& panel, const SimControl& control, const std::string& entered,
                                     std::string& error) {
    std::istringstream words(entered);
    std::string word, extra;
    words >> word >> extra;
    for (int32_t state : {kCheckboxOff, kCheckboxOn})
        if (extra.empty() && word == std::to_string(state)) return userChanged(panel, control.id, &state, error);
    error = "\"" + control.label + "\" is a checkbox: it takes 0 or 1 (or --pick " + kCheckboxEntries[kCheckboxOff] +
            " or " + kCheckboxEntries[kCheckboxOn] + ")";
    return -1;
}

namespace {

// The numbers of `entered`, up to `doubles` of them, into `value`: how many
// it holds, or more than `doubles` for a word that is no number or one too
// many. -1 with `error` set for a number no field of the host's holds.
long readNumbers(const std::string& entered, size_t doubles, double* value, std::string& error) {
    std::istringstream words(entered);
    size_t read = 0;
    for (std::string word; words >> word; ++read) {
        const char* end = word.data() + word.size();
        std::from_chars_result number = read < doubles
                                            ? std::from_chars(word.data(), end, value[read])
                                            : std::from_chars_result{word.data(), std::errc::invalid_argument};
        // A number written whole that no double holds is not a spelling fault.
        if (number.ptr == end && number.ec == std::errc::result_out_of_range) {
            error = word + " is out of range: " + doubleRange();
            return -1;
        }
        if (number.ptr != end || number.ec != std::errc()) return static_cast<long>(doubles) + 1;
        // Written whole, but no field of the host's holds it.
        if (!std::isfinite(value[read])) {
            error = word + " is not a finite number, which no field of numbers takes";
            return -1;
        }
    }
    return static_cast<long>(read);
}

}  // namespace

int PanelToolkitModel::enter(SimPanel& panel, const std::string& label, const std::string& entered,
                             std::string& error) {
    for (const SimControl& control : panel.controls) {
        if (control.label != label) continue;
        error = disabledProblem(panel, control.id);
        if (!error.empty()) return -1;
        if (isCheckbox(control)) return enterCheckbox(panel, control, entered, error);
        std::string dataType = dataTypeOf(panel, control.id);
        size_t doubles = doublesOf(dataType);
        if (doubles == 0) {
            error = "\"" + label + "\" is no field of numbers" +
                    (dataType.empty() ? "" : " (its data type is " + dataType + ")");
            return -1;
        }
        double value[kMostDoubles] = {};
        long read = readNumbers(entered, doubles, value, error);
        if (read < 0) return -1;
        if (static_cast<size_t>(read) != doubles) {
            error = "\"" + label + "\" takes " +
                    (doubles == 1 ? "one number" : std::to_string(doubles) + " numbers apart by blanks");
            return -1;
        }
        return userChanged(panel, control.id, value, error);
    }
    error = "the panel has no control \"" + label + "\"";
    return -1;
}

}  // namespace sim
