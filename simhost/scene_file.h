// The simulated host's scene file: a small line format of its own.
//
//     # comment
//     frames 0 96              first and last frame
//     fps 24                   frames per second
//     object Ball              an object; the name is the rest of the line
//     key 0 -20 0.5 30         a position key of the item above: frame x y z
//     camera Camera
//     key 0 0 1.6 -4
//     channel Camera.FocusDistance   the channel that carries the modifier
//     value 10                 the channel's own value, before the modifier
//     block                    the modifier's lines as the host's scene file holds them,
//     | KELTO_START            each after "| " (a lone "|" is an empty line)
//     | REFERENCE_ITEM
//     | Ball
//     end block
//
// Items keep the order they are written in; keys are sorted by frame.
#pragma once

#include <string>

#include "simhost/scene.h"

namespace sim {

struct SceneParse {
    Scene scene;
    std::string error;  // "FILE:LINE: what is wrong", empty when the text was read
};

SceneParse parseScene(const std::string& text, const std::string& sourceName);
SceneParse readSceneFile(const std::string& path);

std::string formatScene(const Scene& scene);

}  // namespace sim
