#include "simhost/validate/check_scene.h"

#include <algorithm>
#include <cmath>
#include <sstream>

#include "simhost/modifiers/reference_facts.h"
#include "simhost/scene/item_transform.h"

namespace sim {

namespace {

const double kRelativeTolerance = 1e-12;
const int kNumberDigits = 17;

}  // namespace

Scene checkScene() {
    Scene scene;
    scene.firstFrame = 0;
    scene.lastFrame = 48;
    scene.addObject("Ball", {-12, 0.5, 6}).motion.keyPosition(48, {12, 0.5, 6});
    scene.addObject("Ground", {0, 0, 0});
    scene.addObject("Tall Tree", {4, 7.5, -3}).motion.keyPosition(24, {4, 9, -3});
    scene.addObject(reference_facts::kNoneName, {1, 1, 1});
    scene.addCamera("Camera", {0, 1.6, 0}).motion.keyPosition(48, {0, 1.6, 12});
    scene.addCamera("Close-up", {2, 0.8, 3});
    scene.addCamera("Tall Tree", {-5, 2, 2});
    return scene;
}

const SceneItem* findByName(const Scene& scene, const std::string& name) {
    for (const std::vector<SceneItem>* list : {&scene.objects, &scene.cameras})
        for (const SceneItem& item : *list)
            if (item.name == name) return &item;
    return nullptr;
}

double hostDistance(const Scene& scene, const SceneItem& a, const SceneItem& b, double time) {
    const double at = scene.motionTime(time);
    Vec3 p = worldPosition(scene, a, at), q = worldPosition(scene, b, at);
    return std::sqrt((p.z - q.z) * (p.z - q.z) + (p.y - q.y) * (p.y - q.y) + (p.x - q.x) * (p.x - q.x));
}

bool agrees(double value, double expected) {
    return std::fabs(value - expected) <= kRelativeTolerance * std::max(1.0, std::fabs(expected));
}

std::string numberText(double value) {
    std::ostringstream out;
    out.precision(kNumberDigits);
    out << value;
    return out.str();
}

std::string evaluationText(const Evaluation& result) { return result.set ? numberText(result.value) : "not set"; }

}  // namespace sim
