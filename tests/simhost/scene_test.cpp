// The simulated host's own parts: scenes, the scene file, the block states.
#include <gtest/gtest.h>

#include <cstring>

#include "simhost/scene.h"
#include "simhost/scene_file.h"
#include "simhost/scene_states.h"

namespace {

TEST(SceneItem, PositionsAreLinearBetweenKeysAndHeldOutside) {
    sim::SceneItem item{"Ball", {{0, {0, 0, 0}}, {10, {10, -20, 30}}, {20, {10, -20, 30}}}};
    EXPECT_EQ(item.positionAtFrame(-5).x, 0);
    EXPECT_EQ(item.positionAtFrame(2.5).x, 2.5);
    EXPECT_EQ(item.positionAtFrame(2.5).y, -5);
    EXPECT_EQ(item.positionAtFrame(15).z, 30);
    EXPECT_EQ(item.positionAtFrame(99).z, 30);
    EXPECT_EQ(sim::SceneItem{}.positionAtFrame(3).x, 0);
}

TEST(SceneFile, ReadsWhatItWritesNamesAndBlockLinesVerbatim) {
    const char* text =
        "# a scene\n"
        "frames 1 48\n"
        "fps 25\n"
        "object Ball with spaces\n"
        "key 12 1 2 3\n"
        "key 0 -1.5 0 0\n"
        "camera Camera\n"
        "channel Camera.FocusDistance\n"
        "value 2.5\n"
        "block\n"
        "| KELTO_START\n"
        "|\n"
        "|  leading blank\n"
        "end block\n";
    sim::SceneParse parsed = sim::parseScene(text, "test.scene");
    ASSERT_EQ(parsed.error, "");
    const sim::Scene& scene = parsed.scene;
    EXPECT_EQ(scene.firstFrame, 1);
    EXPECT_EQ(scene.lastFrame, 48);
    EXPECT_EQ(scene.framesPerSecond, 25);
    ASSERT_EQ(scene.objects.size(), 1u);
    EXPECT_EQ(scene.objects[0].name, "Ball with spaces");
    EXPECT_EQ(scene.objects[0].keys[0].frame, 0);  // sorted
    EXPECT_EQ(scene.cameras[0].name, "Camera");
    EXPECT_EQ(scene.channelName, "Camera.FocusDistance");
    EXPECT_EQ(scene.channelValue, 2.5);
    EXPECT_EQ(scene.modifierBlock, (std::vector<std::string>{"KELTO_START", "", " leading blank"}));

    sim::SceneParse again = sim::parseScene(sim::formatScene(scene), "again.scene");
    ASSERT_EQ(again.error, "");
    EXPECT_EQ(sim::formatScene(again.scene), sim::formatScene(scene));
    EXPECT_EQ(again.scene.modifierBlock, scene.modifierBlock);
    EXPECT_EQ(again.scene.objects[0].keys[1].position.y, 2);
}

TEST(SceneFile, ErrorsNameTheFileAndLine) {
    auto error = [](const char* text) { return sim::parseScene(text, "bad.scene").error; };
    EXPECT_EQ(error("key 0 1 2 3\n"), "bad.scene:1: a key before any object or camera");
    EXPECT_EQ(error("object A\nkey 0 1 2\n"), "bad.scene:2: a key is \"key FRAME X Y Z\" with four numbers");
    EXPECT_EQ(error("fps 0\n"), "bad.scene:1: fps is \"fps N\" with N above 0");
    EXPECT_EQ(error("frames 10 2\n"), "bad.scene:1: the last frame comes before the first");
    EXPECT_EQ(error("\nblock\n| KELTO_START\n"), "bad.scene:3: the block has no \"end block\"");
    EXPECT_EQ(error("block\nKELTO_START\n").rfind("bad.scene:2: a block line must begin with", 0), 0u);
    EXPECT_EQ(error("teleport now\n"), "bad.scene:1: unknown line \"teleport now\"");
    EXPECT_EQ(error("fps 24\r\nobject Ball\r\r\n"), "bad.scene:2: a line ends in a carriage return");
    EXPECT_EQ(error("fps 24\r\nobject Ball\r\n"), "");
    EXPECT_EQ(sim::readSceneFile("/nonexistent.scene").error, "cannot read scene file /nonexistent.scene");
}

TEST(BlockReader, CopiesAtMostTheMaximumLessOneAndEndsWithMinusOne) {
    sim::BlockReader reader({"KELTO_START", "0123456789", ""});
    char buffer[8];
    std::memset(buffer, '#', sizeof buffer);
    EXPECT_EQ(reader.read(buffer, 8), 7);
    EXPECT_STREQ(buffer, "KELTO_S");
    EXPECT_EQ(reader.read(buffer, 4), 3);  // the rest of the line is dropped
    EXPECT_STREQ(buffer, "012");
    EXPECT_EQ(reader.read(buffer, 8), 0);
    EXPECT_STREQ(buffer, "");
    EXPECT_EQ(reader.read(buffer, 8), -1);
    EXPECT_EQ(reader.read(buffer, 8), -1);
}

TEST(BlockWriter, KeepsEachUnitAndItsLength) {
    sim::BlockWriter writer;
    writer.state().write(writer.state().writeData, "KELTO_START", 12);
    writer.state().write(writer.state().writeData, "ab", 2);
    ASSERT_EQ(writer.units().size(), 2u);
    EXPECT_EQ(writer.units()[0].length, 12);
    EXPECT_EQ(writer.units()[0].bytes, std::string("KELTO_START\0", 12));
    EXPECT_EQ(writer.lines(), (std::vector<std::string>{"KELTO_START", "ab"}));
}

}  // namespace
