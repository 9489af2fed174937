// The simulated "LWXPanel" toolkit: records every call a module makes while
// building a panel, keeps what it was handed, and can draw the panel as text
// and make picks and enter values through the module's get and set, as a
// user would. It pairs each control class with the one data type it draws
// (iPopChoice and iBoolean: integer; distance3, distance, float, time: the
// type of that name), and takes a popup's entries from popup functions or a
// static list; a checkbox (iBoolean) is picked "off" or "on", or set 0 or 1.
// A viewer panel's values are the module's, through get and set; a form
// panel's are kept here, through formGet and formSet.
#pragma once

#include <cstdint>
#include <deque>
#include <map>
#include <string>
#include <vector>

#include "host/panel_toolkit.h"
#include "simhost/services/panel_hint_reader.h"
#include "simhost/services/pick_search_limit.h"

namespace sim {

struct SimControl {
    uint32_t id = 0;
    std::string label;
    std::string controlClass;
};

struct SimDataRow {
    uint32_t id = 0;
    std::string name;
    std::string dataType;
};

struct SimPopup {
    host::PopupCountFunction count = nullptr;
    host::PopupNameFunction name = nullptr;
};

// A form panel's value as formSet left it: one of the three, by its data type.
struct SimFormValue {
    int32_t integer = 0;
    std::vector<double> numbers;
    std::string text;
};

// A value ID's controls that an enable hint turns on while the value is
// nonzero.
struct SimEnable {
    uint32_t valueId = 0;
    std::string message;  // what the toolkit tells a user who tries a control turned off
    std::vector<host::PanelHintWord> enabled;
};

// A panel as the toolkit holds it.
struct SimPanel {
    int type = 0;
    std::vector<SimControl> controls;
    std::vector<SimDataRow> data;
    host::PanelGetFunction get = nullptr;
    host::PanelSetFunction set = nullptr;
    void* instance = nullptr;
    std::map<uint32_t, void*> userData;           // from setData, per control (0: the panel)
    std::map<uint32_t, SimFormValue> formValues;  // from formSet, per value ID
    host::PanelChangeNotifyFunction changeNotify = nullptr;
    host::PanelDestroyNotifyFunction destroyNotify = nullptr;
    void* destroyData = nullptr;
    bool destroyed = false;
    std::vector<SimEnable> enables;                            // from enable hints
    std::map<uint32_t, const host::PanelHintWord*> hintLists;  // as handed over, per control ID
    std::map<uint32_t, std::string> labels;                    // from label hints
    std::map<uint32_t, SimPopup> popups;                       // from popup-function hints
    std::map<uint32_t, const char* const*> stringLists;        // from static-list hints, as handed over
    std::vector<std::string> hintsNotActedOn;                  // tags taken and left alone, by name, once each
    std::vector<std::string> hintProblems;                     // lists the toolkit could not read
    std::vector<std::string> typeProblems;                     // values of a type their control does not draw
};

// The data type the toolkit draws a control class with; "" for a class it
// does not know.
std::string dataTypeOfClass(const std::string& controlClass);

class PanelToolkitModel {
public:
    // Makes create answer null, as a toolkit out of resources would.
    bool failCreate = false;

    // What the host answers where it models no user: post and open show
    // nothing, so they say the panel could not be shown.
    static constexpr int kNotShown = 0;

    // One line per call, in order, e.g. "create(1, 2 controls)".
    const std::vector<std::string>& calls() const { return calls_; }
    const std::deque<SimPanel>& panels() const { return panels_; }
    // The panel, unless the toolkit did not make it or it was destroyed.
    SimPanel* panelOf(host::PanelId id);

