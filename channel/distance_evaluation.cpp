#include "channel/distance_evaluation.h"

#include <cmath>

#include "channel/held_services.h"
#include "channel/item_list.h"
#include "host/item_info.h"

namespace kelto {

namespace {

const double kSquare = 2.0;

// The host writes straight into the position that the arithmetic reads.
void queryWorldPosition(const host::ItemInfoService& info, host::ItemId item, double time, Position& position) {
    info.param(item, host::kItemParamWorldPosition, time, position.xyz);
}

}  // namespace

double distanceBetween(const Position& a, const Position& b) {
    double sz = std::pow(a.z() - b.z(), kSquare);
    double sy = std::pow(a.y() - b.y(), kSquare);
    double sx = std::pow(a.x() - b.x(), kSquare);
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
    const host::ItemInfoService* info = heldHostServices().itemInfo;
    if (info == nullptr || info->param == nullptr) return false;
    Position item, camera;
    queryWorldPosition(*info, instance.itemId, time, item);
    queryWorldPosition(*info, instance.cameraId, time, camera);
    distance = distanceBetween(item, camera);
    return true;
}

}  // namespace kelto
