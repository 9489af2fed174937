#include "focus/focus_handler_entry.h"

#include "focus/focus_block.h"
#include "focus/focus_instance.h"
#include "focus/focus_value.h"
#include "module/handler_activation.h"
#include "module/handler_shells.h"

namespace kelto {

namespace {

constexpr ModifierFunctions<FocusInstance> kFocus = {
    createFocusInstance,   destroyFocusInstance,  copyFocusInstance,  loadFocusBlock, saveFocusBlock,
    describeFocusInstance, kFocusIdleDescription, focusInstanceFlags, evaluateFocus,
};

constexpr HandlerFunctions kFunctions = handlerFunctions<FocusInstance, kFocus>();

}  // namespace

int HOST_CALL activateFocusHandler(int version, host::GlobalLookup lookup, void* handlerRecord, void*) {
    return activateHandler(version, lookup, handlerRecord, kFunctions);
}

}  // namespace kelto
