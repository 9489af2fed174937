#include "module/handler_entry.h"

#include "channel/distance_evaluation.h"
#include "module/handler_activation.h"
#include "module/handler_shells.h"
#include "persist/instance_block.h"

namespace kelto {

namespace {

constexpr ModifierFunctions<DistanceInstance> kKelto = {
    createInstance,   destroyInstance,  copyInstance,  loadInstanceBlock, saveInstanceBlock,
    describeInstance, kDescriptionLine, instanceFlags, evaluateDistance,
};

constexpr HandlerFunctions kFunctions = handlerFunctions<DistanceInstance, kKelto>();

}  // namespace

int HOST_CALL activateChannelHandler(int version, host::GlobalLookup lookup, void* handlerRecord, void*) {
    return activateHandler(version, lookup, handlerRecord, kFunctions);
}

}  // namespace kelto
