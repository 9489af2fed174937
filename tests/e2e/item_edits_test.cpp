// Items deleted and added under kelto.p, with the host renumbering its item
// IDs and announcing them through the module's item operations.
#include "e2e_support.h"
#include "simhost/run/edit_application.h"
#include "simhost/services/item_ids.h"

namespace {

using e2e::referenceBlock;

class EditFixture : public e2e::ChannelFixture {
protected:
    // Makes the edit as the host does, for every instance; its log line.
    std::string edit(const std::string& text) {
        sim::SceneEdit parsed;
        std::string error;
        EXPECT_TRUE(sim::parseSceneEdit(text + "@0", parsed, error)) << error;
        sim::EditOutcome outcome = sim::makeEdit(session, handler, instances, parsed);
        EXPECT_EQ(outcome.error, "");
        return outcome.line;
    }

    // The item popup's value as the panel reads it.
    int32_t itemChoice(host::InstanceHandle instance) {
        sim::InterfaceBinding binding;
        binding.activate(*module, e2e::server(*module, HOST_CHANNEL_INTERFACE_CLASS), instance);
        sim::SimPanel* panel = session.panels().panelOf(binding.record().panel);
        const int32_t* value =
            panel != nullptr ? session.panels().valueOf(*panel, sim::kelto_facts::kItemControl) : nullptr;
        return value != nullptr ? *value : -1;
    }
};

TEST_F(EditFixture, AnUnrelatedDeletionRenumbersTheReferenceWhichFollowsItsItem) {
    scene.addObject("Tree", {0, 0, 1});
    host::InstanceHandle instance = loaded(referenceBlock("Ball", "Close-up"));
    EXPECT_EQ(evaluated(instance), 2.0);
    host::InstanceHandle copy = newInstance();
    handler.copy(copy, instance);

    EXPECT_EQ(edit("delete Ground"),
              "delete Ground at frame 0: 2 IDs renumbered; uses Ball, Close-up; uses Ball, Close-up");
    EXPECT_EQ(edit("delete Camera"),
              "delete Camera at frame 0: 1 ID renumbered; uses Ball, Close-up; uses Ball, Close-up");
    EXPECT_EQ(evaluated(instance), 2.0);
    EXPECT_EQ(evaluated(copy), 2.0);
    EXPECT_EQ(itemChoice(instance), 1);
    EXPECT_EQ(saved(instance), referenceBlock("Ball", "Close-up"));
}

TEST_F(EditFixture, ADeletedReferenceLeavesTheChannelItsOwnValueAndSavesAsNone) {
    host::InstanceHandle instance = loaded(referenceBlock("Ball", "Camera"));
    host::InstanceHandle unresolved = loaded(referenceBlock("Ball", "Close-up"));
    EXPECT_EQ(evaluated(instance), 13.0);
    EXPECT_EQ(edit("delete Ball"), "delete Ball at frame 0: 0 IDs renumbered; uses Camera; uses nothing");
    EXPECT_TRUE(std::isnan(evaluated(instance)));
    EXPECT_EQ(itemChoice(instance), 0);
    EXPECT_EQ(saved(instance), referenceBlock("none", "Camera"));
    // A later object of the same name is not taken for it; an instance not
    // yet evaluated still finds its items by name.
    edit("add object Ball");
    EXPECT_TRUE(std::isnan(evaluated(instance)));
    EXPECT_EQ(evaluated(unresolved), 2.0);

    // Null arguments, which no host passes, change nothing.
    host::ItemId deleteCamera[] = {sim::itemIdAt(host::kItemTypeCamera, 0), nullptr, nullptr};
    EXPECT_TRUE(handler.changeID(nullptr, deleteCamera));
    EXPECT_TRUE(handler.changeID(instance, nullptr));
    EXPECT_EQ(handler.useItems(nullptr), nullptr);
    EXPECT_EQ(saved(instance), referenceBlock("none", "Camera"));
}

// A current host keeps every ID but the deleted item's, so it announces
// that one pair alone, and the reference and its popup place follow all the
// same.
TEST_F(EditFixture, UnderACurrentHostOnlyTheDeletedItemsIdChanges) {
    session.setKind(sim::HostKind::Current);
    scene.addObject("Tree", {0, 0, 1});
    host::InstanceHandle instance = loaded(referenceBlock("Tree", "Close-up"));
    EXPECT_EQ(evaluated(instance), 1.0);
    EXPECT_EQ(itemChoice(instance), 3);
    EXPECT_EQ(edit("delete Ground"), "delete Ground at frame 0: 0 IDs renumbered; uses Tree, Close-up");
    EXPECT_EQ(edit("delete Camera"), "delete Camera at frame 0: 0 IDs renumbered; uses Tree, Close-up");
    EXPECT_EQ(evaluated(instance), 1.0);
    EXPECT_EQ(itemChoice(instance), 2);
    EXPECT_EQ(edit("delete Close-up"), "delete Close-up at frame 0: 0 IDs renumbered; uses Tree");
    EXPECT_TRUE(std::isnan(evaluated(instance)));
    EXPECT_EQ(saved(instance), referenceBlock("Tree", "none"));
}

// The pairs each host hands changeID, recorded by a handler of the test's own.
std::vector<std::vector<host::ItemId>> g_announced;

void HOST_CALL recordPairs(host::InstanceHandle, const host::ItemId* pairs) {
    std::vector<host::ItemId> copy;
    for (; *pairs != nullptr; pairs += 2) copy.insert(copy.end(), {pairs[0], pairs[1]});
    g_announced.push_back(copy);
}

int HOST_CALL activateRecorder(int, host::GlobalLookup, void* record, void*) {
    static_cast<host::HandlerRecord*>(record)->itemOperations->changeID = recordPairs;
    return host::kActivationOk;
}

TEST(HostEdits, AClassicHostRenumbersInPlaceOrderAndACurrentOneKeepsIds) {
    auto object = [](size_t number) { return sim::itemIdAt(host::kItemTypeObject, number); };
    for (sim::HostKind kind : {sim::HostKind::Classic, sim::HostKind::Current}) {
        sim::Scene scene;
        for (const char* name : {"A", "B", "C", "D"}) scene.addObject(name);
        sim::HostSession session(scene);
        session.setKind(kind);
        sim::HandlerBinding handler;
        ASSERT_EQ(handler.activateLinked(activateRecorder, host::kClassicClassVersion), host::kActivationOk);
        g_announced.clear();
        sim::SceneEdit deleteB;
        deleteB.name = "B";
        EXPECT_EQ(sim::makeEdit(session, handler, {nullptr}, deleteB).error, "");
        sim::EditOutcome move = sim::moveItem(session, handler, {nullptr}, host::kItemTypeObject, 2, 0);
        if (kind == sim::HostKind::Classic) {
            EXPECT_EQ(move.error, "");
            // D goes first: every place changes, announced in the order of the old places.
            EXPECT_EQ(g_announced, (std::vector<std::vector<host::ItemId>>{
                                       {object(1), nullptr, object(2), object(1), object(3), object(2)},
                                       {object(0), object(1), object(1), object(2), object(2), object(0)}}));
            EXPECT_EQ(scene.objects[0].name, "D");
        } else {
            EXPECT_EQ(move.error, "cannot move item 3 to place 1 of that list on this host");
            EXPECT_EQ(g_announced, (std::vector<std::vector<host::ItemId>>{{object(1), nullptr}}));
            EXPECT_EQ(session.idOf(host::kItemTypeObject, 2), object(3));
        }
    }
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
    sim::SceneEdit rename;
    rename.kind = sim::EditKind::Rename;
    rename.name = "Ball";
    EXPECT_EQ(sim::makeEdit(session, handler, {nullptr}, rename).error, "");
    EXPECT_EQ(session.violations(), (std::vector<std::string>{"useItems listed 0x7FF1, which names no item",
                                                              "useItems gave a list with no null ID within 64"}));
    sim::SceneEdit moon;
    moon.name = "Moon";
    EXPECT_EQ(sim::makeEdit(session, handler, {nullptr}, moon).error,
              "cannot delete Moon at frame 0: no item is named \"Moon\"");
}

}  // namespace
