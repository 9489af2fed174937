// The panel's get and set, called as the toolkit calls them, and its hints.
#include <algorithm>
#include <cstring>
#include <iterator>

#include "channel/distance_evaluation.h"
#include "channel/distance_instance.h"
#include "channel/item_renumbering.h"
#include "panel/reference_panel.h"
#include "unit_support.h"

namespace {

using kelto::DistanceInstance;

class PanelValues : public unit::SceneFixture {
protected:
    void SetUp() override {
        scene.addObject("Ground");
        scene.addObject("Ball");
        scene.addCamera("Camera");
        SceneFixture::SetUp();
        std::memset(&instance, 0, sizeof instance);
        std::strcpy(instance.itemName, "Ball");
    }

    int set(uint32_t control, int32_t value) { return kelto::setReferenceValue(instance, control, value); }

    // The value the toolkit shows, read through the pointer get returns.
    int32_t shown(DistanceInstance& of, uint32_t control) {
        const int32_t* value = kelto::referenceValue(of, control);
        return value != nullptr ? *value : -1;
    }

    DistanceInstance instance;
};

TEST_F(PanelValues, GetShowsEachInstancesOwnChoicesForBothControlsOnly) {
    DistanceInstance other;
    std::memset(&other, 0, sizeof other);
    EXPECT_EQ(set(kelto::kReferenceItemControl, 2), 0);
    EXPECT_EQ(set(kelto::kReferenceCameraControl, 1), 0);
    EXPECT_EQ(kelto::setReferenceValue(other, kelto::kReferenceItemControl, 1), 0);
    EXPECT_EQ(shown(instance, kelto::kReferenceItemControl), 2);
    EXPECT_EQ(shown(instance, kelto::kReferenceCameraControl), 1);
    EXPECT_EQ(shown(other, kelto::kReferenceItemControl), 1);
    EXPECT_EQ(shown(other, kelto::kReferenceCameraControl), 0);
    for (uint32_t control : {0u, 0x8000u, 0x8003u, 0xFFFFFFFFu})
        EXPECT_EQ(kelto::referenceValue(instance, control), nullptr) << control;
}

// Items deleted since the choices were set leave them stale; a choice set
// then is shown as set, and the other popup's shows its item's new place.
TEST_F(PanelValues, AChoiceSetWhileTheOthersAreStaleIsShownAsSet) {
    double distance = 0;
    kelto::evaluateDistance(instance, 0, distance);
    ASSERT_EQ(shown(instance, kelto::kReferenceItemControl), 2);
    host::ItemId groundDeleted[] = {object(0), nullptr, object(1), object(0), nullptr};
    kelto::renumberReferences(instance, groundDeleted);
    scene.objects.erase(scene.objects.begin());

    // Beyond the cameras: no camera, and the value is kept.
    EXPECT_EQ(set(kelto::kReferenceCameraControl, 5), 0);
    EXPECT_EQ(shown(instance, kelto::kReferenceItemControl), 1);
    EXPECT_EQ(shown(instance, kelto::kReferenceCameraControl), 5);
}

TEST_F(PanelValues, SetPointsTheReferenceAtTheChosenItem) {
    EXPECT_EQ(set(0x8001, 2), 0);
    EXPECT_EQ(instance.itemChoice, 2);
    EXPECT_EQ(instance.itemId, object(1));
    EXPECT_EQ(set(0x8002, 1), 0);
    EXPECT_EQ(instance.cameraId, camera(0));

    EXPECT_EQ(set(0x8001, 0), 1);
    EXPECT_EQ(instance.itemChoice, 0);
    EXPECT_EQ(instance.itemId, nullptr);
    EXPECT_EQ(set(0x8002, 0), 1);
    EXPECT_EQ(instance.cameraId, nullptr);

    // Out of range: the value is kept, the item is none.
    EXPECT_EQ(set(0x8001, 5), 0);
    EXPECT_EQ(instance.itemChoice, 5);
    EXPECT_EQ(instance.itemId, nullptr);
    EXPECT_EQ(set(0x8001, -1), 0);
    EXPECT_EQ(instance.itemId, nullptr);

    // Names and resolution are not the panel's to change.
    EXPECT_STREQ(instance.itemName, "Ball");
    EXPECT_EQ(instance.resolved, 0);
}

TEST_F(PanelValues, SetIgnoresOtherControls) {
    set(0x8001, 2);
    DistanceInstance before = instance;
    EXPECT_EQ(set(0x8003, 1), 0);
    EXPECT_EQ(set(0, 0), 0);
    EXPECT_EQ(std::memcmp(&instance, &before, sizeof instance), 0);
}

// The toolkit's view of the popups: a value of another control is never read,
// so a set that names one may point anywhere.
TEST_F(PanelValues, PopupValuesAnswerTheToolkitForThePopupsAlone) {
    int32_t camera = 1;
    EXPECT_EQ(kelto::setPopupValue(instance, kelto::kReferenceCameraControl, &camera), 0);
    EXPECT_EQ(*static_cast<int32_t*>(kelto::popupValue(instance, kelto::kReferenceCameraControl)), 1);
    DistanceInstance before = instance;
    EXPECT_EQ(kelto::setPopupValue(instance, 0x8003, nullptr), 0);
    EXPECT_EQ(kelto::popupValue(instance, 0x8003), nullptr);
    EXPECT_EQ(std::memcmp(&instance, &before, sizeof instance), 0);
}

// Every panel's hint list opens alike, with its own title, and goes on with
// its own hints, which end it.
TEST(PanelHints, APanelsHintsAreItsTitleAndThePopupsThenItsOwn) {
    const char title[] = "Panel";
    const host::PanelHintWord own[] = {host::kHintStringList, 0x8003, 0, 0, 0};
    auto hints = kelto::panelHints(title, own);
    kelto::OpeningHints opening = kelto::openingHints(title);
    ASSERT_EQ(hints.size(), opening.size() + 5);
    EXPECT_TRUE(std::equal(opening.begin(), opening.end(), hints.begin()));
    EXPECT_TRUE(std::equal(std::begin(own), std::end(own), hints.begin() + opening.size()));
    EXPECT_EQ(opening[0], host::kHintLabel);
    EXPECT_EQ(opening[2], kelto::hintWord(title));
    EXPECT_EQ(opening[4], host::kHintPopupFuncs);
    EXPECT_EQ(opening[5], kelto::kReferenceItemControl);
    EXPECT_EQ(opening[8], host::kHintPopupFuncs);
    EXPECT_EQ(opening[9], kelto::kReferenceCameraControl);

    // Kelto's panel is built from the same opening.
    kelto::OpeningHints keltoOpening = kelto::openingHints(kelto::kReferencePanelTitle);
    EXPECT_TRUE(std::equal(keltoOpening.begin(), keltoOpening.end(), kelto::kReferencePanel.hints));
}

}  // namespace
