// Reads any text as a scene file. A scene that reads must write back to text
// that reads again to the same scene, and both must run through the module
// alike: the same value at every frame, the same saved block, the same
// outcome, and no call the host forbids.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "simhost/run/scene_run.h"
#include "simhost/scene/scene_file.h"
#include "simhost/services/module_loader.h"

namespace {

// Longer scenes are only read and written: running them would slow the
// search, and what a run can go wrong at shows in a hundred frames.
const long long kMaxFramesRun = 100;

const sim::LoadedModule& kelto() {
    static std::unique_ptr<sim::LoadedModule> module = std::move(sim::LoadedModule::load(KELTO_MODULE_PATH).module);
    if (!module) std::abort();
    return *module;
}

bool sameRun(const sim::RunReport& a, const sim::RunReport& b) {
    if (a.error != b.error || a.frames.size() != b.frames.size() || sim::linesOf(a.saved) != sim::linesOf(b.saved))
        return false;
    for (size_t i = 0; i < a.frames.size(); ++i)
        if (a.frames[i].set != b.frames[i].set ||
            std::memcmp(&a.frames[i].value, &b.frames[i].value, sizeof a.frames[i].value) != 0)
            return false;
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string text(reinterpret_cast<const char*>(data), size);
    sim::SceneParse first = sim::parseScene(text, "fuzz.scene");
    if (!first.error.empty()) return 0;
    std::string written = sim::formatScene(first.scene);
    sim::SceneParse second = sim::parseScene(written, "written.scene");
    if (!second.error.empty() || sim::formatScene(second.scene) != written) std::abort();

    if (first.scene.lastFrame - static_cast<long long>(first.scene.firstFrame) >= kMaxFramesRun) return 0;
    sim::RunReport one = sim::runScene(kelto(), first.scene, sim::RunOptions());
    sim::RunReport other = sim::runScene(kelto(), second.scene, sim::RunOptions());
    if (!one.violations.empty() || !sameRun(one, other)) std::abort();
    return 0;
}
