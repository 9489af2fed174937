#include "module/handler_entry.h"

#include "channel/distance_evaluation.h"
#include "module/handler_shells.h"
#include "persist/instance_block.h"

namespace kelto {

namespace {

constexpr ModifierFunctions<DistanceInstance> kKelto = {
    loadInstanceBlock,
    saveInstanceBlock,
    kDescriptionLine,
    evaluateDistance,
};

}  // namespace

int HOST_CALL activateChannelHandler(int version, host::GlobalLookup lookup, void* handlerRecord, void*) {
    return activateModifierHandler<DistanceLifecycle, kKelto>(version, lookup, handlerRecord);
}

}  // namespace kelto
