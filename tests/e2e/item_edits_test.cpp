// Items deleted, added and renamed under kelto.p, with the host renumbering
// its item IDs and announcing them through the module's item operations.
#include "e2e_support.h"
#include "simhost/edit_step.h"
#include "simhost/item_ids.h"

namespace {

using e2e::referenceBlock;

class EditFixture : public e2e::ChannelFixture {
protected:
    // Makes the edit as the host does, for every instance; its log line.
    std::string edit(const std::string& text) {
        sim::SceneEdit parsedEdit;
        std::string error;
        EXPECT_TRUE(sim::parseSceneEdit(text + "@0", parsedEdit, error)) << error;
        sim::EditOutcome outcome = sim::makeEdit(session, handler, instances, parsedEdit);
        EXPECT_EQ(outcome.error, "");
        return outcome.line;
    }

    // The item popup's value as the panel reads it.
    int32_t itemChoice(host::InstanceHandle instance) {
        sim::InterfaceBinding binding;
        EXPECT_EQ(binding.activate(*module, e2e::server(*module, HOST_CHANNEL_INTERFACE_CLASS), instance),
                  host::kActivationOk);
        sim::SimPanel* panel = session.panels().panelOf(binding.record().panel);
        if (panel == nullptr) return -1;
        const int32_t* value = session.panels().valueOf(*panel, 0x8001);
        return value != nullptr ? *value : -1;
    }
};

TEST_F(EditFixture, AnUnrelatedDeletionRenumbersTheReferenceWhichFollowsItsItem) {
    scene.addObject("Tree", {0, 0, 1});
    host::InstanceHandle instance = loaded(referenceBlock("Ball", "Close-up"));
    EXPECT_EQ(evaluate(instance), 2.0);
    EXPECT_EQ(itemChoice(instance), 2);
    host::InstanceHandle copy = create();
    handler.copy(copy, instance);

    EXPECT_EQ(edit("delete Ground"), "delete Ground at frame 0: 2 IDs renumbered; uses Ball, Close-up; uses Ball, Close-up");
    EXPECT_EQ(evaluate(instance), 2.0);
    EXPECT_EQ(evaluate(copy), 2.0);
    EXPECT_EQ(itemChoice(instance), 1);
    // The cameras before the reference camera go too.
    EXPECT_EQ(edit("delete Camera"), "delete Camera at frame 0: 1 ID renumbered; uses Ball, Close-up; uses Ball, Close-up");
    EXPECT_EQ(evaluate(instance), 2.0);
    EXPECT_EQ(saved(instance), referenceBlock("Ball", "Close-up"));
}

TEST_F(EditFixture, ADeletedReferenceLeavesTheChannelItsOwnValueAndSavesAsNone) {
    host::InstanceHandle instance = loaded(referenceBlock("Ball", "Camera"));
    EXPECT_EQ(evaluate(instance), 13.0);
    EXPECT_EQ(edit("delete Ball"), "delete Ball at frame 0: 0 IDs renumbered; uses Camera");
    EXPECT_TRUE(std::isnan(evaluate(instance)));
    EXPECT_EQ(itemChoice(instance), 0);
    EXPECT_EQ(saved(instance), referenceBlock("none", "Camera"));
    // A later object of the same name is not taken for it.
    edit("add object Ball");
    EXPECT_TRUE(std::isnan(evaluate(instance)));

    EXPECT_EQ(edit("delete Camera"), "delete Camera at frame 0: 1 ID renumbered; uses nothing");
    EXPECT_EQ(saved(instance), referenceBlock("none", "none"));
}

TEST_F(EditFixture, ASwapAnnouncedAtOnceMovesEachReferenceOnce) {
    host::InstanceHandle instance = loaded(referenceBlock("Ball", "Camera"));
    EXPECT_EQ(evaluate(instance), 13.0);
    host::ItemId first = sim::itemIdAt(host::kItemTypeCamera, 0), second = sim::itemIdAt(host::kItemTypeCamera, 1);
    host::ItemId pairs[] = {first, second, second, first, nullptr};
    EXPECT_TRUE(handler.changeID(instance, pairs));
    std::swap(scene.cameras[0], scene.cameras[1]);
    EXPECT_EQ(evaluate(instance), 13.0);
    const host::ItemId* used = handler.useItems(instance);
    ASSERT_NE(used, nullptr);
    EXPECT_EQ(used[1], second);
    EXPECT_EQ(used[2], nullptr);

    // Data that changed, announced with equal IDs, moves nothing.
    host::ItemId same[] = {second, second, nullptr};
    handler.changeID(instance, same);
    EXPECT_EQ(evaluate(instance), 13.0);
    EXPECT_EQ(saved(instance), referenceBlock("Ball", "Camera"));
}

TEST_F(EditFixture, AnInstanceNotYetEvaluatedFindsItsItemsByNameAfterTheEdits) {
    host::InstanceHandle instance = loaded(referenceBlock("Ball", "Close-up"));
    EXPECT_EQ(edit("delete Ground"), "delete Ground at frame 0: 1 ID renumbered; uses nothing");
    EXPECT_EQ(edit("delete Camera"), "delete Camera at frame 0: 1 ID renumbered; uses nothing");
    EXPECT_EQ(saved(instance), referenceBlock("Ball", "Close-up"));
    EXPECT_EQ(evaluate(instance), 2.0);
}

TEST_F(EditFixture, AddedAndRenamedItemsMoveNoId) {
    host::InstanceHandle instance = loaded(referenceBlock("Ball", "Camera"));
    evaluate(instance);
    EXPECT_EQ(edit("add camera Far"), "add camera Far at frame 0: 0 IDs renumbered; uses Ball, Camera");
    EXPECT_EQ(edit("rename Ball=Red ball"), "rename Ball to Red ball at frame 0; uses Red ball, Camera");
    EXPECT_EQ(evaluate(instance), 13.0);
    EXPECT_EQ(saved(instance), referenceBlock("Red ball", "Camera"));
}

TEST_F(EditFixture, CallsThatNameNothingChangeNothing) {
    host::InstanceHandle instance = loaded(referenceBlock("Ball", "Camera"));
    evaluate(instance);
    host::ItemId deleteBall[] = {sim::itemIdAt(host::kItemTypeObject, 1), nullptr, nullptr};
    EXPECT_TRUE(handler.changeID(nullptr, deleteBall));
    EXPECT_TRUE(handler.changeID(instance, nullptr));
    EXPECT_EQ(handler.useItems(nullptr), nullptr);

    sim::SceneEdit moon;
    moon.name = "Moon";
    EXPECT_EQ(sim::makeEdit(session, handler, instances, moon).error,
              "cannot delete Moon at frame 0: no item is named \"Moon\"");
    EXPECT_EQ(scene.objects.size(), 2u);
    EXPECT_EQ(evaluate(instance), 13.0);
}

TEST(HostChecks, AUsedItemsListOfUnknownIdsWithNoEndIsAViolation) {
    sim::Scene scene;
    scene.addObject("Ball");
    sim::HostSession session(scene);
    sim::LoadResult loaded = sim::LoadedModule::load(std::string(KELTO_FAULT_MODULES_DIR) + "/fault_bad_used_items.p");
    ASSERT_NE(loaded.module, nullptr) << loaded.error;
    sim::HandlerBinding handler;
    ASSERT_EQ(handler.activate(*loaded.module, *loaded.module->findServer("ChannelHandler", "Fault")),
              host::kActivationOk);
    sim::SceneEdit edit;
    edit.kind = sim::EditKind::Add;
    edit.name = "Lamp";
    sim::EditOutcome outcome = sim::makeEdit(session, handler, {nullptr}, edit);
    EXPECT_EQ(outcome.error, "");
    EXPECT_EQ(session.violations(), (std::vector<std::string>{"useItems listed 0x7ff1, which names no item",
                                                               "useItems gave a list with no null ID within 64"}));
}

}  // namespace
