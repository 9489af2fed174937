// Item IDs that change under the instance: the items it reports using, and
// renumbering by the host's pairs.
#include <cstring>
#include <vector>

#include "channel/distance_evaluation.h"
#include "channel/item_renumbering.h"
#include "panel/reference_panel.h"
#include "persist/instance_block.h"
#include "simhost/services/block_states.h"
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

    // Ground deleted: Ball and Tree move up a place.
    void deleteGround() {
        change({object(0), nullptr, object(1), object(0), object(2), object(1)});
        scene.objects.erase(scene.objects.begin());
    }

    int32_t choice(uint32_t control) { return *kelto::referenceValue(instance, control); }

    DistanceInstance instance;
};

TEST_F(Renumbering, AllPairsHoldAtOnceAndEqualPairsMoveNothing) {
    evaluate();
    // A swap, and a chain: each reference moves once, by its old ID.
    change({object(0), object(1), object(1), object(0), camera(0), camera(1), camera(1), camera(0)});
    EXPECT_EQ(instance.itemId, object(0));
    EXPECT_EQ(instance.cameraId, camera(1));
    change({object(0), object(2), object(2), object(1)});
    EXPECT_EQ(instance.itemId, object(2));
    EXPECT_STREQ(instance.itemName, "Ball");

    // Equal IDs say only that the items' data changed.
    DistanceInstance before = instance;
    change({object(2), object(2), camera(1), camera(1)});
    EXPECT_EQ(std::memcmp(&instance, &before, sizeof instance), 0);

    // The items used: each reference's once, ended by null.
    instance.itemId = camera(1);
    const host::ItemId* used = kelto::usedItems(instance);
    ASSERT_NE(used, nullptr);
    EXPECT_EQ(std::vector<host::ItemId>(used, used + 2), (std::vector<host::ItemId>{camera(1), nullptr}));
}

TEST_F(Renumbering, AnUnrelatedDeletionMovesTheChoiceAndTheItemIsStillFollowed) {
    EXPECT_EQ(evaluate(), 13.0);
    EXPECT_EQ(choice(kelto::kReferenceItemControl), 2);
    deleteGround();
    EXPECT_EQ(instance.itemId, object(0));
    EXPECT_EQ(evaluate(), 13.0);
    EXPECT_STREQ(instance.itemName, "Ball");
    EXPECT_EQ(choice(kelto::kReferenceItemControl), 1);
    EXPECT_EQ(choice(kelto::kReferenceCameraControl), 1);
}

// A host may list the pairs that change nothing too, and first. Its list
// lies here in a buffer of the host's, after another list that has ended:
// every pair is read, and nothing outside the list.
TEST_F(Renumbering, PairsThatChangeNothingMayComeFirst) {
    EXPECT_EQ(evaluate(), 13.0);
    EXPECT_EQ(choice(kelto::kReferenceItemControl), 2);
    const host::ItemId hostBuffer[] = {nullptr, nullptr,   camera(0), camera(0), camera(1), camera(1), object(0),
                                       nullptr, object(1), object(0), object(2), object(1), nullptr};
    const size_t kListStart = 2;
    kelto::renumberReferences(instance, hostBuffer + kListStart);
    scene.objects.erase(scene.objects.begin());
    EXPECT_EQ(instance.itemId, object(0));
    EXPECT_EQ(choice(kelto::kReferenceItemControl), 1);
}

TEST_F(Renumbering, ADeletedReferenceBecomesNoneAndSavesAsNone) {
    evaluate();
    change({object(1), nullptr, object(2), object(1)});
    scene.objects.erase(scene.objects.begin() + 1);
    EXPECT_EQ(instance.itemId, nullptr);
    EXPECT_EQ(instance.cameraId, camera(0));
    EXPECT_EQ(choice(kelto::kReferenceItemControl), 0);
    EXPECT_EQ(evaluate(4.5), 4.5);  // the channel keeps its own value
    sim::BlockWriter writer;
    kelto::saveInstanceBlock(instance, writer.state());
    EXPECT_EQ(writer.lines(), (std::vector<std::string>{"KELTO_START", "REFERENCE_ITEM", "none", "REFERENCE_CAMERA",
                                                        "Camera", "KELTO_END"}));
}

TEST_F(Renumbering, AnInstanceNotYetResolvedIsLeftToItsNames) {
    DistanceInstance before = instance;
    change({object(1), nullptr});
    EXPECT_EQ(std::memcmp(&instance, &before, sizeof instance), 0);

    // A pick made before resolution is renumbered, but deleting its item
    // leaves the stored name, still the reference the first evaluation finds.
    kelto::setReferenceValue(instance, kelto::kReferenceItemControl, 1);
    deleteGround();
    EXPECT_EQ(instance.itemId, nullptr);
    EXPECT_EQ(evaluate(), 13.0);
    EXPECT_EQ(instance.itemId, object(0));
}

}  // namespace
