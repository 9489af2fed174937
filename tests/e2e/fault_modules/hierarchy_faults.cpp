// Faults that show only through parents: positions and axes taken before
// parenting, right for an item at the top of the hierarchy.
#include <cmath>

#include "channel/held_services.h"
#include "faulty_kelto.h"
#include "host/item_info.h"

namespace {

using fault::Entries;

host::ItemInfoService g_localInfo;
void(HOST_CALL* g_hostParam)(host::ItemId, int, double, double*) = nullptr;

#if defined(FAULT_READS_LOCAL_POSITION)
// The position before parenting for the world position.
void HOST_CALL localParam(host::ItemId item, int code, double time, double* values) {
    g_hostParam(item, code == host::kItemParamWorldPosition ? host::kItemParamPosition : code, time, values);
}

#elif defined(FAULT_FOCUS_LOCAL_AXES)
// Right, up and forward from the item's own rotation and scale alone, as if
// it had no parent: heading · pitch · bank, each axis stretched by its scale.
void HOST_CALL localParam(host::ItemId item, int code, double time, double* values) {
    if (code != host::kItemParamRight && code != host::kItemParamUp && code != host::kItemParamForward)
        return g_hostParam(item, code, time, values);
    double turn[3], scale[3];
    g_hostParam(item, host::kItemParamRotation, time, turn);
    g_hostParam(item, host::kItemParamScaling, time, scale);
    const double ch = std::cos(turn[0]), sh = std::sin(turn[0]);
    const double cp = std::cos(turn[1]), sp = std::sin(turn[1]);
    const double cb = std::cos(turn[2]), sb = std::sin(turn[2]);
    const double axes[3][3] = {{ch * cb + sh * sp * sb, cp * sb, -sh * cb + ch * sp * sb},
                               {-ch * sb + sh * sp * cb, cp * cb, sh * sb + ch * sp * cb},
                               {sh * cp, -sp, ch * cp}};
    const int axis = code - host::kItemParamRight;
    for (int i = 0; i < 3; ++i) values[i] = axes[axis][i] * scale[axis];
}

#else
#error "hierarchy_faults.cpp: no fault of this file is chosen"
#endif

// Every activation holds the host's table again: the module's copy takes its place.
void change(int, void*) {
    kelto::HostServices held = kelto::heldHostServices();
    if (held.itemInfo == nullptr || held.itemInfo == &g_localInfo) return;
    g_localInfo = *held.itemInfo;
    g_hostParam = g_localInfo.param;
    g_localInfo.param = localParam;
    held.itemInfo = &g_localInfo;
    kelto::holdHostServices(held);
}

constexpr Entries kFault = {fault::activateChanged<change>, fault::modifierInterface, fault::startup, fault::shutdown};

}  // namespace

const fault::Entries fault::kEntries = kFault;

#if defined(FAULT_FOCUS_LOCAL_AXES)
// Only the depth along a view turned by a parent, or an offset in axes
// turned by one, shows it.
FAULT_FAILS("classic/hierarchy-view")
#elif defined(FAULTY_KELTO_FOCUS)
FAULT_FAILS("classic/hierarchy classic/hierarchy-view")
#else
FAULT_FAILS("classic/hierarchy")
#endif
