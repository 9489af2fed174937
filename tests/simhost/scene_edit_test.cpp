// Edits of the scene's items: their text, and the scene file's edit step.
#include <gtest/gtest.h>

#include "simhost/scene/scene_edit_text.h"
#include "simhost/scene/scene_file.h"

namespace {

TEST(SceneEdit, ReadsEachKindBackFromTheTextItWrites) {
    const char* grammar =
        "an edit is \"delete NAME@FRAME\", \"add object NAME@FRAME\", \"add camera NAME@FRAME\" or "
        "\"rename OLD=NEW@FRAME\"";
    sim::SceneParse scene = sim::parseScene(
        "edit delete Ball@48\nedit add camera Close up@-3\nedit rename Ball@home=Ball = red@12\n", "edits.scene");
    ASSERT_EQ(scene.error, "");
    const std::vector<sim::SceneEdit>& edits = scene.scene.edits;
    ASSERT_EQ(edits.size(), 3u);
    EXPECT_EQ(sim::describeSceneEdit(edits[0]), "delete Ball at frame 48");
    EXPECT_EQ(edits[1].kind, sim::EditKind::Add);
    EXPECT_EQ(edits[1].typeCode, host::kItemTypeCamera);
    EXPECT_EQ(edits[1].frame, -3);
    // The frame follows the last "@"; the old name ends at the first "=".
    EXPECT_EQ(sim::describeSceneEdit(edits[2]), "rename Ball@home to Ball = red at frame 12");
    std::string written = sim::formatScene(scene.scene);
    EXPECT_NE(written.find("edit delete Ball@48\nedit add camera Close up@-3\nedit rename Ball@home=Ball = red@12\n"),
              std::string::npos);

    auto refusal = [](const std::string& text) {
        sim::SceneEdit edit;
        std::string error;
        EXPECT_FALSE(sim::parseSceneEdit(text, edit, error)) << text;
        return error;
    };
    for (const char* text : {"delete Ball", "remove Ball@4", "add light Sun@4", "rename Ball@4", "deleteBall@4"})
        EXPECT_EQ(refusal(text), grammar) << text;
    for (const char* text : {"delete Ball@", "delete Ball@4.5", "delete Ball@ 4"})
        EXPECT_EQ(refusal(text), "an edit's frame, after the last \"@\", is a whole number") << text;
    EXPECT_EQ(refusal("delete Ball@99999999999"),
              "an edit's frame, after the last \"@\", is out of range: a frame lies from -2147483648 to 2147483647");
    EXPECT_EQ(sim::parseScene("\nedit delete Ball@x\n", "bad.scene").error,
              "bad.scene:2: an edit's frame, after the last \"@\", is a whole number");
}

}  // namespace
