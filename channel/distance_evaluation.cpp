#include "channel/distance_evaluation.h"

#include "channel/held_services.h"
#include "host/item_info.h"

namespace kelto {

bool evaluateDistance(DistanceInstance& instance, double time, double& distance) {
    resolveReferences(instance);
    host::ItemId itemId = instance.itemId, cameraId = instance.cameraId;
    const host::ItemInfoService* info = heldHostServices().itemInfo;
    if (itemId == nullptr || cameraId == nullptr || info == nullptr || info->param == nullptr) return false;
    // The host writes straight into the positions that the arithmetic reads.
    Position item, camera;
    info->param(itemId, host::kItemParamWorldPosition, time, item.xyz);
    info->param(cameraId, host::kItemParamWorldPosition, time, camera.xyz);
    distance = distanceBetween(item, camera);
    return true;
}

}  // namespace kelto
