// Edits of the scene's items: their text, and the scene file's edit step.
#include <gtest/gtest.h>

#include "simhost/scene_edit.h"
#include "simhost/scene_file.h"

namespace {

sim::SceneEdit parsed(const std::string& text) {
    sim::SceneEdit edit;
    std::string error;
    EXPECT_TRUE(sim::parseSceneEdit(text, edit, error)) << text << ": " << error;
    EXPECT_EQ(sim::formatSceneEdit(edit), text);
    return edit;
}

std::string refused(const std::string& text) {
    sim::SceneEdit edit;
    std::string error;
    EXPECT_FALSE(sim::parseSceneEdit(text, edit, error)) << text;
    return error;
}

TEST(SceneEdit, ReadsEachKindAndWritesTheSameText) {
    sim::SceneEdit deletion = parsed("delete Ball@48");
    EXPECT_EQ(deletion.kind, sim::EditKind::Delete);
    EXPECT_EQ(deletion.name, "Ball");
    EXPECT_EQ(deletion.frame, 48);
    EXPECT_EQ(sim::describeSceneEdit(deletion), "delete Ball at frame 48");

    sim::SceneEdit camera = parsed("add camera Close up@-3");
    EXPECT_EQ(camera.kind, sim::EditKind::Add);
    EXPECT_EQ(camera.typeCode, host::kItemTypeCamera);
    EXPECT_EQ(camera.name, "Close up");
    EXPECT_EQ(camera.frame, -3);
    EXPECT_EQ(parsed("add object Lamp@0").typeCode, host::kItemTypeObject);

    // The frame follows the last "@"; the old name ends at the first "=".
    sim::SceneEdit rename = parsed("rename Ball@home=Ball = red@12");
    EXPECT_EQ(rename.kind, sim::EditKind::Rename);
    EXPECT_EQ(rename.name, "Ball@home");
    EXPECT_EQ(rename.newName, "Ball = red");
    EXPECT_EQ(sim::describeSceneEdit(rename), "rename Ball@home to Ball = red at frame 12");
    EXPECT_EQ(parsed("delete  two blanks @5").name, " two blanks ");
    EXPECT_EQ(parsed("rename =@1").name, "");
}

TEST(SceneEdit, RefusesTextOutsideTheGrammar) {
    std::string grammar = refused("delete Ball");
    EXPECT_NE(grammar.find("\"delete NAME@FRAME\""), std::string::npos);
    EXPECT_EQ(refused("remove Ball@4"), grammar);
    EXPECT_EQ(refused("add light Sun@4"), grammar);
    EXPECT_EQ(refused("rename Ball@4"), grammar);
    EXPECT_EQ(refused("deleteBall@4"), grammar);
    for (const char* frame : {"delete Ball@", "delete Ball@4.5", "delete Ball@ 4", "delete Ball@x", "delete Ball@99999999999"})
        EXPECT_EQ(refused(frame), "an edit's frame, after the last \"@\", is a whole number") << frame;
}

TEST(SceneFile, EditStepsAreReadInOrderAndWrittenBack) {
    sim::SceneParse scene = sim::parseScene(
        "frames 0 10\nobject Ball\nedit delete Ball@6\nedit add object Ball@2\nvalue 1\n", "edits.scene");
    ASSERT_EQ(scene.error, "");
    ASSERT_EQ(scene.scene.edits.size(), 2u);
    EXPECT_EQ(scene.scene.edits[0].frame, 6);
    EXPECT_EQ(scene.scene.edits[1].kind, sim::EditKind::Add);
    std::string written = sim::formatScene(scene.scene);
    EXPECT_NE(written.find("edit delete Ball@6\nedit add object Ball@2\n"), std::string::npos);
    EXPECT_EQ(sim::formatScene(sim::parseScene(written, "again.scene").scene), written);

    EXPECT_EQ(sim::parseScene("edit delete Ball@x\n", "bad.scene").error,
              "bad.scene:1: an edit's frame, after the last \"@\", is a whole number");
    EXPECT_EQ(sim::parseScene("\nedit\n", "bad.scene").error.rfind("bad.scene:2: an edit is", 0), 0u);
}

}  // namespace
