// Reads any text as the host's scene file. A scene that reads, written back
// with Kelto's block on its first camera's focal distance, must read again:
// the block as written, and every item where it was, to the bit.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "simhost/scene/host_scene_file.h"
#include "simhost/scene/item_hierarchy.h"
#include "simhost/scene/item_transform.h"

namespace {

const std::vector<std::string> kBlock = {"KELTO_START",      "REFERENCE_ITEM", " Ball ",
                                         "REFERENCE_CAMERA", "Camera",         "KELTO_END"};
const char kServer[] = "Kelto";
// Times at which both readings must place every item alike: before, among
// and after the keys of most scenes.
const double kTimes[] = {-1.5, 0, 0.7, 2.25, 1e3};

bool same(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0 || (std::isnan(a) && std::isnan(b)); }

bool samePlaces(const sim::Scene& a, const sim::Scene& b) {
    std::vector<const sim::SceneItem*> before = sim::itemsOf(a), after = sim::itemsOf(b);
    if (before.size() != after.size()) return false;
    for (size_t n = 0; n < before.size(); ++n)
        for (double time : kTimes) {
            sim::Vec3 p = sim::worldPosition(a, *before[n], time), q = sim::worldPosition(b, *after[n], time);
            if (before[n]->name != after[n]->name || !same(p.x, q.x) || !same(p.y, q.y) || !same(p.z, q.z))
                return false;
        }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string text(reinterpret_cast<const char*>(data), size);
    sim::SceneParse first = sim::parseHostScene(text, "fuzz.lws");
    if (!first.error.empty() || first.scene.cameras.empty()) return 0;
    std::string error;
    const size_t camera = first.scene.cameras.front().serial;
    std::string written = sim::formatHostScene(first.scene, camera, sim::kFocalDistanceChannel, kServer, kBlock, error);
    if (!error.empty()) return 0;  // versions 1 and 2 have no place for it
    sim::SceneParse second = sim::parseHostScene(written, "written.lws");
    if (!second.error.empty() || !samePlaces(first.scene, second.scene)) std::abort();
    for (const sim::ChannelModifierBlock& block : second.scene.channelModifiers)
        if (block.item == second.scene.cameras.front().serial && block.channel == sim::kFocalDistanceChannel &&
            block.server == kServer)
            return block.lines == kBlock ? 0 : (std::abort(), 0);
    std::abort();
}
