#include "channel/distance_evaluation.h"

#include <cmath>

#include "channel/held_services.h"
#include "channel/item_list.h"
#include "host/item_info.h"

namespace kelto {

namespace {

const double kSquare = 2.0;

}  // namespace

double distanceBetween(const Position& a, const Position& b) {
    double sz = std::pow(a.z() - b.z(), kSquare);
    double sy = std::pow(a.y() - b.y(), kSquare);
    double sx = std::pow(a.x() - b.x(), kSquare);
    return std::sqrt((sz + sy) + sx);
}

// Once per load: kept out of the evaluation's straight path, so that the
// resolved evaluation runs through no more code than it needs.
__attribute__((noinline, cold)) void resolveNames(DistanceInstance& instance) {
    instance.itemId = findItemByName(instance.itemName);
    instance.cameraId = findItemByName(instance.cameraName);
    instance.itemChoice = choiceOfItem(ItemList::Objects, instance.itemId);
    instance.cameraChoice = choiceOfItem(ItemList::Cameras, instance.cameraId);
    instance.choicesStale = 0;
    instance.resolved = 1;
}

void resolveReferences(DistanceInstance& instance) {
    if (!instance.resolved) resolveNames(instance);
}

bool evaluateDistance(DistanceInstance& instance, double time, double& distance) {
    resolveReferences(instance);
    host::ItemId itemId = instance.itemId, cameraId = instance.cameraId;
    const host::ItemInfoService* info = heldHostServices().itemInfo;
    if (itemId == nullptr || cameraId == nullptr || info == nullptr) return false;
    int (HOST_CALL* param)(host::ItemId, int, double, double*) = info->param;
    if (param == nullptr) return false;
    // The host writes straight into the positions that the arithmetic reads.
    // A query answered with 0 wrote nothing that can be used.
    Position item, camera;
    if (!param(itemId, host::kItemParamWorldPosition, time, item.xyz) ||
        !param(cameraId, host::kItemParamWorldPosition, time, camera.xyz))
        return false;
    distance = distanceBetween(item, camera);
    return true;
}

}  // namespace kelto
