// A third party's module that keeps its settings with the typed functions of the load and save states,
// in blocks, run by kelto-host: saved into a scene, loaded back, saved again, in each I/O mode. And
// Kelto written again by a third party, run beside kelto.p.
#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "tests/e2e/host_program.h"

namespace {

using e2e::contains;
using e2e::fileText;
using e2e::HostRun;
using e2e::run;
using e2e::temp;

const char kScene[] = "frames 0 2\nfps 24\nchannel Keeper.Value\nvalue 0\n";

std::string sceneFile(const std::string& name, const std::string& text) {
    std::string path = temp(name);
    std::ofstream(path) << text;
    return path;
}

struct Saved {
    HostRun run;
    std::string scene;  // the scene file written
};

// The module run with `options`, its scene written to the temporary `name`.
Saved runWriting(const std::string& module, const std::string& options, const std::string& name) {
    std::string written = temp(name);
    std::remove(written.c_str());
    Saved saved{run(module + options + " --write-scene " + written), ""};
    saved.scene = fileText(written);
    return saved;
}

Saved saveFrom(const std::string& scenePath, const std::string& name, const std::string& options = "") {
    return runWriting(KELTO_SETTINGS_KEEPER, " --scene " + scenePath + " " + options, name);
}

// The scene's text with the saves count, which each save raises, taken out.
std::string withoutSaves(std::string scene, const std::string& saves) {
    size_t at = scene.find(saves);
    return at == std::string::npos ? scene : scene.erase(at, saves.size());
}

TEST(ThirdPartyModule, KeepsEverySettingThroughTheSceneFileInAsciiBlocks) {
    Saved first = saveFrom(sceneFile("keeper.scene", kScene), "keeper-1.scene");
    ASSERT_EQ(first.run.exitCode, 0) << first.run.out;
    // The blocks as the SDK shows them: a leaf a line, the others braced and indented.
    EXPECT_TRUE(contains(first.scene,
                         "block\n"
                         "| { KeeperSettings\n"
                         "|   Gain 1.5 nan\n"
                         "|   Offset -0.1 -inf\n"
                         "|   Saves 1\n"
                         "|   Window -2147483648 0 2147483647\n"
                         "|   Small -128 -32768\n"
                         "|   Unsigned FF BEEF DEADBEEF\n"
                         "|   Label \" first \"take\"\"\n"
                         "| }\n"
                         "end block\n"))
        << first.scene;

    Saved second = saveFrom(sceneFile("keeper-1.scene", first.scene), "keeper-2.scene");
    ASSERT_EQ(second.run.exitCode, 0) << second.run.out;
    // Load found the block: the channel counts one save behind it, and all else came back as it was.
    EXPECT_TRUE(contains(second.run.out, "       0      0.0000      1.000000\n")) << second.run.out;
    EXPECT_TRUE(contains(second.scene, "Saves 2\n")) << second.scene;
    EXPECT_EQ(withoutSaves(second.scene, "Saves 2"), withoutSaves(first.scene, "Saves 1"));
}

TEST(ThirdPartyModule, KeepsEverySettingInBinaryBlocksAndSaysSo) {
    Saved first = saveFrom(sceneFile("keeper-binary.scene", kScene), "keeper-binary-1.scene", "--binary-save");
    ASSERT_EQ(first.run.exitCode, 0) << first.run.out;
    EXPECT_TRUE(contains(first.run.out, "Saved block (binary, ")) << first.run.out;
    // KEEP, then the size of all that follows, then GAIN, 8 bytes: 1.5f and a NaN.
    EXPECT_TRUE(contains(first.scene, "binary block\n| 4B454550")) << first.scene;
    EXPECT_TRUE(contains(first.scene, "4741494E00083FC00000")) << first.scene;

    Saved second = saveFrom(sceneFile("keeper-binary-1.scene", first.scene), "keeper-binary-2.scene", "--binary-save");
    ASSERT_EQ(second.run.exitCode, 0) << second.run.out;
    EXPECT_TRUE(contains(second.run.out, "       0      0.0000      1.000000\n")) << second.run.out;
    // SAVE, 4 bytes: 2 where the first had 1.
    EXPECT_TRUE(contains(second.scene, "53415645000400000002")) << second.scene;
    EXPECT_EQ(withoutSaves(second.scene, "53415645000400000002"), withoutSaves(first.scene, "53415645000400000001"));

    // A binary block saved as ASCII again reads the same.
    Saved ascii = saveFrom(sceneFile("keeper-binary-2.scene", second.scene), "keeper-ascii.scene");
    ASSERT_EQ(ascii.run.exitCode, 0) << ascii.run.out;
    EXPECT_TRUE(contains(ascii.scene, "|   Saves 3\n|   Window -2147483648 0 2147483647\n")) << ascii.scene;
}

TEST(ThirdPartyModule, FieldsOfALaterVersionAndInAnotherOrderAreFoundOrSkipped) {
    std::string block =
        "block\n"
        "| { KeeperSettings\n"
        "|   Label \"moved first\"\n"
        "|   { LaterVersion\n"
        "|     Saves 99\n"
        "|   }\n"
        "|   Unknown 1 2 3\n"
        "|   Saves 4\n"
        "| }\n"
        "end block\n";
    Saved saved = saveFrom(sceneFile("keeper-later.scene", std::string(kScene) + block), "keeper-later-1.scene");
    ASSERT_EQ(saved.run.exitCode, 0) << saved.run.out;
    EXPECT_TRUE(contains(saved.run.out, "       0      0.0000      4.000000\n")) << saved.run.out;
    EXPECT_TRUE(contains(saved.scene, "|   Saves 5\n")) << saved.scene;
    EXPECT_TRUE(contains(saved.scene, "|   Label \"moved first\"\n")) << saved.scene;
}

TEST(ThirdPartyModule, ABinaryBlockThatIsNotWholeBytesIsRefusedWithItsLine) {
    HostRun refused = run(std::string(KELTO_SETTINGS_KEEPER) + " --scene " +
                          sceneFile("keeper-bad.scene", std::string(kScene) + "binary block\n| 4B4\nend block\n"));
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_TRUE(contains(refused.out, "a binary block's lines are its bytes, two hex digits each")) << refused.out;
}

// Kelto written again in C from the SDK's headers and the docs alone runs the
// examples as kelto.p does: the same values, to the digits shown, and the same
// scene written back, though it hands each line's write its length without the
// NUL and sums the squares in another order.
TEST(ThirdPartyModule, AnIndependentKeltoRunsTheExamplesAsKeltoDoes) {
    const std::string independent = std::string(INDEPENDENT_KELTO_DIR) + "/independent_kelto.p";
    for (const char* scene : {"demo.scene", "flyby.scene", "edits.scene"}) {
        const std::string options = std::string(" --scene ") + KELTO_EXAMPLES_DIR + "/" + scene;
        Saved ours = runWriting(KELTO_MODULE_PATH, options, std::string("ours-") + scene);
        Saved theirs = runWriting(independent, options, std::string("theirs-") + scene);
        ASSERT_EQ(theirs.run.exitCode, 0) << theirs.run.out;
        EXPECT_FALSE(e2e::tableRows(theirs.run.out).empty()) << theirs.run.out;
        EXPECT_EQ(e2e::tableRows(theirs.run.out), e2e::tableRows(ours.run.out)) << scene;
        EXPECT_EQ(theirs.scene, ours.scene) << scene;
    }
}

}  // namespace
