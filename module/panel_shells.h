// The toolkit's value functions and the panel builder for one modifier, each
// a thin shell around the modifier's panel description and its typed get and
// set. A null instance or value costs one test and is answered by doing
// nothing. A modifier takes PanelShells<Instance, kPanel, get, set>::build for
// its interface activation.
#pragma once

#include <cstdint>

#include "host/host_types.h"
#include "host/panel_toolkit.h"
#include "module/instance_handle.h"
#include "panel/toolkit_panel.h"

namespace kelto {

// `kGet(instance, control)` returns the value behind a control, or null;
// `kSet(instance, control, value)` stores one and returns the refresh code.
template <typename Instance, const PanelDescription& kPanel, auto kGet, auto kSet>
struct PanelShells {
    static void* HOST_CALL get(void* instance, uint32_t control) {
        return instance != nullptr ? kGet(*instanceAs<Instance>(instance), control) : nullptr;
    }

    static int HOST_CALL set(void* instance, uint32_t control, void* value) {
        if (instance == nullptr || value == nullptr) return host::kRefreshNone;
        return kSet(*instanceAs<Instance>(instance), control, value);
    }

    static host::PanelId build(const host::PanelToolkit& toolkit, host::InstanceHandle instance) {
        return buildPanel(toolkit, kPanel, get, set, instanceAs<Instance>(instance));
    }
};

}  // namespace kelto
