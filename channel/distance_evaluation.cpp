#include "channel/distance_evaluation.h"

#include <cmath>

#include "channel/held_services.h"
#include "channel/item_list.h"
#include "host/item_info.h"

namespace kelto {

namespace {

const double kSquare = 2.0;

bool worldPosition(host::ItemId item, double time, Position& position) {
    const host::ItemInfoService* info = heldHostServices().itemInfo;
    if (info == nullptr || info->param == nullptr) return false;
    double out[3] = {0.0, 0.0, 0.0};
    info->param(item, host::kItemParamWorldPosition, time, out);
    position = {out[0], out[1], out[2]};
    return true;
}

}  // namespace

double distanceBetween(const Position& a, const Position& b) {
    double sz = std::pow(a.z - b.z, kSquare);
    double sy = std::pow(a.y - b.y, kSquare);
    double sx = std::pow(a.x - b.x, kSquare);
    return std::sqrt((sz + sy) + sx);
}

void resolveReferences(DistanceInstance& instance) {
    if (instance.resolved) return;
    instance.itemId = findItemByName(instance.itemName);
    instance.cameraId = findItemByName(instance.cameraName);
    instance.itemChoice = choiceOfItem(ItemList::Objects, instance.itemId);
    instance.cameraChoice = choiceOfItem(ItemList::Cameras, instance.cameraId);
    instance.choicesStale = 0;
    instance.resolved = 1;
}

bool evaluateDistance(DistanceInstance& instance, double time, double& distance) {
    resolveReferences(instance);
    if (instance.itemId == nullptr || instance.cameraId == nullptr) return false;
    Position item, camera;
    if (!worldPosition(instance.itemId, time, item)) return false;
    if (!worldPosition(instance.cameraId, time, camera)) return false;
    distance = distanceBetween(item, camera);
    return true;
}

}  // namespace kelto
