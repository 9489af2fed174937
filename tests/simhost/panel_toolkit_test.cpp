// The simulated panel toolkit as a module meets it: each control class
// paired with its data type, popups from a static list, values entered in
// fields of numbers through set; a form panel's values kept by the toolkit,
// user data per control, the notifications, hints it leaves alone.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/panel_toolkit.h"
#include "simhost/services/panel_toolkit_model.h"

namespace {

const uint32_t kChoice = 0x8001, kPoint = 0x8002, kDelay = 0x8003, kUse = 0x8004, kLimit = 0x8005, kStrict = 0x8006;

// What a module keeps behind its panel: a choice, a point and a delay.
struct Values {
    int32_t choice = 1;
    double point[3] = {1, 2, 3};
    double delay = 0.5;
    std::vector<uint32_t> set;
};

void* HOST_CALL get(void* instance, uint32_t id) {
    Values* values = static_cast<Values*>(instance);
    if (id == kChoice) return &values->choice;
    if (id == kPoint) return values->point;
    if (id == kDelay) return &values->delay;
    return nullptr;
}

int HOST_CALL set(void* instance, uint32_t id, void* value) {
    Values* values = static_cast<Values*>(instance);
    values->set.push_back(id);
    if (id == kPoint)
        for (int n = 0; n < 3; ++n) values->point[n] = static_cast<const double*>(value)[n];
    if (id == kDelay) values->delay = *static_cast<const double*>(value);
    if (id == kChoice) values->choice = *static_cast<const int32_t*>(value);
    return host::kRefreshNone;
}

const char* const kEntries[] = {"Near", "Far", nullptr};
const host::PanelControl kControls[] = {
    {kChoice, "Choice", HOST_PANEL_CLASS_POPUP_CHOICE},
    {kPoint, "Point", HOST_PANEL_CLASS_DISTANCE3},
    {kDelay, "Delay", HOST_PANEL_CLASS_TIME},
    {0, nullptr, nullptr},
};
const host::PanelHintWord kHints[] = {
    host::kHintStringList, kChoice, reinterpret_cast<host::PanelHintWord>(kEntries), 0, 0,
};

// A viewer panel of the three controls over the module's values.
class ViewerPanel : public ::testing::Test {
protected:
    void SetUp() override {
        const host::PanelId id = toolkit.createPanel(host::kPanelTypeViewer, kControls);
        toolkit.describeValues(id, kData, get, set);
        toolkit.applyHints(id, host::kPanelControlId, kHints);
        toolkit.setViewedInstance(id, &values);
        panel = toolkit.panelOf(id);
        ASSERT_NE(panel, nullptr);
    }

