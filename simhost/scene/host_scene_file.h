// The host's own scene file (".lws": its first line "LWSC", its second the
// version, 1 to 8), read into the simulated host's scene and written back as
// the host would save it.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "simhost/scene/scene.h"
#include "simhost/scene/scene_file.h"

namespace sim {

// Whether the text is the host's scene file: its first line is "LWSC".
bool isHostSceneText(const std::string& text);

// Reads the host's scene file into a scene on the seconds clock, its angles
// in degrees; the scene keeps the text (Scene::hostText) to write it back.
SceneParse parseHostScene(const std::string& text, const std::string& sourceName);

// The file as the host would save it with the module of `server` on the
// channel `channel` of the item of serial `item`, its saved lines in that
// channel's envelope; every other line as it was read. "" with `error` set
// to one line when it cannot be written (a version with no place for a
// channel modifier, a line that would read back as something else).
std::string formatHostScene(const Scene& scene, size_t item, const std::string& channel, const std::string& server,
                            const std::vector<std::string>& lines, std::string& error);

}  // namespace sim
