// Item IDs that change under the instance: the items it reports using, and
// renumbering by the host's pairs.
#include <cstring>
#include <vector>

#include "channel/distance_evaluation.h"
#include "channel/distance_instance.h"
#include "channel/item_renumbering.h"
#include "panel/reference_panel.h"
#include "persist/instance_block.h"
#include "simhost/scene_states.h"
#include "unit_support.h"

namespace {

using kelto::DistanceInstance;

class Renumbering : public unit::SceneFixture {
protected:
    void SetUp() override {
        scene.addObject("Ground", {0, 0, 5});
        scene.addObject("Ball", {0, 0, 0});
        scene.addObject("Tree", {0, 0, 7});
        scene.addCamera("Camera", {3, 4, 12});
        scene.addCamera("Close-up", {0, 0, 2});
        SceneFixture::SetUp();
        std::memset(&instance, 0, sizeof instance);
        std::strcpy(instance.itemName, "Ball");
        std::strcpy(instance.cameraName, "Camera");
    }

    double evaluate(double before = -1) {
        double distance = before;
        return kelto::evaluateDistance(instance, 0, distance) ? distance : before;
    }

    void change(std::vector<host::ItemId> pairs) {
        pairs.push_back(nullptr);
        kelto::renumberReferences(instance, pairs.data());
    }

    int32_t choice(uint32_t control) { return *kelto::referenceValue(instance, control); }

    std::vector<host::ItemId> used() {
        std::vector<host::ItemId> ids;
        const host::ItemId* list = kelto::usedItems(instance);
        for (size_t at = 0; list != nullptr && at <= kelto::kReferenceCount && list[at] != nullptr; ++at)
            ids.push_back(list[at]);
        return ids;
    }

    DistanceInstance instance;
};

TEST_F(Renumbering, UsedItemsAreTheReferenceIdsEndedByNull) {
    EXPECT_EQ(kelto::usedItems(instance), nullptr);  // names only, not resolved yet
    evaluate();
    const host::ItemId* list = kelto::usedItems(instance);
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list[0], object(1));
    EXPECT_EQ(list[1], camera(0));
    EXPECT_EQ(list[2], nullptr);

    instance.cameraId = nullptr;
    EXPECT_EQ(used(), std::vector<host::ItemId>{object(1)});
    instance.itemId = nullptr;
    instance.cameraId = camera(1);
    EXPECT_EQ(used(), std::vector<host::ItemId>{camera(1)});
    // One item behind both references is listed once.
    instance.itemId = camera(1);
    EXPECT_EQ(used(), std::vector<host::ItemId>{camera(1)});
    instance.cameraId = nullptr;
    instance.itemId = nullptr;
    EXPECT_EQ(kelto::usedItems(instance), nullptr);
}

TEST_F(Renumbering, AllPairsHoldAtOnce) {
    evaluate();
    // A swap: each reference moves once, by its old ID.
    change({object(0), object(1), object(1), object(0)});
    EXPECT_EQ(instance.itemId, object(0));
    EXPECT_EQ(instance.cameraId, camera(0));
    // A chain: the camera goes to the second camera, not on to the first.
    change({camera(0), camera(1), camera(1), camera(0)});
    EXPECT_EQ(instance.cameraId, camera(1));
    change({object(0), object(2), object(2), object(1)});
    EXPECT_EQ(instance.itemId, object(2));
    EXPECT_STREQ(instance.itemName, "Ball");
    EXPECT_STREQ(instance.cameraName, "Camera");

    // With no pair, nothing moves and the choices stand.
    DistanceInstance before = instance;
    change({});
    EXPECT_EQ(std::memcmp(&instance, &before, sizeof instance), 0);
}

TEST_F(Renumbering, AnUnrelatedDeletionMovesTheChoiceAndTheDistanceFollowsTheItem) {
    EXPECT_EQ(evaluate(), 13.0);
    EXPECT_EQ(choice(kelto::kReferenceItemControl), 2);
    // Ground is deleted: Ball and Tree move up a place.
    change({object(0), nullptr, object(1), object(0), object(2), object(1)});
    scene.objects.erase(scene.objects.begin());
    EXPECT_EQ(instance.itemId, object(0));
    EXPECT_EQ(choice(kelto::kReferenceItemControl), 1);
    EXPECT_EQ(choice(kelto::kReferenceCameraControl), 1);
    EXPECT_EQ(evaluate(), 13.0);
    EXPECT_STREQ(instance.itemName, "Ball");
}

TEST_F(Renumbering, ADeletedReferenceBecomesNoneAndForgetsItsName) {
    evaluate();
    change({object(1), nullptr, object(2), object(1)});
    scene.objects.erase(scene.objects.begin() + 1);
    EXPECT_EQ(instance.itemId, nullptr);
    EXPECT_STREQ(instance.itemName, "");
    EXPECT_EQ(instance.cameraId, camera(0));
    EXPECT_STREQ(instance.cameraName, "Camera");
    EXPECT_EQ(choice(kelto::kReferenceItemControl), 0);
    EXPECT_EQ(used(), std::vector<host::ItemId>{camera(0)});
    EXPECT_EQ(evaluate(4.5), 4.5);  // the channel keeps its own value
    sim::BlockWriter writer;
    kelto::saveInstanceBlock(instance, writer.state());
    EXPECT_EQ(writer.lines(), (std::vector<std::string>{"KELTO_START", "REFERENCE_ITEM", "none", "REFERENCE_CAMERA",
                                                         "Camera", "KELTO_END"}));

    // A camera picked then deleted goes the same way.
    kelto::setReferenceValue(instance, kelto::kReferenceCameraControl, 2);
    change({camera(1), nullptr});
    EXPECT_EQ(instance.cameraId, nullptr);
    EXPECT_STREQ(instance.cameraName, "");
}

TEST_F(Renumbering, EqualPairsSayOnlyThatDataChanged) {
    evaluate();
    DistanceInstance before = instance;
    change({object(1), object(1), camera(0), camera(0)});
    EXPECT_EQ(std::memcmp(&instance, &before, sizeof instance), 0);
}

TEST_F(Renumbering, AnInstanceNotYetResolvedIsLeftToItsNames) {
    DistanceInstance before = instance;
    change({object(0), nullptr, object(1), object(0), object(2), object(1)});
    EXPECT_EQ(std::memcmp(&instance, &before, sizeof instance), 0);

    // A pick before resolution is renumbered, but its deletion leaves the
    // stored name, which is still the reference the first evaluation finds.
    kelto::setReferenceValue(instance, kelto::kReferenceItemControl, 1);
    change({object(0), nullptr, object(1), object(0), object(2), object(1)});
    scene.objects.erase(scene.objects.begin());
    EXPECT_EQ(instance.itemId, nullptr);
    EXPECT_STREQ(instance.itemName, "Ball");
    EXPECT_EQ(evaluate(), 13.0);
    EXPECT_EQ(instance.itemId, object(0));
    EXPECT_EQ(choice(kelto::kReferenceItemControl), 1);
}

TEST_F(Renumbering, APickAfterRenumberingKeepsTheOtherChoice) {
    evaluate();
    change({camera(0), camera(1), camera(1), camera(0)});
    std::swap(scene.cameras[0], scene.cameras[1]);
    // Set before any get: the camera's stale choice must come from its new place.
    kelto::setReferenceValue(instance, kelto::kReferenceItemControl, 3);
    EXPECT_EQ(instance.itemId, object(2));
    EXPECT_EQ(choice(kelto::kReferenceItemControl), 3);
    EXPECT_EQ(choice(kelto::kReferenceCameraControl), 2);
}

}  // namespace