    static constexpr host::PanelDataDescription kData[] = {
        {kChoice, "choice", HOST_PANEL_TYPE_INTEGER},
        {kPoint, "point", HOST_PANEL_TYPE_DISTANCE3},
        {kDelay, "delay", HOST_PANEL_TYPE_TIME},
        {0, nullptr, nullptr},
    };
    sim::PanelToolkitModel toolkit;
    Values values;
    sim::SimPanel* panel = nullptr;
    std::string error;
};

TEST_F(ViewerPanel, DrawsAStaticListAndFieldsOfNumbers) {
    EXPECT_TRUE(panel->hintProblems.empty());
    EXPECT_TRUE(panel->typeProblems.empty());
    EXPECT_EQ(toolkit.popupEntries(*panel, kChoice), (std::vector<std::string>{"Near", "Far"}));
    EXPECT_EQ(toolkit.popupEntry(*panel, kChoice, 2), "");
    EXPECT_EQ(toolkit.draw(*panel),
              "Panel \"\"\n"
              "  Choice (iPopChoice): [Far]  entries: Near | Far\n"
              "  Point (distance3): 1 2 3\n"
              "  Delay (time): 0.5\n");
}

TEST_F(ViewerPanel, EntersPicksAndNumbersThroughSet) {
    EXPECT_EQ(toolkit.pick(*panel, "Choice", "Near", error), host::kRefreshNone);
    EXPECT_EQ(values.choice, 0);
    EXPECT_EQ(toolkit.enter(*panel, "Point", " -1.5  0 1e3 ", error), host::kRefreshNone);
    EXPECT_EQ(values.point[0], -1.5);
    EXPECT_EQ(values.point[2], 1000);
    EXPECT_EQ(toolkit.enter(*panel, "Delay", "2", error), host::kRefreshNone);
    EXPECT_EQ(values.delay, 2);
    EXPECT_EQ(values.set, (std::vector<uint32_t>{kChoice, kPoint, kDelay}));
}

// Refused before set is called.
TEST_F(ViewerPanel, RefusesWhatAFieldCannotHold) {
    EXPECT_LT(toolkit.enter(*panel, "Point", "1 2 3 4", error), 0);
    EXPECT_EQ(error, "\"Point\" takes 3 numbers apart by blanks");
    EXPECT_LT(toolkit.enter(*panel, "Delay", "1e999", error), 0);
    EXPECT_EQ(error,
              "1e999 is out of range: a number lies from -1.7976931348623157e+308 to 1.7976931348623157e+308, "
              "and is 0 or at least 4.9406564584124654e-324 in size");
    EXPECT_LT(toolkit.enter(*panel, "Delay", "1e999x", error), 0);
    EXPECT_EQ(error, "\"Delay\" takes one number");
    EXPECT_LT(toolkit.enter(*panel, "Delay", "", error), 0);
    EXPECT_LT(toolkit.enter(*panel, "Choice", "1", error), 0);
    EXPECT_EQ(error, "\"Choice\" is no field of numbers (its data type is integer)");
    EXPECT_EQ(values.set, std::vector<uint32_t>());
    EXPECT_EQ(values.delay, 0.5);
}

// The host's fields hold finite numbers alone.
TEST_F(ViewerPanel, AFieldHoldsFiniteNumbersAlone) {
    for (const char* notFinite : {"nan", "inf", "-inf"}) {
        EXPECT_LT(toolkit.enter(*panel, "Delay", notFinite, error), 0) << notFinite;
        EXPECT_EQ(error, notFinite + std::string(" is not a finite number, which no field of numbers takes"));
    }
    EXPECT_LT(toolkit.enter(*panel, "Point", "1 nan 3", error), 0);
    EXPECT_EQ(error, "nan is not a finite number, which no field of numbers takes");
    EXPECT_EQ(values.set, std::vector<uint32_t>());
    EXPECT_EQ(values.delay, 0.5);
}

// What a module keeps behind a panel with a checkbox: whether to use a
// limit, the limit, and whether to be strict.
struct Limited {
    int32_t use = 0, strict = 1;
    double limit = 10;
    int sets = 0;
    static void* HOST_CALL get(void* instance, uint32_t id) {
        Limited* held = static_cast<Limited*>(instance);
        return id == kUse      ? static_cast<void*>(&held->use)
               : id == kStrict ? static_cast<void*>(&held->strict)
                               : &held->limit;
    }
    static int HOST_CALL set(void* instance, uint32_t id, void* value) {
        Limited* held = static_cast<Limited*>(instance);
        ++held->sets;
        if (id == kUse) held->use = *static_cast<const int32_t*>(value);
        if (id == kLimit) held->limit = *static_cast<const double*>(value);
        return host::kRefreshNone;
    }
};

// A checkbox that enables the two controls after it, and says why.
class CheckboxPanel : public ::testing::Test {
protected:
    void SetUp() override {
        const host::PanelId id = toolkit.createPanel(host::kPanelTypeViewer, kCheckboxControls);
        toolkit.describeValues(id, kCheckboxData, Limited::get, Limited::set);
        toolkit.applyHints(id, host::kPanelControlId, hints);
        toolkit.setViewedInstance(id, &values);
        panel = toolkit.panelOf(id);
        ASSERT_NE(panel, nullptr);
    }

