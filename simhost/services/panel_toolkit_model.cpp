#include "simhost/services/panel_toolkit_model.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <sstream>

#include "host/panel_toolkit.h"

#include "simhost/text/printable_text.h"
#include "simhost/text/text_format.h"

namespace sim {

namespace {

// Rows beyond this many are taken as an unterminated list.
const size_t kMaxRows = 1024;
// Words beyond this many are taken as an unterminated hint list, and
// entries beyond it as an unterminated static list.
const size_t kMaxHintWords = 4096;

// Each control class the toolkit knows and the one data type it draws.
struct ClassType {
    const char* controlClass;
    const char* dataType;
};
const ClassType kClassTypes[] = {
    {HOST_PANEL_CLASS_POPUP_CHOICE, HOST_PANEL_TYPE_INTEGER}, {HOST_PANEL_CLASS_DISTANCE3, HOST_PANEL_TYPE_DISTANCE3},
    {HOST_PANEL_CLASS_DISTANCE, HOST_PANEL_TYPE_DISTANCE},    {HOST_PANEL_CLASS_FLOAT, HOST_PANEL_TYPE_FLOAT},
    {HOST_PANEL_CLASS_TIME, HOST_PANEL_TYPE_TIME},
};

// How many doubles a data type's value holds; 0 for one that is not doubles.
size_t doublesOf(const std::string& dataType) {
    if (dataType == HOST_PANEL_TYPE_DISTANCE3) return 3;
    if (dataType == HOST_PANEL_TYPE_DISTANCE || dataType == HOST_PANEL_TYPE_FLOAT || dataType == HOST_PANEL_TYPE_TIME)
        return 1;
    return 0;
}
const size_t kMostDoubles = 3;

std::string text(const char* s) { return s != nullptr ? s : ""; }

// A static list's entries up to its null, or up to the most it may hold.
size_t staticListLength(const char* const* entries) {
    size_t length = 0;
    while (entries != nullptr && length < kMaxHintWords && entries[length] != nullptr) ++length;
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

// What the module gave as the panel's user data, which popups receive.
void* userDataOf(const SimPanel& panel) {
    auto data = panel.userData.find(host::kPanelControlId);
    return data != panel.userData.end() ? data->second : nullptr;
}

// Arguments each known hint tag takes after itself.
size_t argumentsOf(host::PanelHintWord tag) {
    switch (tag) {
        case host::kHintLabel: return 3;       // control ID, text, 0
        case host::kHintPopupFuncs: return 3;  // control ID, count, name
        case host::kHintPopupOption: return 1; // control ID
        case host::kHintStringList: return 3;  // control ID, entries, 0
        default: return SIZE_MAX;
    }
}

}  // namespace

std::string dataTypeOfClass(const std::string& controlClass) {
    for (const ClassType& pair : kClassTypes)
        if (controlClass == pair.controlClass) return pair.dataType;
    return "";
}

SimPanel* PanelToolkitModel::panelOf(host::PanelId id) {
    for (SimPanel& panel : panels_)
        if (&panel == id) return &panel;
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
    size_t at = 0;
    while (at < kMaxHintWords && hints[at] != 0) {
        host::PanelHintWord tag = hints[at];
        size_t count = argumentsOf(tag);
        if (count == SIZE_MAX) {
            panel->hintProblems.push_back("unknown hint tag " + hexText(tag));
            return;
        }
        const host::PanelHintWord* args = hints + at + 1;
        uint32_t target = static_cast<uint32_t>(args[0]);
        if (tag == host::kHintLabel) panel->labels[target] = text(reinterpret_cast<const char*>(args[1]));
        if (tag == host::kHintPopupFuncs)
            panel->popups[target] = {reinterpret_cast<host::PopupCountFunction>(args[1]),
                                     reinterpret_cast<host::PopupNameFunction>(args[2])};
        if (tag == host::kHintStringList) panel->stringLists[target] = reinterpret_cast<const char* const*>(args[1]);
        at += 1 + count;
    }
}

void PanelToolkitModel::setUserData(host::PanelId id, uint32_t control, void* data) {
    record("userData(" + hexText(control) + ")");
    if (SimPanel* panel = panelOf(id)) panel->userData[control] = data;
}

void PanelToolkitModel::setViewedInstance(host::PanelId id, void* instance) {
    record("viewInstance");
    if (SimPanel* panel = panelOf(id)) panel->instance = instance;
}

int PanelToolkitModel::popupCount(const SimPanel& panel, uint32_t id) const {
    if (const SimPopup* popup = popupOf(panel, id)) return std::max(0, popup->count(userDataOf(panel)));
    return static_cast<int>(staticListLength(staticListOf(panel, id)));
}

std::string PanelToolkitModel::popupEntry(const SimPanel& panel, uint32_t id, int index) const {
    if (const SimPopup* popup = popupOf(panel, id)) return text(popup->name(userDataOf(panel), index));
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

const int32_t* PanelToolkitModel::valueOf(const SimPanel& panel, uint32_t id) const {
    if (panel.get == nullptr) return nullptr;
    return static_cast<const int32_t*>(panel.get(panel.instance, id));
}

// Each name call may walk the module's list up to the entry, so a drawing
// asks for a few entries only and says how many it left out.
std::string PanelToolkitModel::draw(const SimPanel& panel) const {
    std::ostringstream out;
    auto title = panel.labels.find(host::kPanelControlId);
    out << "Panel \"" << (title != panel.labels.end() ? shownText(title->second) : "") << "\"\n";
    for (const SimControl& control : panel.controls) {
        if (size_t doubles = doublesOf(dataTypeOf(panel, control.id))) {
            const double* value = panel.get != nullptr ? static_cast<const double*>(panel.get(panel.instance, control.id))
                                                       : nullptr;
            out << "  " << shownText(control.label) << " (" << shownText(control.controlClass) << "): ";
            if (value == nullptr) out << "no value";
            for (size_t n = 0; value != nullptr && n < doubles; ++n) out << (n == 0 ? "" : " ") << formattedText("%g", value[n]);
            out << "\n";
            continue;
        }
        int count = popupCount(panel, control.id);
        std::vector<std::string> shown;
        for (int index = 0; index < std::min(count, kDrawnEntries); ++index)
            shown.push_back(shownText(popupEntry(panel, control.id, index)));
        const int32_t* value = valueOf(panel, control.id);
        out << "  " << shownText(control.label) << " (" << shownText(control.controlClass) << "): ";
        if (value == nullptr) {
            out << "no value";
        } else if (*value >= 0 && *value < count) {
            out << "[" << (*value < kDrawnEntries ? shown[static_cast<size_t>(*value)] : shownText(popupEntry(panel, control.id, *value))) << "]";
        } else {
            out << "[choice " << *value << "]";
        }
        out << "  entries:";
        for (size_t e = 0; e < shown.size(); ++e) out << (e == 0 ? " " : " | ") << shown[e];
        if (count > kDrawnEntries) out << " | ... and " << count - kDrawnEntries << " more";
        out << "\n";
    }
    return out.str();
}

int PanelToolkitModel::pick(SimPanel& panel, const std::string& label, const std::string& entry, std::string& error) {
    for (const SimControl& control : panel.controls) {
        if (control.label != label) continue;
        int count = popupCount(panel, control.id);
        for (int index = 0; index < std::min(count, kMaxPickEntries); ++index) {
            if (popupEntry(panel, control.id, index) != entry) continue;
            if (panel.set == nullptr) {
                error = "the panel has no set function";
                return -1;
            }
            int32_t value = index;
            return panel.set(panel.instance, control.id, &value);
        }
        error = "\"" + label + "\" has no entry \"" + entry + "\"";
        if (count > kMaxPickEntries)
            error += " among its first " + std::to_string(kMaxPickEntries) + " of " + std::to_string(count) +
                     ", the most a pick looks through";
        return -1;
    }
    error = "the panel has no control \"" + label + "\"";
    return -1;
}

int PanelToolkitModel::enter(SimPanel& panel, const std::string& label, const std::string& entered, std::string& error) {
    for (const SimControl& control : panel.controls) {
        if (control.label != label) continue;
        std::string dataType = dataTypeOf(panel, control.id);
        size_t doubles = doublesOf(dataType);
        if (doubles == 0) {
            error = "\"" + label + "\" is no field of numbers" + (dataType.empty() ? "" : " (its data type is " + dataType + ")");
            return -1;
        }
        std::istringstream words(entered);
        double value[kMostDoubles] = {};
        size_t read = 0;
        for (std::string word; words >> word; ++read) {
            const char* end = word.data() + word.size();
            std::from_chars_result number = read < doubles ? std::from_chars(word.data(), end, value[read])
                                                           : std::from_chars_result{word.data(), std::errc::invalid_argument};
            if (number.ptr != end || number.ec != std::errc()) {
                read = doubles + 1;
                break;
            }
        }
        if (read != doubles) {
            error = "\"" + label + "\" takes " + (doubles == 1 ? "one number" : std::to_string(doubles) + " numbers apart by blanks");
            return -1;
        }
        if (panel.set == nullptr) {
            error = "the panel has no set function";
            return -1;
        }
        return panel.set(panel.instance, control.id, value);
    }
    error = "the panel has no control \"" + label + "\"";
    return -1;
}

}  // namespace sim
