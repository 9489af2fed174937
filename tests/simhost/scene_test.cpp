// The simulated host's own parts: scenes, the scene file, the block states.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <fstream>

#include "host/host_types.h"
#include "simhost/scene/scene.h"
#include "simhost/scene/scene_file.h"
#include "simhost/services/block_states.h"

namespace {

// Keys as the simulated host's own scene file gives them: a frame and a vector each.
sim::ItemMotion keyedPositions(std::initializer_list<std::pair<double, sim::Vec3>> keys) {
    sim::ItemMotion motion;
    for (const auto& key : keys) motion.keyPosition(key.first, key.second);
    return motion;
}

TEST(ItemMotion, PositionsAreLinearBetweenKeysAndHeldOutside) {
    sim::ItemMotion item = keyedPositions({{0, {0, 0, 0}}, {10, {10, -20, 30}}, {20, {10, -20, 30}}});
    EXPECT_EQ(item.position(-5).x, 0);
    EXPECT_EQ(item.position(2.5).x, 2.5);
    EXPECT_EQ(item.position(2.5).y, -5);
    EXPECT_EQ(item.position(15).z, 30);
    EXPECT_EQ(item.position(99).z, 30);
    EXPECT_EQ(sim::ItemMotion{}.position(3).x, 0);

    // Two keys on one frame: a step, the later key from that frame on.
    sim::ItemMotion step = keyedPositions({{0, {0, 0, 0}}, {10, {10, 0, 0}}, {10, {20, 0, 0}}, {20, {20, 0, 0}}});
    EXPECT_EQ(step.position(5).x, 5);
    EXPECT_EQ(step.position(10).x, 10);
    EXPECT_EQ(step.position(10.5).x, 20);

    // At its own frame a key gives its value exactly, though the key before
    // it is so much larger that a blend would round it to 0.
    const double tiny = 1e-170;
    sim::ItemMotion scaled;
    scaled.keyScale(0, {1, 2, 3});
    scaled.keyScale(1, {tiny, tiny, tiny});
    scaled.keyScale(2, {1, 1, 1});
    EXPECT_EQ(scaled.scale(1).x, tiny);
    EXPECT_EQ(scaled.scale(1).z, tiny);
}

TEST(ItemMotion, RotationsAndScalesAreKeyedAsPositionsAndDefaultToNoneAndOne) {
    sim::ItemMotion item;
    item.keyRotation(0, {0, 10, -90});
    item.keyRotation(10, {90, 30, 90});
    item.keyScale(4, {1, 2, 3});
    item.keyScale(8, {3, 2, 1});
    EXPECT_EQ(item.rotation(-1).bank, -90);
    EXPECT_EQ(item.rotation(5).heading, 45);
    EXPECT_EQ(item.rotation(5).pitch, 20);
    EXPECT_EQ(item.rotation(5).bank, 0);
    EXPECT_EQ(item.rotation(11).heading, 90);
    EXPECT_EQ(item.scale(0).z, 3);
    EXPECT_EQ(item.scale(6).x, 2);
    EXPECT_EQ(item.scale(6).z, 2);
    EXPECT_EQ(item.scale(9).x, 3);

    const sim::ItemMotion bare;
    EXPECT_EQ(bare.rotation(3).heading, 0);
    EXPECT_EQ(bare.rotation(3).pitch, 0);
    EXPECT_EQ(bare.rotation(3).bank, 0);
    EXPECT_EQ(bare.scale(3).x, 1);
    EXPECT_EQ(bare.scale(3).y, 1);
    EXPECT_EQ(bare.scale(3).z, 1);
}

TEST(SceneFile, ReadsRotationAndScaleKeysAndWritesThemBackOnlyWhereGiven) {
    const char* text =
        "object Ball\n"
        "key 0 1 2 3\n"
        "scale 24 2 2 0.5\n"
        "rotation 24 -30 15 5\n"
        "rotation 0 90 0 0\n"
        "camera Camera\n"
        "key 0 0 1.6 0\n";
    sim::SceneParse parsed = sim::parseScene(text, "turned.scene");
    ASSERT_EQ(parsed.error, "");
    const sim::ItemMotion& ball = parsed.scene.objects[0].motion;
    EXPECT_EQ(ball.rotation(0).heading, 90);  // sorted
    EXPECT_EQ(ball.rotation(24).heading, -30);
    EXPECT_EQ(ball.rotation(24).pitch, 15);
    EXPECT_EQ(ball.rotation(24).bank, 5);
    EXPECT_EQ(ball.scale(0).z, 0.5);  // one key: held
    EXPECT_EQ(ball.scale(30).x, 2);
    EXPECT_TRUE(parsed.scene.cameras[0].motion.channels[sim::kHeading].keys.empty());
    EXPECT_TRUE(parsed.scene.cameras[0].motion.channels[sim::kScaleZ].keys.empty());

    std::string written = sim::formatScene(parsed.scene);
    EXPECT_NE(written.find("object Ball\nkey 0 1 2 3\nrotation 0 90 0 0\nrotation 24 -30 15 5\nscale 24 2 2 0.5\n"),
              std::string::npos);
    EXPECT_NE(written.find("camera Camera\nkey 0 0 1.6 0\nchannel"), std::string::npos);
    EXPECT_EQ(sim::formatScene(sim::parseScene(written, "again.scene").scene), written);

    auto error = [](const std::string& lines) { return sim::parseScene(lines, "bad.scene").error; };
    EXPECT_EQ(error("rotation 0 1 2 3\n"), "bad.scene:1: a rotation before any object or camera");
    EXPECT_EQ(error("scale 0 1 2 3\n"), "bad.scene:1: a scale before any object or camera");
    EXPECT_EQ(
        error("object A\nrotation 0 90 0\n"),
        "bad.scene:2: a rotation is \"rotation FRAME HEADING PITCH BANK\" with four numbers, the angles in degrees");
    EXPECT_EQ(error("object A\nscale 0 1 1 1 1\n"), "bad.scene:2: a scale is \"scale FRAME X Y Z\" with four numbers");
    EXPECT_EQ(error("object A\nscale 0 1 one 1\n"), "bad.scene:2: a scale is \"scale FRAME X Y Z\" with four numbers");
    EXPECT_EQ(error("object A\nrotation 0 0 nan 0\n"), "bad.scene:2: \"nan\" is not a finite number");
    EXPECT_EQ(error("object A\nrotation 0 1e200 0 0\n"),
              "bad.scene:2: a rotation's frame and angles lie within -1e+150 and 1e+150");
    EXPECT_EQ(error("object A\nscale 0 0 0 -1e151\n"),
              "bad.scene:2: a scale's frame and coordinates lie within -1e+150 and 1e+150");
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
        "channel Camera.FocalDistance\n"
        "value 2.5\n"
        "block\n"
        "| BLOCK_START\n"
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
    EXPECT_EQ(scene.objects[0].motion.channels[sim::kPositionX].keys[0].time, 0);  // sorted
    EXPECT_EQ(scene.cameras[0].name, "Camera");
    EXPECT_EQ(scene.channelName, "Camera.FocalDistance");
    EXPECT_EQ(scene.channelValueAt(0), 2.5);
    EXPECT_EQ(scene.modifierBlock, (std::vector<std::string>{"BLOCK_START", "", " leading blank"}));

    sim::SceneParse again = sim::parseScene(sim::formatScene(scene), "again.scene");
    ASSERT_EQ(again.error, "");
    EXPECT_EQ(sim::formatScene(again.scene), sim::formatScene(scene));
    EXPECT_EQ(again.scene.modifierBlock, scene.modifierBlock);
    EXPECT_EQ(again.scene.objects[0].motion.position(12).y, 2);
}

TEST(SceneFile, AByteOrderMarkBeforeTheFirstLineIsSkippedAndNotWrittenBack) {
    sim::SceneParse marked = sim::parseScene(
        "\xEF\xBB\xBF"
        "frames 0 4\nobject Ball\n",
        "marked.scene");
    ASSERT_EQ(marked.error, "");
    EXPECT_EQ(marked.scene.lastFrame, 4);
    EXPECT_EQ(marked.scene.objects[0].name, "Ball");
    EXPECT_EQ(sim::formatScene(marked.scene).rfind("frames 0 4\n", 0), 0u);
    // Only at the very start: elsewhere it is part of a line, as any other character.
    EXPECT_EQ(sim::parseScene("\xEF\xBB\xBF"
                              "object \xEF\xBB\xBF"
                              "Ball\n",
                              "s")
                  .scene.objects[0]
                  .name,
              "\xEF\xBB\xBF"
              "Ball");
    EXPECT_EQ(sim::parseScene("\n\xEF\xBB\xBF"
                              "frames 0 4\n",
                              "s")
                  .error,
              "s:2: unknown line \"\xEF\xBB\xBF"
              "frames 0 4\"");
    EXPECT_EQ(sim::parseScene("\xEF\xBB\xBF"
                              "\xEF\xBB\xBF"
                              "frames 0 4\n",
                              "s")
                  .error.rfind("s:1: unknown line", 0),
              0u);
}

// A scene saved on Windows (CRLF) or on an old Mac (a carriage return alone)
// reads as the same scene does with line feeds; a carriage return and a
// line feed are one end, a carriage return before them another.
TEST(SceneFile, ReadsLinesEndedAsOnAnySystem) {
    const std::string text =
        "frames 0 96\nfps 24\nobject Ball\nkey 0 -12 0.5 6\ncamera Camera\n"
        "channel Camera.FocalDistance\nblock\n| KELTO_START\n|\n| KELTO_END\nend block\n";
    sim::SceneParse unix = sim::parseScene(text, "s");
    ASSERT_EQ(unix.error, "");
    EXPECT_EQ(unix.scene.lastFrame, 96);
    auto replaced = [&](const std::string& end) {
        std::string other;
        for (char ch : text) other += ch == '\n' ? end : std::string(1, ch);
        return other;
    };
    for (const char* end : {"\r\n", "\r"}) {
        sim::SceneParse other = sim::parseScene(replaced(end), "s");
        ASSERT_EQ(other.error, "") << other.error;
        EXPECT_EQ(sim::formatScene(other.scene), sim::formatScene(unix.scene));
    }
    sim::SceneParse mixed = sim::parseScene("object Ball\r\r\nobject Lamp\rcamera Cam", "s");
    ASSERT_EQ(mixed.error, "");
    ASSERT_EQ(mixed.scene.objects.size(), 2u);
    EXPECT_EQ(mixed.scene.objects[0].name, "Ball");
    EXPECT_EQ(mixed.scene.objects[1].name, "Lamp");
    EXPECT_EQ(mixed.scene.cameras.at(0).name, "Cam");
}

TEST(SceneFile, ErrorsNameTheFileAndLine) {
    auto error = [](const char* text) { return sim::parseScene(text, "bad.scene").error; };
    EXPECT_EQ(error("key 0 1 2 3\n"), "bad.scene:1: a key before any object or camera");
    EXPECT_EQ(error("object A\nkey 0 1 2\n"), "bad.scene:2: a key is \"key FRAME X Y Z\" with four numbers");
    EXPECT_EQ(error("fps 0\n"), "bad.scene:1: fps is \"fps N\" with N above 0");
    EXPECT_EQ(error("frames 10 2\n"), "bad.scene:1: the last frame comes before the first");
    EXPECT_EQ(error("\nblock\n| BLOCK_START\n"), "bad.scene:3: the block has no \"end block\"");
    EXPECT_EQ(error("block\nBLOCK_START\n").rfind("bad.scene:2: a block line must begin with", 0), 0u);
    EXPECT_EQ(error("teleport now\n"), "bad.scene:1: unknown line \"teleport now\"");
    // Lines are counted whichever way they end.
    EXPECT_EQ(error("fps 24\robject Ball\r\rteleport\r"), "bad.scene:4: unknown line \"teleport\"");
    // What the scene has once is given once: a second line would silently undo the first.
    EXPECT_EQ(error("frames 0 2\nfps 24\nframes 0 3\n"), "bad.scene:3: a second \"frames\" line (the first is line 1)");
    EXPECT_EQ(error("fps 24\n\nfps 25\n"), "bad.scene:3: a second \"fps\" line (the first is line 1)");
    EXPECT_EQ(error("channel A.X\nchannel B.Y\n"), "bad.scene:2: a second \"channel\" line (the first is line 1)");
    EXPECT_EQ(error("value 1\nvalue 1\n"), "bad.scene:2: a second \"value\" line (the first is line 1)");
    EXPECT_EQ(error("block\nend block\nbinary block\n"), "bad.scene:3: a second block (the first begins on line 1)");
    EXPECT_EQ(sim::readSceneFile("/nonexistent.scene").error, "cannot read scene file /nonexistent.scene");
}

TEST(SceneFile, NumbersAtTheLimitsOfTheirTypeOrMeaning) {
    auto error = [](const std::string& text) { return sim::parseScene(text, "s").error; };
    // Frames: ints, at most a million of them, counted without overflow.
    EXPECT_EQ(error("frames 2147483600 2147483647\n"), "");
    EXPECT_EQ(error("frames 0 999999\n"), "");
    EXPECT_EQ(error("frames 0 1000000\n"), "s:1: more than 1000000 frames");
    EXPECT_EQ(error("frames -2147483648 2147483647\n"), "s:1: more than 1000000 frames");
    EXPECT_EQ(error("frames 0 2147483648\n"), "s:1: \"2147483648\" is out of range");
    // Rates: above 0, finite, and every frame's time finite.
    EXPECT_EQ(error("fps -24\n"), "s:1: fps is \"fps N\" with N above 0");
    EXPECT_EQ(error("fps inf\n"), "s:1: \"inf\" is not a finite number");
    EXPECT_EQ(error("fps NaN\n"), "s:1: \"NaN\" is not a finite number");
    EXPECT_EQ(error("fps 1e-320\n"), "");  // frame 0 only: time 0
    EXPECT_EQ(error("fps 1e-320\nframes 0 3\n"), "s:2: frame 3 at 1e-320 fps has no finite time");
    EXPECT_EQ(error("frames -3 0\n\nfps 1e-320\n"), "s:3: frame -3 at 1e-320 fps has no finite time");
    // Keys: finite, and small enough that distances cannot overflow.
    EXPECT_EQ(error("object A\nkey 0 1e150 -1e150 0\n"), "");
    EXPECT_EQ(error("object A\nkey 0 1e308 0 0\n"), "s:2: a key's frame and coordinates lie within -1e+150 and 1e+150");
    EXPECT_EQ(error("object A\nkey -1e200 0 0 0\n"),
              "s:2: a key's frame and coordinates lie within -1e+150 and 1e+150");
    EXPECT_EQ(error("object A\nkey 0 0 -inf 0\n"), "s:2: \"-inf\" is not a finite number");
    EXPECT_EQ(error("object A\nkey 0 0 0 1e400\n"), "s:2: \"1e400\" is out of range");
    // The channel's own value: any finite number.
    EXPECT_EQ(error("value 1e300\n"), "");
    EXPECT_EQ(error("value nan\n"), "s:1: \"nan\" is not a finite number");
    EXPECT_EQ(error("value 1e-400\n"), "s:1: \"1e-400\" is out of range");
}

TEST(SceneFile, LinesTheModuleCouldNotReadOrAMessageCouldNotHold) {
    auto error = [](const std::string& text) { return sim::parseScene(text, "s").error; };
    EXPECT_EQ(error(std::string("object Ba\0ll\n", 13)), "s:1: a line holds a NUL byte");
    EXPECT_EQ(error(std::string("block\n| KELTO\0\nend block\n", 25)), "s:2: a line holds a NUL byte");
    std::string longLine = "teleport " + std::string(200, 'x');
    EXPECT_EQ(error(longLine), "s:1: unknown line \"" + longLine.substr(0, 60) + "...\"");
    // A cut never splits a character: 59 bytes and a two-byte one.
    std::string wide = std::string(59, 'y') + "\xC3\xA9" + "tail";
    EXPECT_EQ(error(wide), "s:1: unknown line \"" + std::string(59, 'y') + "...\"");
}

// Items, edits and block lines are each bounded in number: their lines are
// a few bytes, what the scene keeps of them far more.
TEST(SceneFile, HoldsAtMostItsLimitsOfItemsEditsAndBlockLines) {
    auto repeated = [](const std::string& line, size_t count) {
        std::string text;
        for (size_t n = 0; n < count; ++n) text += line;
        return text;
    };
    const std::string items =
        repeated("object\n", sim::kMaxSceneItems / 2) + repeated("camera\n", sim::kMaxSceneItems / 2);
    sim::SceneParse full = sim::parseScene(items, "s");
    ASSERT_EQ(full.error, "");
    EXPECT_EQ(full.scene.objects.size() + full.scene.cameras.size(), sim::kMaxSceneItems);
    EXPECT_EQ(sim::parseScene(items + "object Ball\n", "s").error,
              "s:" + std::to_string(sim::kMaxSceneItems + 1) + ": more than " + std::to_string(sim::kMaxSceneItems) +
                  " objects and cameras");

    const std::string edits = "object Ball\n" + repeated("edit rename Ball=Ball@0\n", sim::kMaxSceneEdits);
    EXPECT_EQ(sim::parseScene(edits, "s").scene.edits.size(), sim::kMaxSceneEdits);
    EXPECT_EQ(sim::parseScene(edits + "edit delete Ball@0\n", "s").error,
              "s:" + std::to_string(sim::kMaxSceneEdits + 2) + ": more than " + std::to_string(sim::kMaxSceneEdits) +
                  " edits");

    const std::string block = "block\n" + repeated("|\n", sim::kMaxBlockLines);
    EXPECT_EQ(sim::parseScene(block + "end block\n", "s").scene.modifierBlock.size(), sim::kMaxBlockLines);
    EXPECT_EQ(sim::parseScene(block + "| KELTO_END\nend block\n", "s").error,
              "s:" + std::to_string(sim::kMaxBlockLines + 2) + ": more than " + std::to_string(sim::kMaxBlockLines) +
                  " block lines");
}

TEST(SceneFile, RefusesToWriteWhatWouldNotReadBack) {
    sim::Scene scene;
    scene.addObject("Ball");
    scene.modifierBlock = {"BLOCK_START", "", "end block"};
    EXPECT_EQ(sim::sceneTextProblem(scene), "");
    EXPECT_EQ(sim::parseScene(sim::formatScene(scene), "s").scene.modifierBlock, scene.modifierBlock);
    scene.modifierBlock.push_back("two\nlines");
    EXPECT_EQ(sim::sceneTextProblem(scene).rfind("block line 4 holds a line break", 0), 0u);
    // A carriage return anywhere would end a line when read back.
    scene.modifierBlock.back() = "a carriage\rreturn";
    EXPECT_EQ(sim::sceneTextProblem(scene).rfind("block line 4 holds a line break", 0), 0u);
    scene.modifierBlock.pop_back();
    scene.objects[0].name = std::string("Ba\0ll", 5);
    EXPECT_EQ(sim::sceneTextProblem(scene).rfind("the item name", 0), 0u);
    scene.objects[0].name = "Ball";
    scene.channelName = "";
    EXPECT_EQ(sim::sceneTextProblem(scene), "the channel has no name");
}

TEST(SceneFile, ReadsFilesUpToTheLimitAndNoFurther) {
    std::string dir = testing::TempDir();
    // Sparse files of NUL bytes: at the limit the text is read, one byte over it is not.
    auto sparse = [](const std::string& path, size_t size) {
        std::ofstream{path};
        return ::truncate(path.c_str(), static_cast<off_t>(size)) == 0;
    };
    std::string atLimit = dir + "/at_limit.scene", overLimit = dir + "/over_limit.scene";
    ASSERT_TRUE(sparse(atLimit, sim::kMaxSceneFileBytes));
    ASSERT_TRUE(sparse(overLimit, sim::kMaxSceneFileBytes + 1));
    EXPECT_EQ(sim::readSceneFile(atLimit).error, atLimit + ":1: a line holds a NUL byte");
    EXPECT_EQ(sim::readSceneFile(overLimit).error, "scene file " + overLimit + " is larger than 64 MiB");
    std::remove(atLimit.c_str());
    std::remove(overLimit.c_str());
}

TEST(BlockReader, CopiesAtMostTheMaximumLessOneAndEndsWithMinusOne) {
    sim::BlockReader reader({"BLOCK_START", "0123456789", ""});
    char buffer[8];
    std::memset(buffer, '#', sizeof buffer);
    EXPECT_EQ(reader.read(buffer, 8), 7);
    EXPECT_STREQ(buffer, "BLOCK_S");
    EXPECT_EQ(reader.read(buffer, 4), 3);  // the rest of the line is dropped
    EXPECT_STREQ(buffer, "012");
    EXPECT_EQ(reader.read(buffer, 8), 0);
    EXPECT_STREQ(buffer, "");
    EXPECT_EQ(reader.read(buffer, 8), -1);
    EXPECT_EQ(reader.read(buffer, 8), -1);
}

// In ASCII mode the SDK's write takes the line to its NUL, whatever length it is given: the NUL
// counted or not, a length past the string's end, a negative one; a binary write takes its length.
TEST(BlockWriter, AnAsciiWriteTakesItsLengthFromTheStringAndABinaryOneFromTheCall) {
    sim::BlockWriter writer;
    const host::SaveState& state = writer.state();
    state.write(state.writeData, "BLOCK_START", 12);
    state.write(state.writeData, "ab", 2);
    state.write(state.writeData, "BAD", 50000000);
    state.write(state.writeData, "BAD", -5);
    state.write(state.writeData, "", 0);
    ASSERT_EQ(writer.units().size(), 5u);
    for (const sim::BlockWriter::Unit& unit : writer.units()) {
        EXPECT_EQ(unit.bytes, unit.line() + '\0');
        EXPECT_EQ(unit.length, static_cast<int>(unit.bytes.size()));
    }
    EXPECT_EQ(writer.lines(), (std::vector<std::string>{"BLOCK_START", "ab", "BAD", "BAD", ""}));

    sim::BlockWriter binary(host::kIoModeBinary);
    binary.state().write(binary.state().writeData, "ab\0cd", 5);
    binary.state().write(binary.state().writeData, "ef", -1);
    EXPECT_EQ(binary.bytes(), std::string("ab\0cd", 5));
}

}  // namespace