    // A popup's entry count through its count function, or its static
    // list's length; 0 when the control has neither or the count is negative.
    int popupCount(const SimPanel& panel, uint32_t id) const;
    // One entry's text through the popup's name function or static list.
    std::string popupEntry(const SimPanel& panel, uint32_t id, int index) const;
    // Every entry text of a popup.
    std::vector<std::string> popupEntries(const SimPanel& panel, uint32_t id) const;
    // What a popup's functions receive: the user data given for its control.
    void* popupData(const SimPanel& panel, uint32_t id) const;
    // The control's current value: read through get on a viewer panel, as
    // kept on a form panel; null for none.
    const void* valuePointer(const SimPanel& panel, uint32_t id) const;
    const int32_t* valueOf(const SimPanel& panel, uint32_t id) const {
        return static_cast<const int32_t*>(valuePointer(panel, id));
    }
    // Whether an enable hint turns the control off now.
    bool isDisabled(const SimPanel& panel, uint32_t id) const;
    // Why the control labelled `label` takes nothing now, as the toolkit
    // tells a user who tries it: "" unless an enable hint turns it off.
    std::string disabledProblem(const SimPanel& panel, uint32_t id) const;
    // The control's data type as describe gave it; "" when it gave none.
    std::string dataTypeOf(const SimPanel& panel, uint32_t id) const;
    // The panel drawn as text: title (and the hints it left alone), then a
    // line per control: a popup's
    // current entry and the first kDrawnEntries entries, and how many more;
    // a field of numbers its value; every text in it shown bounded and on
    // its line (shownText).
    std::string draw(const SimPanel& panel) const;
    static constexpr int kDrawnEntries = 20;

    // Picks the entry named `entry` in the popup labelled `label`, through set;
    // the first entry of that name wins; a checkbox's entries are "off" and
    // "on". A control turned off takes no pick. Returns the refresh code, or a
    // negative value with `error` set. Only the first kMaxPickEntries entries
    // are looked through (pick_search_limit.h says why).
    int pick(SimPanel& panel, const std::string& label, const std::string& entry, std::string& error);
    // Why no entry can be picked in the control labelled `label`, or "": the
    // panel has no such control, or it is a field of numbers.
    std::string pickProblem(const SimPanel& panel, const std::string& label) const;
    // Enters `text` in the field of numbers labelled `label`, through set:
    // three numbers apart by blanks for distance3, one for distance, float
    // and time, each finite, as the host's fields take them; 0 or 1 for a
    // checkbox. A control turned off takes nothing. Returns the refresh code,
    // or a negative value with `error` set.
    int enter(SimPanel& panel, const std::string& label, const std::string& text, std::string& error);

    // What the toolkit's functions do, called through the table
    // (panel_toolkit_table.cpp) under the names of its slots.
    host::PanelId createPanel(int type, const host::PanelControl* controls);
    void describeValues(host::PanelId panel, const host::PanelDataDescription* data, host::PanelGetFunction get,
                        host::PanelSetFunction set);
    void applyHints(host::PanelId panel, uint32_t id, const host::PanelHintWord* hints);
    void setUserData(host::PanelId panel, uint32_t id, void* data);
    void* userData(host::PanelId panel, uint32_t id);
    void setViewedInstance(host::PanelId panel, void* instance);
    void destroyPanel(host::PanelId panel);
    void* formValue(host::PanelId panel, uint32_t id);
    void setFormValue(host::PanelId panel, uint32_t id, const void* value);
    void record(const std::string& call) { calls_.push_back(call); }

private:
    // A value the user gave, handed on as the toolkit does: to set on a
    // viewer panel, kept on a form panel, then to the change notification.
    // Returns the refresh code, or a negative value with `error` set.
    int userChanged(SimPanel& panel, uint32_t id, const void* value, std::string& error);
    void keepFormValue(SimPanel& panel, uint32_t id, const void* value);
    // Enters 0 or 1 in a checkbox, as enter does a field's numbers.
    int enterCheckbox(SimPanel& panel, const SimControl& control, const std::string& entered, std::string& error);
    void takeHint(SimPanel& panel, const ReadHint& hint);

    std::vector<std::string> calls_;
    std::deque<SimPanel> panels_;
};

}  // namespace sim
