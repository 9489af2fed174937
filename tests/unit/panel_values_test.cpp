// The panel's get and set, called as the toolkit calls them.
#include <cstring>

#include "channel/distance_instance.h"
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

    DistanceInstance instance;
};

TEST_F(PanelValues, GetPointsIntoTheInstanceForBothControlsOnly) {
    EXPECT_EQ(kelto::referenceValue(instance, 0x8001), &instance.itemChoice);
    EXPECT_EQ(kelto::referenceValue(instance, 0x8002), &instance.cameraChoice);
    for (uint32_t other : {0u, 0x8000u, 0x8003u, 0xFFFFFFFFu}) EXPECT_EQ(kelto::referenceValue(instance, other), nullptr);
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

}  // namespace