    static constexpr host::PanelControl kCheckboxControls[] = {{kUse, "Use limit", HOST_PANEL_CLASS_BOOLEAN},
                                                               {kLimit, "Limit", HOST_PANEL_CLASS_FLOAT},
                                                               {kStrict, "Strict", HOST_PANEL_CLASS_BOOLEAN},
                                                               {0, nullptr, nullptr}};
    static constexpr host::PanelDataDescription kCheckboxData[] = {{kUse, "use", HOST_PANEL_TYPE_INTEGER},
                                                                   {kLimit, "limit", HOST_PANEL_TYPE_FLOAT},
                                                                   {kStrict, "strict", HOST_PANEL_TYPE_INTEGER},
                                                                   {0, nullptr, nullptr}};
    static constexpr char kWhy[] = "the limit is used only when asked for";
    const host::PanelHintWord hints[9] = {
        host::kHintEnable, kUse, reinterpret_cast<host::PanelHintWord>(kWhy), 0, 0, kLimit, kStrict, 0, 0};
    const std::string off = " is turned off while \"Use limit\" is off (" + std::string(kWhy) + ")";
    sim::PanelToolkitModel toolkit;
    Limited values;
    sim::SimPanel* panel = nullptr;
    std::string error;
};

// While the checkbox is off, the controls it enables are drawn disabled and
// take nothing.
TEST_F(CheckboxPanel, AnUncheckedBoxTurnsOffWhatItEnables) {
    EXPECT_EQ(sim::dataTypeOfClass(HOST_PANEL_CLASS_BOOLEAN), HOST_PANEL_TYPE_INTEGER);
    EXPECT_TRUE(panel->typeProblems.empty());
    EXPECT_TRUE(panel->hintProblems.empty());
    EXPECT_EQ(toolkit.draw(*panel),
              "Panel \"\"\n"
              "  Use limit (iBoolean): [off]  entries: off | on\n"
              "  Limit (float): 10  (disabled)\n"
              "  Strict (iBoolean): [on]  entries: off | on  (disabled)\n");
    EXPECT_LT(toolkit.enter(*panel, "Limit", "1", error), 0);
    EXPECT_EQ(error, "\"Limit\"" + off);
    EXPECT_LT(toolkit.pick(*panel, "Strict", "off", error), 0);
    EXPECT_EQ(error, "\"Strict\"" + off);
    EXPECT_LT(toolkit.enter(*panel, "Strict", "0", error), 0);
    EXPECT_EQ(error, "\"Strict\"" + off);
    EXPECT_EQ(values.sets, 0);
}

// A checkbox is picked "off" or "on" and set 0 or 1; checked, it turns on
// what it enables.
TEST_F(CheckboxPanel, ACheckboxIsPickedOrSetAndTurnsOnWhatItEnables) {
    EXPECT_EQ(toolkit.pick(*panel, "Use limit", "on", error), host::kRefreshNone);
    EXPECT_EQ(values.use, 1);
    EXPECT_EQ(toolkit.enter(*panel, "Limit", "2.5", error), host::kRefreshNone);
    EXPECT_EQ(values.limit, 2.5);
    EXPECT_EQ(toolkit.draw(*panel),
              "Panel \"\"\n"
              "  Use limit (iBoolean): [on]  entries: off | on\n"
              "  Limit (float): 2.5\n"
              "  Strict (iBoolean): [on]  entries: off | on\n");
    EXPECT_EQ(toolkit.enter(*panel, "Use limit", "0", error), host::kRefreshNone);
    EXPECT_EQ(values.use, 0);
    EXPECT_EQ(toolkit.enter(*panel, "Use limit", " 1 ", error), host::kRefreshNone);
    EXPECT_EQ(values.use, 1);
    EXPECT_EQ(values.sets, 4);
}

// Nothing else is a checkbox's value; a value set by the module other than 0 is on.
TEST_F(CheckboxPanel, ACheckboxIsOffOrOnAlone) {
    EXPECT_LT(toolkit.pick(*panel, "Use limit", "yes", error), 0);
    EXPECT_EQ(error, "\"Use limit\" has no entry \"yes\": a checkbox is off or on");
    for (const char* entered : {"2", "on", "1 1", ""}) {
        EXPECT_LT(toolkit.enter(*panel, "Use limit", entered, error), 0) << entered;
        EXPECT_EQ(error, "\"Use limit\" is a checkbox: it takes 0 or 1 (or --pick off or on)");
    }
    EXPECT_EQ(values.sets, 0);
    values.use = -7;
    EXPECT_NE(toolkit.draw(*panel).find("  Use limit (iBoolean): [on]"), std::string::npos);
}

TEST(PanelToolkit, AValueOfATypeItsControlDoesNotDrawIsAProblem) {
    EXPECT_EQ(sim::dataTypeOfClass(HOST_PANEL_CLASS_POPUP_CHOICE), HOST_PANEL_TYPE_INTEGER);
    EXPECT_EQ(sim::dataTypeOfClass(HOST_PANEL_CLASS_DISTANCE), HOST_PANEL_TYPE_DISTANCE);
    EXPECT_EQ(sim::dataTypeOfClass(HOST_PANEL_CLASS_FLOAT), HOST_PANEL_TYPE_FLOAT);
    EXPECT_EQ(sim::dataTypeOfClass("iSlider"), "");
    const host::PanelDataDescription mismatched[] = {
        {kChoice, "choice", HOST_PANEL_TYPE_INTEGER},
        {kPoint, "point", HOST_PANEL_TYPE_DISTANCE},
        {kDelay, "delay", HOST_PANEL_TYPE_FLOAT},
        {0, nullptr, nullptr},
    };
    sim::PanelToolkitModel toolkit;
    host::PanelId id = toolkit.createPanel(host::kPanelTypeViewer, kControls);
    toolkit.describeValues(id, mismatched, get, set);
    EXPECT_EQ(toolkit.panelOf(id)->typeProblems,
              (std::vector<std::string>{"control 0x8002 of class distance3 draws distance3 values, not distance",
                                        "control 0x8003 of class time draws time values, not float"}));
}

// What a form panel's module hears from the toolkit.
struct Heard {
    std::vector<uint32_t> changed;
    void* destroyedWith = nullptr;
};
Heard g_heard;

int HOST_CALL changed(host::PanelId, uint32_t, uint32_t value, int event) {
    if (event == host::kPanelEventValue) g_heard.changed.push_back(value);
    return host::kRefreshDraw;
}
void HOST_CALL destroyed(void* data) { g_heard.destroyedWith = data; }

// A popup whose entries are the texts its user data points to.
int HOST_CALL entryCount(void* data) { return data != nullptr ? 2 : 0; }
const char* HOST_CALL entryName(void* data, int index) { return static_cast<const char* const*>(data)[index]; }

const char* const kNearFar[] = {"Near", "Far"};
const char* const kUpDown[] = {"Up", "Down"};
const uint32_t kName = 0x8004, kOpaque = 0x8005, kOtherPopup = 0x8006;

// A form panel: its popup's entries from functions, a change and a destroy
// notification, the delay enabled by the choice, and hints the toolkit does
// not act on.
class FormPanel : public ::testing::Test {
protected:
    void SetUp() override {
        g_heard = Heard();
        toolkit.describeValues(id, kFormData, nullptr, nullptr);
        toolkit.applyHints(id, host::kPanelControlId, kFormHints);
        toolkit.setUserData(id, host::kPanelControlId, &panelData);
        panel = toolkit.panelOf(id);
        ASSERT_NE(panel, nullptr);
    }

