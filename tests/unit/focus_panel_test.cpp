// Kelto Focus's panel values, read and written as the toolkit does, and the
// description line that follows the measure, and the panel's hints.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>

#include "focus/focus_panel.h"
#include "focus_support.h"

namespace {

using kelto::FocusInstance;

class FocusPanel : public unit::FocusScene {
protected:
    void SetUp() override {
        scene.addObject("Ground");
        scene.addObject("Ball");
        scene.addCamera("Camera");
        FocusScene::SetUp();
        instance = named("Ball", "Camera");
    }

    int set(uint32_t control, const void* value) { return kelto::setFocusValue(instance, control, value); }
    int setNumber(uint32_t control, double value) { return set(control, &value); }
    int setInteger(uint32_t control, int32_t value) { return set(control, &value); }

    template <typename Value>
    const Value& shown(uint32_t control) {
        return *static_cast<const Value*>(kelto::focusValue(instance, control));
    }

    FocusInstance instance;
};

TEST_F(FocusPanel, GetShowsEachSettingAsItsDataTypeAndNothingForOtherControls) {
    instance.settings = {kelto::kMeasureAlongView, {1.5, -2, 3}, 0.25, 0.75};
    EXPECT_EQ(shown<int32_t>(kelto::kMeasureControl), 1);
    const double(&offset)[3] = shown<double[3]>(kelto::kSubjectOffsetControl);
    EXPECT_EQ(offset[0], 1.5);
    EXPECT_EQ(offset[1], -2);
    EXPECT_EQ(offset[2], 3);
    EXPECT_EQ(shown<double>(kelto::kFocusOffsetControl), 0.25);
    EXPECT_EQ(shown<double>(kelto::kLagControl), 0.75);
    EXPECT_EQ(shown<int32_t>(kelto::kReferenceCameraControl), 0);
    for (uint32_t control : {0u, 0x8000u, 0x8007u, 0xFFFFFFFFu})
        EXPECT_EQ(kelto::focusValue(instance, control), nullptr) << control;
}

TEST_F(FocusPanel, SetStoresGoodValuesAndRefusesTheRestKeepingWhatWasThere) {
    using host::kRefreshNone;
    using host::kRefreshValues;
    EXPECT_EQ(setInteger(kelto::kMeasureControl, 1), kRefreshNone);
    EXPECT_EQ(setInteger(kelto::kMeasureControl, 2), kRefreshValues);
    EXPECT_EQ(setInteger(kelto::kMeasureControl, -1), kRefreshValues);
    EXPECT_EQ(instance.settings.measure, kelto::kMeasureAlongView);

    const double offset[3] = {0.5, -1, 2}, notFinite[3] = {1, INFINITY, 3};
    EXPECT_EQ(set(kelto::kSubjectOffsetControl, offset), kRefreshNone);
    EXPECT_EQ(set(kelto::kSubjectOffsetControl, notFinite), kRefreshValues);
    EXPECT_EQ(std::memcmp(instance.settings.subjectOffset, offset, sizeof offset), 0);

    EXPECT_EQ(setNumber(kelto::kFocusOffsetControl, -0.125), kRefreshNone);
    EXPECT_EQ(setNumber(kelto::kFocusOffsetControl, NAN), kRefreshValues);
    EXPECT_EQ(instance.settings.focusOffset, -0.125);

    EXPECT_EQ(setNumber(kelto::kLagControl, 0.5), kRefreshNone);
    EXPECT_EQ(setNumber(kelto::kLagControl, INFINITY), kRefreshValues);
    EXPECT_EQ(instance.settings.lag, 0.5);
    // A negative lag becomes 0, shown at once.
    EXPECT_EQ(setNumber(kelto::kLagControl, -2), kRefreshValues);
    EXPECT_EQ(instance.settings.lag, 0.0);
    EXPECT_EQ(setNumber(kelto::kLagControl, -0.0), kRefreshNone);
    EXPECT_FALSE(std::signbit(instance.settings.lag)) << "-0 is kept as 0";

    // Other controls change nothing.
    FocusInstance before;
    std::memcpy(&before, &instance, sizeof before);
    EXPECT_EQ(setInteger(0x8007, 1), kRefreshNone);
    EXPECT_EQ(setInteger(0, 1), kRefreshNone);
    EXPECT_EQ(std::memcmp(&instance, &before, sizeof instance), 0);
}

TEST_F(FocusPanel, ThePopupsPointTheReferencesAtTheChosenItemsAsKeltosDo) {
    EXPECT_EQ(setInteger(kelto::kReferenceItemControl, 1), host::kRefreshNone);
    EXPECT_EQ(instance.itemId, object(0));
    EXPECT_EQ(shown<int32_t>(kelto::kReferenceItemControl), 1);
    EXPECT_EQ(setInteger(kelto::kReferenceCameraControl, 0), host::kRefreshValues);
    EXPECT_EQ(instance.cameraId, nullptr);
}

TEST_F(FocusPanel, TheDescriptionSaysTheMeasureInForce) {
    FocusInstance* created = kelto::FocusLifecycle::create();
    ASSERT_NE(created, nullptr);
    EXPECT_STREQ(created->description, "KELTO FOCUS   Straight line");
    kelto::FocusLifecycle::destroy(created);

    EXPECT_STREQ(kelto::FocusLifecycle::describe(instance), "KELTO FOCUS   Straight line");
    setInteger(kelto::kMeasureControl, kelto::kMeasureAlongView);
    const char* line = kelto::FocusLifecycle::describe(instance);
    EXPECT_EQ(line, instance.description);
    EXPECT_STREQ(line, "KELTO FOCUS   Along view");
}

// The panel opens as Kelto's does, under its own title, and then lists the
// measures' names for the measure popup.
TEST(FocusPanelHints, OpenAsKeltosThenListTheMeasures) {
    kelto::OpeningHints opening = kelto::openingHints(kelto::kFocusPanelTitle);
    const host::PanelHintWord* hints = kelto::kFocusPanel.hints;
    EXPECT_TRUE(std::equal(opening.begin(), opening.end(), hints));
    EXPECT_EQ(hints[kelto::kOpeningHintWords], host::kHintStringList);
    EXPECT_EQ(hints[kelto::kOpeningHintWords + 1], kelto::kMeasureControl);
    EXPECT_EQ(hints[kelto::kOpeningHintWords + 2], kelto::hintWord(kelto::kMeasureNames));
}

}  // namespace
