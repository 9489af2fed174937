#include "channel/distance_evaluation.h"

#include "channel/held_services.h"
#include "host/item_info.h"

namespace kelto {

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
