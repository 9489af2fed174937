#include "simhost/scene/host_scene_file.h"

namespace sim {

bool isHostSceneText(const std::string& text) { return text.rfind("LWSC", 0) == 0; }

SceneParse parseHostScene(const std::string&, const std::string& sourceName) {
    SceneParse result;
    result.error = sourceName + ":1: the host's scene files are not read yet";
    return result;
}

std::string formatHostScene(const Scene&, size_t, const std::string&, const std::string&,
                            const std::vector<std::string>&, std::string& error) {
    error = "the host's scene files are not written yet";
    return "";
}

}  // namespace sim
