// Reads any text as a scene file. What it reads must write back to text that
// reads again to the same scene.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "simhost/scene_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string text(reinterpret_cast<const char*>(data), size);
    sim::SceneParse first = sim::parseScene(text, "fuzz.scene");
    if (!first.error.empty()) return 0;
    std::string written = sim::formatScene(first.scene);
    sim::SceneParse second = sim::parseScene(written, "written.scene");
    if (!second.error.empty() || sim::formatScene(second.scene) != written) std::abort();
    return 0;
}