namespace {

struct Found {
    bool found = false;
    int typeCode = -1;
    size_t index = 0;
};

Found firstNamed(const sim::Scene& scene, const std::string& name) {
    Found at;
    at.found = scene.firstNamed(name, {host::kItemTypeObject, host::kItemTypeCamera}, at.typeCode, at.index);
    return at;
}

}  // namespace

// An edit finds its item by name through the scene's index, which follows
// additions, erasures and renames: the first of that name, objects before
// cameras, as a walk of the lists would find it.
TEST(Scene, FindsTheFirstItemOfANameAsTheListsChange) {
    sim::Scene scene;
    scene.addCamera("Twin");
    scene.addObject("Ball");
    scene.addObject("Twin");
    scene.addObject("Twin");
    Found twin = firstNamed(scene, "Twin");
    EXPECT_TRUE(twin.found);
    EXPECT_EQ(twin.typeCode, host::kItemTypeObject);
    EXPECT_EQ(twin.index, 1u);

    scene.erase(host::kItemTypeObject, 0);  // the places after it move down
    twin = firstNamed(scene, "Twin");
    EXPECT_EQ(twin.index, 0u);
    const sim::SceneItem* moved = scene.itemOfSerial(scene.objects[1].serial);
    ASSERT_NE(moved, nullptr);
    EXPECT_EQ(moved, &scene.objects[1]);

    scene.rename(host::kItemTypeObject, 0, "Ball");
    EXPECT_EQ(firstNamed(scene, "Twin").index, 1u);
    EXPECT_EQ(firstNamed(scene, "Ball").index, 0u);
    scene.erase(host::kItemTypeObject, 1);
    twin = firstNamed(scene, "Twin");  // the camera's, now no object has it
    EXPECT_EQ(twin.typeCode, host::kItemTypeCamera);
    EXPECT_EQ(twin.index, 0u);

    scene.addObject("Twin");
    EXPECT_EQ(firstNamed(scene, "Twin").typeCode, host::kItemTypeObject);
    // A name changed behind the scene's back is still found, and one no item has is not.
    scene.objects[0].name = "Hidden";
    EXPECT_EQ(firstNamed(scene, "Hidden").index, 0u);
    EXPECT_FALSE(firstNamed(scene, "Ball").found);
    EXPECT_FALSE(firstNamed(scene, "Nothing").found);
}
