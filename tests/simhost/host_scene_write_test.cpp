// The host's scene files written back with a module's block as the host
// saves it: in the channel's envelope, a focal distance given as a value or
// not at all made an envelope, every other byte kept, the file read back to
// the same scene and block; and what cannot be written refused whole.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "simhost/scene/host_scene_file.h"
#include "simhost/scene/item_transform.h"
#include "simhost/scene/scene_file.h"
#include "tests/simhost/host_scene_texts.h"

namespace {

const std::vector<std::string> kLines = {"KELTO_START", "REFERENCE_ITEM",   "Ball", "REFERENCE_CAMERA",
                                         "Camera",      "  blanks its own", "",     "KELTO_END"};

// The block as the host writes it inside an envelope at the top level.
const std::string kBlock =
    "  { ChannelHandler\n    \"Kelto\"\n    0\n    KELTO_START\n    REFERENCE_ITEM\n    Ball\n"
    "    REFERENCE_CAMERA\n    Camera\n      blanks its own\n    \n    KELTO_END\n  }\n";

std::string focalEnvelope(const std::string& value) {
    return "FocalDistance (envelope)\n{ Envelope\n  1\n  Key " + value + " 0 0 0 0 0 0 0 0\n  Behaviors 1 1\n" +
           kBlock + "}\n";
}

std::string scene(const std::string& cameraLines) {
    return lws::header(5) + "LoadObjectLayer 1 10000000 Objects/Ball.lwo\n" +
           lws::motion("ObjectMotion", {1, 0, 0, 0, 0, 0, 1, 1, 1}, {{2, lws::envelope({"0 0 3", "10 1 3"}, "1 4")}}) +
           "AddCamera 30000000\nCameraName Camera\n" + lws::motion("CameraMotion", {0, 1, -5, 0, 0, 0}) + cameraLines +
           "Plugin CameraHandler 1 Perspective\nEndPlugin\n";
}

std::string withCrLf(const std::string& text) {
    std::string result;
    for (char c : text) result += c == '\n' ? std::string("\r\n") : std::string(1, c);
    return result;
}

struct Written {
    std::string text, error;
};

Written write(const sim::Scene& scene, size_t item, const std::string& channel,
              const std::vector<std::string>& lines = kLines, const std::string& server = "Kelto") {
    Written written;
    written.text = sim::formatHostScene(scene, item, channel, server, lines, written.error);
    return written;
}

// Writes Kelto's block on the first camera's focal distance and reads the
// file back: the same items in the same places at every frame, the same
// focal distance, and the block as written.
std::string writtenFocus(const std::string& text) {
    const sim::SceneParse read = lws::read(text);
    EXPECT_EQ(read.error, "");
    const sim::Scene& before = read.scene;
    const Written written = write(before, before.cameras[0].serial, sim::kFocalDistanceChannel);
    EXPECT_EQ(written.error, "");
    const sim::SceneParse again = lws::read(written.text);
    EXPECT_EQ(again.error, "");
    const sim::Scene& after = again.scene;
    size_t replaced = 0;
    for (const sim::ChannelModifierBlock& old : before.channelModifiers)
        replaced += old.item == before.cameras[0].serial && old.server == "Kelto";
    EXPECT_EQ(after.channelModifiers.size(), before.channelModifiers.size() + 1 - replaced);
    const sim::ChannelModifierBlock* block = nullptr;
    for (const sim::ChannelModifierBlock& each : after.channelModifiers)
        if (each.server == "Kelto") block = &each;
    if (block == nullptr) return ADD_FAILURE() << "no block", "";
    EXPECT_EQ(block->item, after.cameras[0].serial);
    EXPECT_EQ(block->channel, sim::kFocalDistanceChannel);
    EXPECT_EQ(block->flags, 0u);
    EXPECT_EQ(block->lines, kLines);
    for (int frame = before.firstFrame; frame <= before.lastFrame; frame += before.frameStep) {
        const double time = before.timeOfFrame(frame);
        for (size_t n = 0; n < before.objects.size(); ++n) {
            const sim::Vec3 a = sim::worldPosition(before, before.objects[n], time);
            const sim::Vec3 b = sim::worldPosition(after, after.objects[n], time);
            EXPECT_TRUE(a.x == b.x && a.y == b.y && a.z == b.z) << frame;
        }
        EXPECT_EQ(lws::channel(before.cameras[0], sim::kFocalDistanceChannel)->value.valueAt(time),
                  lws::channel(after.cameras[0], sim::kFocalDistanceChannel)->value.valueAt(time));
    }
    return written.text;
}

TEST(HostSceneWrite, MakesAFocalDistanceValueAnEnvelopeHoldingTheBlock) {
    const std::string before = "ApertureHeight 0.015\nDepthOfField 1\n";
    const std::string after = "LensFStop 4\n";
    EXPECT_EQ(writtenFocus(scene(before + "FocalDistance 12.5\n" + after)),
              scene(before + focalEnvelope("12.5") + after));
    // Line ends as the file has them.
    EXPECT_EQ(writtenFocus(withCrLf(scene(before + "FocalDistance 12.5\n" + after))),
              withCrLf(scene(before + focalEnvelope("12.5") + after)));
}

TEST(HostSceneWrite, GivesACameraWithoutAFocalDistanceTheHostsWhereTheHostWritesIt) {
    const std::string one = focalEnvelope("1");
    EXPECT_EQ(writtenFocus(scene("ApertureHeight 0.015\nDepthOfField 0\nLensFStop 4\n")),
              scene("ApertureHeight 0.015\nDepthOfField 0\n" + one + "LensFStop 4\n"));
    EXPECT_EQ(writtenFocus(scene("ZoomFactor 3.2\nApertureHeight 0.015\nAntialiasing 0\n")),
              scene("ZoomFactor 3.2\nApertureHeight 0.015\n" + one + "Antialiasing 0\n"));
    EXPECT_EQ(writtenFocus(withCrLf(scene("ZoomFactor 3.2\n"))), withCrLf(scene(one + "ZoomFactor 3.2\n")));
    // After a last line without an ending, the new lines begin with one.
    const std::string head = lws::header(5) + "AddCamera 30000000\nCameraName Camera\n" +
                             lws::motion("CameraMotion", lws::kStillCamera) + "DepthOfField 0";
    EXPECT_EQ(writtenFocus(head), head + "\n" + one);
}

TEST(HostSceneWrite, ReplacesABlockOfTheSameServerAndKeepsTheOthers) {
    const std::string other = "  { ChannelHandler\n    \"Other\"\n    0\n    its own\n  }\n";
    const std::string old = "  { ChannelHandler\n    \"Kelto\"\n    0\n    KELTO_START\n    KELTO_END\n  }\n";
    const std::string envelope =
        "FocalDistance (envelope)\n{ Envelope\n  2\n  Key 2 0 3 0 0 0 0 0 0\n"
        "  Key 6 1 3 0 0 0 0 0 0\n  Behaviors 1 1\n";
    const std::string text = writtenFocus(scene(envelope + other + old + "}\n"));
    EXPECT_EQ(text, scene(envelope + other + kBlock + "}\n"));
    EXPECT_EQ(lws::read(text).scene.channelModifiers.size(), 2u);
    // With none of its own there, the block goes last.
    EXPECT_EQ(writtenFocus(scene(envelope + other + "}\n")), scene(envelope + other + kBlock + "}\n"));
}

TEST(HostSceneWrite, PutsTheBlockInAMotionChannelsEnvelope) {
    const std::string text = scene("");
    const sim::SceneParse read = lws::read(text);
    ASSERT_EQ(read.error, "");
    const Written written = write(read.scene, read.scene.objects[0].serial, "Position.Z");
    ASSERT_EQ(written.error, "");
    const std::string keys = "  Key 10 1 3 0 0 0 0 0 0\n  Behaviors 1 4\n";
    const size_t at = text.find(keys) + keys.size();
    EXPECT_EQ(written.text, text.substr(0, at) + kBlock + text.substr(at));
    const sim::SceneParse again = lws::read(written.text);
    ASSERT_EQ(again.error, "");
    EXPECT_EQ(again.scene.channelModifiers[0].lines, kLines);
    EXPECT_EQ(again.scene.objects[0].unmodelled,
              (std::vector<std::string>{"channel modifier Kelto on Position.Z ({ ChannelHandler)"}));
}

TEST(HostSceneWrite, RefusesWhatCannotBeWrittenAndWritesNothing) {
    const sim::SceneParse read = lws::read(scene("FocalDistance 3\n"));
    ASSERT_EQ(read.error, "");
    const size_t camera = read.scene.cameras[0].serial;
    auto refusal = [&](const std::vector<std::string>& lines, const std::string& server = "Kelto",
                       const std::string& channel = sim::kFocalDistanceChannel, size_t item = sim::kNoItem) {
        const Written written = write(read.scene, item == sim::kNoItem ? camera : item, channel, lines, server);
        EXPECT_EQ(written.text, "");
        return written.error;
    };
    EXPECT_EQ(refusal({"KELTO_START", "}"}), "saved line 2 \"}\" would read back as the end of the block");
    EXPECT_EQ(refusal({"\t}  "}), "saved line 1 \"\t}  \" would read back as the end of the block");
    EXPECT_EQ(refusal({"  { Envelope"}), "saved line 1 \"  { Envelope\" would read back as a block of its own");
    EXPECT_EQ(refusal({"a\nb"}),
              "saved line 1 \"a\nb\" holds a line break (a line feed or a carriage return) or a NUL");
    EXPECT_EQ(refusal({std::string("a\0b", 3)}).substr(0, 13), "saved line 1 ");
    EXPECT_EQ(refusal({"x"}, "Kel\"to"), "the server's name \"Kel\"to\" holds a line break, a NUL or a double quote");
    EXPECT_EQ(refusal({"x"}, "Kelto", "Zoom"), "the host's scene file holds no envelope of Camera's channel \"Zoom\"");
    EXPECT_EQ(refusal({"x"}, "Kelto", "Scale.X"),
              "the host's scene file holds no envelope of Camera's channel \"Scale.X\"");
    // A "}" among other words is a line like any other.
    EXPECT_EQ(refusal({"a }", "x {"}, "Kelto", "Nothing"),
              "the host's scene file holds no envelope of Camera's channel \"Nothing\"");

    for (const std::string old : {"LWSC\n1\n\nLoadObject Box\n", "LWSC\n2\n\nLoadObject Box\n"}) {
        const sim::SceneParse early = lws::read(old);
        ASSERT_EQ(early.error, "");
        const Written written = write(
            early.scene, early.scene.cameras.empty() ? early.scene.objects[0].serial : early.scene.cameras[0].serial,
            sim::kFocalDistanceChannel);
        EXPECT_EQ(written.text, "");
        EXPECT_EQ(written.error, "version " + old.substr(5, 1) +
                                     " of the host's scene files has no place for a channel modifier's block (the "
                                     "host writes one from version 3 on)");
    }
    const sim::SceneParse own = sim::parseScene("camera Camera\nkey 0 0 0 0\n", "own");
    EXPECT_EQ(write(own.scene, own.scene.cameras[0].serial, sim::kFocalDistanceChannel).error,
              "the scene was not read from the host's scene file");
}

}  // namespace