    // Sets every value from variables that then go, as a module's may.
    void setEveryValue() {
        int32_t choice = 1;
        double point[3] = {1, 2, 3};
        double delay = 0.25;
        char name[] = "ball";
        toolkit.setFormValue(id, kChoice, &choice);
        toolkit.setFormValue(id, kPoint, point);
        toolkit.setFormValue(id, kDelay, &delay);
        toolkit.setFormValue(id, kName, name);
        toolkit.setFormValue(id, kOpaque, &delay);
    }

    static constexpr host::PanelDataDescription kFormData[] = {
        {kChoice, "choice", HOST_PANEL_TYPE_INTEGER},
        {kPoint, "point", HOST_PANEL_TYPE_DISTANCE3},
        {kDelay, "delay", HOST_PANEL_TYPE_TIME},
        {kName, "name", HOST_PANEL_TYPE_STRING},
        {kOpaque, "opaque", "vparam"},
        {0, nullptr, nullptr},
    };
    static const host::PanelHintWord kFormHints[];
    sim::PanelToolkitModel toolkit;
    const host::PanelId id = toolkit.createPanel(host::kPanelTypeForm, kControls);
    int panelData = 0;
    sim::SimPanel* panel = nullptr;
    std::string error;
};

const host::PanelHintWord FormPanel::kFormHints[] = {
    host::kHintPopupFuncs,
    kChoice,
    reinterpret_cast<host::PanelHintWord>(&entryCount),
    reinterpret_cast<host::PanelHintWord>(&entryName),
    host::kHintChangeNotify,
    reinterpret_cast<host::PanelHintWord>(&changed),
    host::kHintDestroyNotify,
    reinterpret_cast<host::PanelHintWord>(&destroyed),
    0,
    host::kHintEnable,
    kChoice,
    0,
    0,
    0,
    kDelay,
    host::kHintEnd,
    host::kHintMin,
    kDelay,
    0,
    host::kHintDividerAdd,
    kChoice,
    host::kHintEnd,
    host::kHintMin,
    kPoint,
    1,
    host::kHintEnd,
};

// Copies by data type, so the module's own variables may go; null unsets.
TEST_F(FormPanel, KeepsACopyOfEachValueSet) {
    setEveryValue();
    EXPECT_EQ(*static_cast<const int32_t*>(toolkit.formValue(id, kChoice)), 1);
    EXPECT_EQ(static_cast<const double*>(toolkit.formValue(id, kPoint))[2], 3);
    EXPECT_STREQ(static_cast<const char*>(toolkit.formValue(id, kName)), "ball");
    EXPECT_EQ(toolkit.formValue(id, kOpaque), nullptr);  // a type the toolkit cannot size is not kept
    toolkit.setFormValue(id, kName, nullptr);
    EXPECT_EQ(toolkit.formValue(id, kName), nullptr);
}

// A popup is handed its own control's data, never the panel's.
TEST_F(FormPanel, HandsAPopupItsOwnControlsData) {
    EXPECT_EQ(toolkit.popupEntries(*panel, kChoice), std::vector<std::string>{});
    toolkit.setUserData(id, kChoice, const_cast<char**>(kNearFar));
    toolkit.setUserData(id, kOtherPopup, const_cast<char**>(kUpDown));
    EXPECT_EQ(toolkit.userData(id, kChoice), kNearFar);
    EXPECT_EQ(toolkit.popupEntries(*panel, kChoice), (std::vector<std::string>{"Near", "Far"}));
}

// Hints it does not act on are named once each; the delay is enabled by the choice.
TEST_F(FormPanel, NamesTheHintsItDoesNotActOn) {
    setEveryValue();
    toolkit.setUserData(id, kChoice, const_cast<char**>(kNearFar));
    EXPECT_EQ(panel->hintProblems, std::vector<std::string>{});
    EXPECT_EQ(toolkit.draw(*panel),
              "Panel \"\"  (hints not acted on: XPTAG_MIN, XPTAG_DIVADD)\n"
              "  Choice (iPopChoice): [Far]  entries: Near | Far\n"
              "  Point (distance3): 1 2 3\n"
              "  Delay (time): 0.25\n");
}

// The user's change is kept, then told; its refresh is the notification's.
// Turned off by the choice, the delay takes nothing, and nothing is told.
TEST_F(FormPanel, KeepsAChangeThenTellsTheModule) {
    setEveryValue();
    toolkit.setUserData(id, kChoice, const_cast<char**>(kNearFar));
    EXPECT_EQ(toolkit.enter(*panel, "Delay", "2", error), host::kRefreshDraw);
    EXPECT_EQ(toolkit.pick(*panel, "Choice", "Near", error), host::kRefreshDraw);
    EXPECT_EQ(g_heard.changed, (std::vector<uint32_t>{kDelay, kChoice}));
    EXPECT_EQ(*toolkit.valueOf(*panel, kChoice), 0);
    EXPECT_NE(toolkit.draw(*panel).find("  Delay (time): 2  (disabled)\n"), std::string::npos) << toolkit.draw(*panel);
    EXPECT_LT(toolkit.enter(*panel, "Delay", "3", error), 0);
    EXPECT_EQ(error, "\"Delay\" is turned off while \"Choice\" is 0");
    EXPECT_EQ(g_heard.changed.size(), 2u);
}

// Destroyed, it tells the module with the panel's data and answers no more.
TEST_F(FormPanel, TellsTheModuleOfItsEndAndAnswersNoMore) {
    setEveryValue();
    toolkit.destroyPanel(id);
    EXPECT_EQ(g_heard.destroyedWith, &panelData);
    EXPECT_EQ(toolkit.panelOf(id), nullptr);
    EXPECT_EQ(toolkit.formValue(id, kChoice), nullptr);
    g_heard.destroyedWith = nullptr;
    toolkit.destroyPanel(id);
    EXPECT_EQ(g_heard.destroyedWith, nullptr);
}

}  // namespace
