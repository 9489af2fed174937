// The simulated host's scene file: a small line format of its own.
//
//     # comment
//     frames 0 96
//     fps 24
//     object Ball
//     key 0 -20 0.5 30
//     camera Camera
//     key 0 0 1.6 -4
//     channel Camera.FocusDistance
//     value 10
//     edit delete Ball@48
//     block
//     | KELTO_START
//     | REFERENCE_ITEM
//     | Ball
//     end block
//
// "frames FIRST LAST" and "fps N" give the frames evaluated; "object NAME" and
// "camera NAME" add an item, the name being the rest of the line; "key FRAME
// X Y Z" keys the item above. "channel NAME" and "value N" describe the
// channel that carries the modifier. "edit TEXT" is an edit of the items
// made before a frame is evaluated, in the text that scene_edit.h describes
// ("delete NAME@FRAME", "add object NAME@FRAME", "add camera NAME@FRAME",
// "rename OLD=NEW@FRAME"). Between "block" and "end block" stand the
// modifier's lines as the host's scene file holds them, each after "| " (a
// lone "|" is an empty line). Items and edits keep their order; keys are sorted.
#pragma once

#include <string>

#include "scene.h"

namespace sim {

struct SceneParse {
    Scene scene;
    std::string error;  // "FILE:LINE: what is wrong", empty when the text was read
};

SceneParse parseScene(const std::string& text, const std::string& sourceName);
SceneParse readSceneFile(const std::string& path);

std::string formatScene(const Scene& scene);

}  // namespace sim
