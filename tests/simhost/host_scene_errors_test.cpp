// Bad scene files in the host's format: one line naming the file and the
// line, whatever is wrong, and no more reading than the file's size asks.
#include <gtest/gtest.h>

#include <string>

#include "simhost/scene/host_scene_file.h"
#include "tests/simhost/host_scene_texts.h"

namespace {

// header(5) takes lines 1 to 8: what follows it begins on line 9.
const std::string kHead = lws::header(5);

std::string repeated(const std::string& text, size_t times) {
    std::string result;
    result.reserve(text.size() * times);
    for (size_t n = 0; n < times; ++n) result += text;
    return result;
}

TEST(HostSceneFileErrors, NameTheFirstLinesFaults) {
    EXPECT_EQ(lws::error("LWSX\n5\n"), "s.lws:1: the host's scene file begins with the line \"LWSC\"");
    EXPECT_EQ(lws::error("LWSC\n"), "s.lws:2: the file ends before the version's line");
    EXPECT_EQ(lws::error("LWSC\n9\n"),
              "s.lws:2: \"9\" is not a whole number from 1 to 8 (the version of the host's scene files)");
    EXPECT_EQ(lws::error("LWSC\n0\n"),
              "s.lws:2: \"0\" is not a whole number from 1 to 8 (the version of the host's scene files)");
    EXPECT_EQ(lws::error(kHead + "AddNullObject A\nAddNullObject B" + std::string(1, '\0') + "C\n"),
              "s.lws:10: a line holds a NUL byte");
}

TEST(HostSceneFileErrors, NameParentsThatAreNoItemOrMakeALoop) {
    EXPECT_EQ(lws::error(kHead + "AddNullObject 10000000 A\nParentItem 10000001\n"
                                 "AddNullObject 10000001 B\nParentItem 10000000\n"),
              "s.lws:10: the parents of A lead back to it");
    EXPECT_EQ(lws::error(kHead + "AddNullObject 10000000 A\nParentItem 10000000\n"), "s.lws:10: A is its own parent");
    EXPECT_EQ(lws::error(kHead + "AddNullObject 10000000 A\nParentItem 1000000f\n"),
              "s.lws:10: ParentItem 1000000f names no item");
    EXPECT_EQ(lws::error(kHead + "AddNullObject 10000000 A\nParentItem 1000zz00\n"),
              "s.lws:10: \"1000zz00\" is not an item number (eight hexadecimal digits)");
    EXPECT_EQ(lws::error(lws::header(3) + "AddNullObject A\nParentObject 0\n"),
              "s.lws:10: ParentObject 0 names no object: they are counted from 1, and the file declares 1");
    EXPECT_EQ(lws::error(lws::header(3) + "AddNullObject A\nAddBone\nParentObject 2\n"),
              "s.lws:11: ParentObject 2 names no bone of its object (they are counted from 1)");
    EXPECT_EQ(lws::error(kHead + "ParentItem 10000000\n"), "s.lws:9: ParentItem before any item");
    EXPECT_EQ(lws::error(kHead + "AddNullObject 10000000 A\nAddNullObject 10000000 B\n"),
              "s.lws:10: the item number 10000000 is A's already (line 9)");
    EXPECT_EQ(lws::error(kHead + "AddBone 40000000\n"), "s.lws:9: a bone before any object");
}

// The host writes a channel once: a second would leave which one a run and a
// write take to guesswork.
TEST(HostSceneFileErrors, NameAChannelGivenTwice) {
    const std::string camera = kHead + "AddCamera 30000000\nCameraName Camera\n";
    const std::string envelope = "{ Envelope\n  1\n  Key 2 0 0 0 0 0 0 0 0\n  Behaviors 1 1\n}\n";
    EXPECT_EQ(lws::error(camera + "FocalDistance 3\nFocalDistance 4\n"),
              "s.lws:12: a second FocalDistance of this item");
    EXPECT_EQ(lws::error(camera + "FocalDistance (envelope)\n" + envelope + "FocalDistance 4\n"),
              "s.lws:17: a second FocalDistance of this item");
    EXPECT_EQ(lws::error(camera + "FocalDistance 4\nFocalDistance (envelope)\n" + envelope),
              "s.lws:12: a second FocalDistance of this item");
    EXPECT_EQ(
        lws::error(kHead + "AmbientIntensity (envelope)\n" + envelope + "AmbientIntensity (envelope)\n" + envelope),
        "s.lws:15: a second AmbientIntensity of the scene");
}

TEST(HostSceneFileErrors, NameBlocksCutShort) {
    const std::string item = "AddNullObject 10000000 A\nObjectMotion\nNumChannels 9\nChannel 0\n";
    EXPECT_EQ(lws::error(kHead + item + "{ Envelope\n  1\n  Key 0 0 0 0 0 0 0 0 0\n"),
              "s.lws:13: the envelope has no closing \"}\"");
    EXPECT_EQ(lws::error(kHead + item + "{ Envelope\n  1\n  Key 0 0 0 0 0 0 0 0 0\n  { ChannelHandler\n    \"K\"\n"),
              "s.lws:16: the channel modifier's block has no closing \"}\"");
    EXPECT_EQ(lws::error(kHead + "Plugin ItemMotionHandler 1 Follower\n\"1\"\n}\n"),
              "s.lws:9: the plug-in's data has no \"EndPlugin\" line after it");
    EXPECT_EQ(lws::error(kHead + "APSDisplay\n{ APS\n  Version 1\n  { VParm\n  }\n"),
              "s.lws:10: the block \"{ APS\" has no closing \"}\"");
    EXPECT_EQ(lws::error(kHead + item + "Behaviors 1 1\n"),
              "s.lws:12: \"Channel 0\" is not followed by its \"{ Envelope\" block");
    EXPECT_EQ(lws::error(kHead + item + "{ Envelope\n  0\n  Behaviors 1 1\n}\n"), "s.lws:13: the envelope has no keys");
    EXPECT_EQ(lws::error(kHead + item + lws::envelope({"0"}) + "Channel 0\n" + lws::envelope({"1"})),
              "s.lws:18: a second Channel 0 of this motion");
    EXPECT_EQ(
        lws::error(kHead + item + lws::envelope({"0"}, "1 1", "  { ChannelHandler\n    \"K\"\n    0\n  x\n  }\n")),
        "s.lws:20: a line of the channel modifier's block is not indented by its 4 spaces");
    EXPECT_EQ(lws::error(kHead + item + lws::envelope({"0"}, "1 1", "  { ChannelHandler\n    \"K\"\n  }\n")),
              "s.lws:17: the channel modifier's block begins with its server's name and flags");
    EXPECT_EQ(lws::error(kHead + "AddLight 20000000\nObjectMotion\n"),
              "s.lws:10: ObjectMotion outside the section of an object");
}

TEST(HostSceneFileErrors, NameOldCountsThatRunPastTheirKeys) {
    const std::string box =
        "LWSC\n1\n\nLoadObject Box\nObjectMotion (unnamed)\n  9\n  3\n"
        "  0 0 0 0 0 0 1 1 1\n  0 0 0 0 0\n  1 0 0 0 0 0 1 1 1\n  10 0 0 0 0\n";
    EXPECT_EQ(lws::error(box + "EndBehavior 1\n"), "s.lws:12: \"EndBehavior\" stands where key 3 of 3 was due");
    EXPECT_EQ(lws::error(box), "s.lws:11: the file ends where key 3 of 3 was due");
    // A count far past the file's end costs no more than the file.
    EXPECT_EQ(lws::error("LWSC\n1\n\nLoadObject Box\nObjectMotion (unnamed)\n  9\n  2000000000\n"),
              "s.lws:7: the file ends where key 1 of 2000000000 was due");
    EXPECT_EQ(lws::error("LWSC\n1\n\nLoadObject Box\nObjectMotion (unnamed)\n  10\n"),
              "s.lws:6: the count of channels is a whole number from 1 to 9");
    EXPECT_EQ(lws::error("LWSC\n1\n\nLoadObject Box\nObjectMotion (unnamed)\n  1\n  1\n  0\n  0 2 0 0 0\n"),
              "s.lws:9: a key's linear flag is 0 or 1");
    EXPECT_EQ(lws::error("LWSC\n1\n\nLoadObject Box\nObjectMotion (unnamed)\n  1\n  1\n  0\n  0 0 0 0 0 7\n"),
              "s.lws:9: more numbers than the counts before them give");
    EXPECT_EQ(lws::error("LWSC\n2\n\nLoadObject Box\nObjectMotion (unnamed)\n  9\n  2\n  0 0 2 0 0 0\n"
                         "Pre/PostBehavior 1 1\n"),
              "s.lws:9: \"Pre/PostBehavior\" stands where key 2 of 2 was due");
    EXPECT_EQ(lws::error("LWSC\n2\n\nLoadObject Box\nObjectMotion (unnamed)\n  1\n  1\n  0 0 2 0 0 0\n"
                         "Pre/PostBehavior 1 1 1 1\n"),
              "s.lws:9: \"Pre/PostBehavior\" gives two behaviours, each from 0 to 5, for each channel");
}

TEST(HostSceneFileErrors, NameNumbersThatAreNoneOrBeyondTheBounds) {
    const std::string item = "AddNullObject 10000000 A\nObjectMotion\nNumChannels 9\nChannel 0\n{ Envelope\n  1\n";
    const std::string usage = " (a key is \"Key VALUE TIME SHAPE P1 P2 P3 P4 P5 P6\")";
    EXPECT_EQ(lws::error(kHead + item + "  Key abc 0 0 0 0 0 0 0 0\n}\n"), "s.lws:15: \"abc\" is not a number" + usage);
    EXPECT_EQ(lws::error(kHead + item + "  Key 0 inf 0 0 0 0 0 0 0\n}\n"), "s.lws:15: \"inf\" is not a finite number");
    EXPECT_EQ(lws::error(kHead + item + "  Key 1e999 0 0 0 0 0 0 0 0\n}\n"), "s.lws:15: \"1e999\" is out of range");
    EXPECT_EQ(lws::error(kHead + item + "  Key 0 -1e151 0 0 0 0 0 0 0\n}\n"),
              "s.lws:15: \"-1e151\" lies outside -1e+150 to 1e+150");
    EXPECT_EQ(lws::error(kHead + item + "  Key 0 0 6 0 0 0 0 0 0\n}\n"),
              "s.lws:15: \"6\" is not a whole number from 0 to 5" + usage);
    EXPECT_EQ(lws::error(kHead + item + "  Key 0 0 0\n}\n"),
              "s.lws:15: a key is \"Key VALUE TIME SHAPE P1 P2 P3 P4 P5 P6\"");
    EXPECT_EQ(lws::error(kHead + item + "  Key 0 0 0 0 0 0 0 0 0\n  Behaviors 1 6\n}\n"),
              "s.lws:16: \"6\" is not a whole number from 0 to 5 (the behaviours are \"Behaviors PRE POST\", each "
              "from 0 to 5)");
    EXPECT_EQ(lws::error(kHead + "AddNullObject A\nPivotPosition 1 2\n"), "s.lws:10: a pivot is three numbers: X Y Z");
    EXPECT_EQ(lws::error(kHead + "AddNullObject A\nPivotRotation 1 2 nan\n"),
              "s.lws:10: \"nan\" is not a finite number");
    EXPECT_EQ(lws::error(kHead + "AddNullObject A\nHController 1.5\n"),
              "s.lws:10: \"1.5\" is not a whole number from 0 to 2147483647 (a controller is a whole number, 0 for "
              "keyframes)");
}

TEST(HostSceneFileErrors, NameFramesBeyondWhatARunEvaluates) {
    EXPECT_EQ(lws::error(lws::header(5, 0, 1000000)), "s.lws:5: more than 1000000 frames");
    EXPECT_EQ(lws::error(lws::header(5, 10, 5)), "s.lws:5: the last frame comes before the first");
    EXPECT_EQ(lws::error(lws::header(5, 0, 10, 0)), "s.lws:7: \"FramesPerSecond N\" with N above 0");
    EXPECT_EQ(lws::error("LWSC\n5\nFrameStep 0\n"),
              "s.lws:3: \"0\" is not a whole number from 1 to 2147483647 (a run evaluates every FrameStep-th frame)");
    EXPECT_EQ(lws::error("LWSC\n5\nLastFrame 1.5\n"),
              "s.lws:3: \"1.5\" is not a whole number from -2147483648 to 2147483647 (a frame is a whole number)");
    EXPECT_EQ(lws::error("LWSC\n5\nFirstFrame 100\nLastFrame 100\nFramesPerSecond 1e-320\n"),
              "s.lws:5: frame 100 at 1e-320 frames a second has no finite time");
}

TEST(HostSceneFileErrors, NameTheLineWhereAScenePassesItsBounds) {
    // The line of the item past the most: those before it were taken.
    const std::string items = kHead + repeated("AddNullObject\n", sim::kMaxSceneItems);
    EXPECT_EQ(lws::error(items + "AddLight\n"), "s.lws:" + std::to_string(9 + sim::kMaxSceneItems) + ": more than " +
                                                    std::to_string(sim::kMaxSceneItems) + " items");

    const std::string keys = kHead + "AddNullObject A\nObjectMotion\nNumChannels 9\nChannel 0\n" +
                             lws::envelope({"0 0", "1 1", "2 2", "3 3"});
    EXPECT_EQ(lws::error(keys, 4), "");
    EXPECT_EQ(lws::error(keys, 3), "s.lws:18: more than 3 keys");
    EXPECT_EQ(lws::error(
                  "LWSC\n1\n\nLoadObject Box\nObjectMotion (unnamed)\n  9\n  1\n  0 0 0 0 0 0 1 1 1\n  0 0 0 0 0\n", 8),
              "s.lws:9: more than 8 keys");

    const std::string block = kHead + "AddNullObject A\nObjectMotion\nNumChannels 9\nChannel 0\n" +
                              lws::envelope({"0"}, "1 1",
                                            "  { ChannelHandler\n    \"K\"\n    0\n" +
                                                repeated("    x\n", sim::kMaxBlockLines - 2) + "  }\n");
    EXPECT_EQ(lws::error(block), "");
    EXPECT_EQ(lws::error(kHead + "AddNullObject A\nObjectMotion\nNumChannels 9\nChannel 0\n" +
                         lws::envelope({"0"}, "1 1",
                                       "  { ChannelHandler\n    \"K\"\n    0\n" +
                                           repeated("    x\n", sim::kMaxBlockLines - 1) + "  }\n")),
              "s.lws:" + std::to_string(18 + sim::kMaxBlockLines) + ": more than " +
                  std::to_string(sim::kMaxBlockLines) + " lines in channel modifiers' blocks");
}

}  // namespace
