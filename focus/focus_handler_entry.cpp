#include "focus/focus_handler_entry.h"

#include "focus/focus_block.h"
#include "focus/focus_instance.h"
#include "focus/focus_value.h"
#include "module/handler_shells.h"

namespace kelto {

namespace {

constexpr ModifierFunctions<FocusInstance> kFocus = {
    loadFocusBlock,
    saveFocusBlock,
    kFocusIdleDescription,
    evaluateFocus,
};

}  // namespace

int HOST_CALL activateFocusHandler(int version, host::GlobalLookup lookup, void* handlerRecord, void*) {
    return activateModifierHandler<FocusLifecycle, kFocus>(version, lookup, handlerRecord);
}

}  // namespace kelto
