// The instance's block in the scene file, saved and loaded through kelto.p.
#include "e2e_support.h"

namespace {

using e2e::ChannelFixture;
using e2e::referenceBlock;

TEST_F(ChannelFixture, ANewInstanceSavesSixUnitsNamingNoItems) {
    sim::BlockWriter writer;
    ASSERT_EQ(handler.save(create(), writer), nullptr);
    std::vector<std::pair<std::string, int>> units;
    for (const sim::BlockWriter::Unit& unit : writer.units()) units.push_back({unit.bytes, unit.length});
    EXPECT_EQ(units, (std::vector<std::pair<std::string, int>>{{std::string("KELTO_START\0", 12), 12},
                                                                 {std::string("REFERENCE_ITEM\0", 15), 15},
                                                                 {std::string("none\0", 5), 5},
                                                                 {std::string("REFERENCE_CAMERA\0", 17), 17},
                                                                 {std::string("none\0", 5), 5},
                                                                 {std::string("KELTO_END\0", 10), 10}}));
}

TEST_F(ChannelFixture, LoadEvaluateSaveRoundTripsTheNames) {
    host::InstanceHandle instance = loaded(referenceBlock("Ball", "Close-up"));
    EXPECT_EQ(evaluate(instance), 2.0);
    EXPECT_EQ(saved(instance), referenceBlock("Ball", "Close-up"));

    host::InstanceHandle reloaded = loaded(saved(instance));
    EXPECT_EQ(evaluate(reloaded), 2.0);
}

TEST_F(ChannelFixture, AnUnresolvedInstanceSavesTheNamesItHolds) {
    host::InstanceHandle instance = loaded(referenceBlock("Ball", "Camera"));
    EXPECT_EQ(saved(instance), referenceBlock("Ball", "Camera"));
    EXPECT_EQ(evaluate(instance), 13.0);
}

TEST_F(ChannelFixture, AReferenceWhoseItemIsMissingKeepsItsNameThroughSave) {
    // The scene opened without the object "Lamp" (it failed to load): the
    // channel keeps its own value, and the reference is saved as it was.
    host::InstanceHandle instance = loaded(referenceBlock("Lamp", "Camera"));
    EXPECT_TRUE(std::isnan(evaluate(instance)));
    EXPECT_EQ(saved(instance), referenceBlock("Lamp", "Camera"));
    host::InstanceHandle copy = create();
    handler.copy(copy, instance);
    EXPECT_EQ(saved(copy), referenceBlock("Lamp", "Camera"));

    // Opened again where the lamp is, the reference finds it.
    scene.objects[0].name = "Lamp";
    EXPECT_EQ(evaluate(loaded(saved(instance))), std::sqrt(4.0 + 1.0 + 49.0));

    // "none" names an item like any other name.
    scene.objects[0].name = "none";
    EXPECT_EQ(evaluate(loaded(referenceBlock("none", "Camera"))), std::sqrt(4.0 + 1.0 + 49.0));
}

TEST_F(ChannelFixture, ARenamedItemIsSavedByItsNewName) {
    host::InstanceHandle instance = loaded(referenceBlock("Ball", "Camera"));
    evaluate(instance);
    scene.objects[1].name = "Red ball";
    EXPECT_EQ(evaluate(instance), 13.0);
    EXPECT_EQ(saved(instance), referenceBlock("Red ball", "Camera"));
}

TEST_F(ChannelFixture, LongNamesSurviveSaveAndLoad) {
    std::string longName(255, 'n');
    longName.replace(0, 9, "Long ball");
    scene.objects[1].name = longName;
    host::InstanceHandle instance = loaded(referenceBlock(longName, "Camera"));
    EXPECT_EQ(evaluate(instance), 13.0);
    EXPECT_EQ(saved(instance), referenceBlock(longName, "Camera"));
    EXPECT_EQ(evaluate(loaded(saved(instance))), 13.0);

    // A line longer than the buffer comes back cut to 255 bytes, which here
    // names the ball; a cut name that names nothing finds nothing.
    EXPECT_EQ(evaluate(loaded(referenceBlock(longName + "xyz", "Camera"))), 13.0);
    host::InstanceHandle overlong = loaded(referenceBlock(std::string(300, 'm'), "Camera"));
    EXPECT_EQ(saved(overlong), referenceBlock(std::string(255, 'm'), "Camera"));
    EXPECT_TRUE(std::isnan(evaluate(overlong)));
}

TEST_F(ChannelFixture, KeywordsAreMatchedAsPrefixes) {
    // "REFERENCE" reads as the item keyword; unknown lines are skipped;
    // keywords are cut at a space; a later name wins.
    host::InstanceHandle instance = loaded({"KELTO_START extra", "SOMETHING_ELSE", "REFERENCE", "Ground",
                                            "REFERENCE_CAMERA", "Camera", "REFERENCE_ITEM", "Ball", "KELTO_END"});
    EXPECT_EQ(evaluate(instance), 13.0);

    // An empty line ends the block, and so does a line that begins with a space.
    for (const char* ender : {"", " REFERENCE_CAMERA"}) {
        host::InstanceHandle cut = loaded({"KELTO_START", "REFERENCE_ITEM", "Ball", ender, "REFERENCE_CAMERA",
                                           "Camera", "KELTO_END"});
        EXPECT_EQ(saved(cut), referenceBlock("Ball", "none")) << '"' << ender << '"';
    }
    // An empty first line counts as the start keyword.
    EXPECT_EQ(evaluate(loaded({"", "REFERENCE_ITEM", "Ball", "REFERENCE_CAMERA", "Camera"})), 13.0);
}

TEST_F(ChannelFixture, LoadStopsAtTheEndOfTheData) {
    // Not a block of ours: the instance is untouched and only one line is read.
    host::InstanceHandle resolved = loaded(referenceBlock("Ball", "Camera"));
    evaluate(resolved);
    sim::BlockReader foreign({"SOMEONE_ELSES_DATA", "KELTO_START"});
    handler.load(resolved, foreign);
    EXPECT_EQ(foreign.readCount(), 1u);
    EXPECT_EQ(evaluate(resolved), 13.0);

    // No data at all: untouched as well.
    sim::BlockReader nothing({});
    handler.load(resolved, nothing);
    EXPECT_EQ(nothing.readCount(), 1u);
    EXPECT_EQ(evaluate(resolved), 13.0);

    // Data that ends inside the block, even before a name: what was read stands.
    sim::BlockReader truncated({"KELTO_START", "REFERENCE_ITEM", "Ground", "REFERENCE_CAMERA"});
    handler.load(resolved, truncated);
    EXPECT_EQ(truncated.readCount(), 5u);
    EXPECT_EQ(saved(resolved), referenceBlock("Ground", "Camera"));
}

}  // namespace
