// The instance's block in the scene file, saved and loaded through kelto.p.
#include "e2e_support.h"

namespace {

using e2e::ChannelFixture;
using e2e::referenceBlock;
using sim::kelto_facts::kBlockEnd;
using sim::kelto_facts::kBlockStart;
using sim::kelto_facts::kCameraKeyword;
using sim::kelto_facts::kItemKeyword;
using sim::kelto_facts::kNoneName;

TEST_F(ChannelFixture, ANewInstanceSavesSixUnitsNamingNoItems) {
    sim::BlockWriter writer;
    ASSERT_EQ(handler.save(newInstance(), writer), nullptr);
    std::vector<std::pair<std::string, int>> units, expected;
    for (const sim::BlockWriter::Unit& unit : writer.units()) units.push_back({unit.bytes, unit.length});
    // Each line is one unit, as the host keeps it: its bytes and a NUL.
    for (const std::string& line : referenceBlock(kNoneName, kNoneName))
        expected.push_back({line + '\0', static_cast<int>(line.size() + 1)});
    EXPECT_EQ(units, expected);
}

TEST_F(ChannelFixture, LoadEvaluateSaveRoundTripsTheNames) {
    host::InstanceHandle instance = loaded(referenceBlock("Ball", "Close-up"));
    EXPECT_EQ(evaluated(instance), 2.0);
    EXPECT_EQ(saved(instance), referenceBlock("Ball", "Close-up"));

    host::InstanceHandle reloaded = loaded(saved(instance));
    EXPECT_EQ(evaluated(reloaded), 2.0);
}

TEST_F(ChannelFixture, AnUnresolvedInstanceSavesTheNamesItHolds) {
    host::InstanceHandle instance = loaded(referenceBlock("Ball", "Camera"));
    EXPECT_EQ(saved(instance), referenceBlock("Ball", "Camera"));
    EXPECT_EQ(evaluated(instance), 13.0);
}

TEST_F(ChannelFixture, AReferenceWhoseItemIsMissingKeepsItsNameThroughSave) {
    // The scene opened without the object "Lamp" (it failed to load): the
    // channel keeps its own value, and the reference is saved as it was.
    host::InstanceHandle instance = loaded(referenceBlock("Lamp", "Camera"));
    EXPECT_TRUE(std::isnan(evaluated(instance)));
    EXPECT_EQ(saved(instance), referenceBlock("Lamp", "Camera"));
    host::InstanceHandle copy = newInstance();
    handler.copy(copy, instance);
    EXPECT_EQ(saved(copy), referenceBlock("Lamp", "Camera"));

    // A name of one character is a name too.
    EXPECT_EQ(saved(loaded(referenceBlock("L", "C"))), referenceBlock("L", "C"));

    // Opened again where the lamp is, the reference finds it.
    scene.objects[0].name = "Lamp";
    EXPECT_EQ(evaluated(loaded(saved(instance))), std::sqrt(4.0 + 1.0 + 49.0));

    // "none" names an item like any other name.
    scene.objects[0].name = "none";
    EXPECT_EQ(evaluated(loaded(referenceBlock("none", "Camera"))), std::sqrt(4.0 + 1.0 + 49.0));
}

// A block loaded over an instance that has evaluated replaces its
// references: it uses no item until the loaded names are resolved, then theirs.
TEST_F(ChannelFixture, ABlockLoadedOverAnEvaluatedInstanceReplacesItsReferences) {
    host::InstanceHandle instance = loaded(referenceBlock("Ball", "Camera"));
    EXPECT_EQ(evaluated(instance), 13.0);
    sim::BlockReader reader(referenceBlock("Ground", "Close-up"));
    ASSERT_EQ(handler.load(instance, reader), nullptr);
    EXPECT_EQ(handler.useItems(instance), nullptr);
    EXPECT_EQ(evaluated(instance), std::sqrt(25.0 + 25.0 + 9.0));
    EXPECT_EQ(saved(instance), referenceBlock("Ground", "Close-up"));
}

TEST_F(ChannelFixture, ARenamedItemIsSavedByItsNewName) {
    host::InstanceHandle instance = loaded(referenceBlock("Ball", "Camera"));
    evaluated(instance);
    scene.objects[1].name = "Red ball";
    EXPECT_EQ(evaluated(instance), 13.0);
    EXPECT_EQ(saved(instance), referenceBlock("Red ball", "Camera"));
}

TEST_F(ChannelFixture, LongNamesSurviveSaveAndLoad) {
    std::string longName(255, 'n');
    longName.replace(0, 9, "Long ball");
    scene.objects[1].name = longName;
    host::InstanceHandle instance = loaded(referenceBlock(longName, "Camera"));
    EXPECT_EQ(evaluated(instance), 13.0);
    EXPECT_EQ(saved(instance), referenceBlock(longName, "Camera"));
    EXPECT_EQ(evaluated(loaded(saved(instance))), 13.0);

    // A line longer than the buffer comes back cut to 255 bytes, which here
    // names the ball; a cut name that names nothing finds nothing.
    EXPECT_EQ(evaluated(loaded(referenceBlock(longName + "xyz", "Camera"))), 13.0);
    host::InstanceHandle overlong = loaded(referenceBlock(std::string(300, 'm'), "Camera"));
    EXPECT_EQ(saved(overlong), referenceBlock(std::string(255, 'm'), "Camera"));
    EXPECT_TRUE(std::isnan(evaluated(overlong)));

    // A cut never falls inside a character: a name of 256 bytes ending in a
    // euro sign (three bytes) loses the sign whole.
    const std::string euro = "\xE2\x82\xAC";
    host::InstanceHandle cut = loaded(referenceBlock(std::string(253, 'a') + euro, "Camera" + euro));
    EXPECT_EQ(saved(cut), referenceBlock(std::string(253, 'a'), "Camera" + euro));
}

TEST_F(ChannelFixture, KeywordsAreMatchedAsPrefixes) {
    // "REFERENCE" reads as the item keyword; unknown lines are skipped;
    // keywords are cut at a space; a later name wins.
    host::InstanceHandle instance = loaded({std::string(kBlockStart) + " extra", "SOMETHING_ELSE", "REFERENCE",
                                            "Ground", kCameraKeyword, "Camera", kItemKeyword, "Ball", kBlockEnd});
    EXPECT_EQ(evaluated(instance), 13.0);

    // An empty line ends the block, and so does a line that begins with a space.
    for (const std::string& ender : {std::string(), " " + std::string(kCameraKeyword)}) {
        host::InstanceHandle cut =
            loaded({kBlockStart, kItemKeyword, "Ball", ender, kCameraKeyword, "Camera", kBlockEnd});
        EXPECT_EQ(saved(cut), referenceBlock("Ball", kNoneName)) << '"' << ender << '"';
    }
    // An empty first line counts as the start keyword.
    EXPECT_EQ(evaluated(loaded({"", kItemKeyword, "Ball", kCameraKeyword, "Camera"})), 13.0);
}

TEST_F(ChannelFixture, LoadStopsAtTheEndOfTheData) {
    // Not a block of ours: the instance is untouched and only one line is read.
    host::InstanceHandle resolved = loaded(referenceBlock("Ball", "Camera"));
    evaluated(resolved);
    sim::BlockReader foreign({"SOMEONE_ELSES_DATA", kBlockStart});
    handler.load(resolved, foreign);
    EXPECT_EQ(foreign.readCount(), 1u);
    EXPECT_EQ(evaluated(resolved), 13.0);

    // No data at all: untouched as well.
    sim::BlockReader nothing({});
    handler.load(resolved, nothing);
    EXPECT_EQ(nothing.readCount(), 1u);
    EXPECT_EQ(evaluated(resolved), 13.0);

    // Data that ends inside the block, even before a name: what was read stands.
    sim::BlockReader truncated({kBlockStart, kItemKeyword, "Ground", kCameraKeyword});
    handler.load(resolved, truncated);
    EXPECT_EQ(truncated.readCount(), 5u);
    EXPECT_EQ(saved(resolved), referenceBlock("Ground", "Camera"));
}

}  // namespace
