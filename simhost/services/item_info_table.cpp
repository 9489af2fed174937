// "LW Item Info 3" as the simulated host serves it.
#include <cstdio>

#include "simhost/scene/item_axes.h"
#include "simhost/services/host_session.h"
#include "simhost/services/item_ids.h"
#include "simhost/services/service_tables.h"

namespace sim {

namespace {

// The session for one item-info call. Every call ends the validity of the
// name the previous one handed out.
HostSession& itemInfoCall(const char* function) {
    HostSession& session = HostSession::serving(HOST_ITEM_INFO_SERVICE, function);
    session.expireName();
    return session;
}

host::ItemId HOST_CALL first(int typeCode, host::ItemId parent) {
    HostSession& s = itemInfoCall("first");
    ++s.itemInfoCalls().first;
    if (parent != nullptr) s.recordViolation("first item with a parent");
    std::vector<SceneItem>* list = s.listOfType(typeCode);
    if (list == nullptr) {
        s.recordViolation("first item of unknown type " + std::to_string(typeCode));
        return nullptr;
    }
    return s.idOf(typeCode, 0);
}

host::ItemId HOST_CALL next(host::ItemId item) {
    HostSession& s = itemInfoCall("next");
    ++s.itemInfoCalls().next;
    int typeCode = 0;
    size_t index = 0;
    if (!s.placeOf(item, typeCode, index)) {
        s.recordViolation("next item of unknown item " + describeItemId(item));
        return nullptr;
    }
    return s.idOf(typeCode, index + 1);
}

const char* HOST_CALL name(host::ItemId item) {
    HostSession& s = itemInfoCall("name");
    ++s.itemInfoCalls().name;
    SceneItem* found = s.itemOf(item);
    if (found == nullptr) {
        s.recordViolation("name of unknown item " + describeItemId(item));
        return nullptr;
    }
    return s.holdName(found->name);
}

int HOST_CALL param(host::ItemId item, int code, double time, double out[3]) {
    HostSession& s = itemInfoCall("param");
    ++s.itemInfoCalls().param;
    SceneItem* found = s.itemOf(item);
    if (found == nullptr) {
        s.recordViolation("parameter of unknown item " + describeItemId(item));
        return 0;
    }
    double frame = s.scene().frameOfTime(time);
    Vec3 answer;
    switch (code) {
        case host::kItemParamWorldPosition: answer = found->positionAtFrame(frame); break;
        case host::kItemParamRight: answer = itemAxesAtFrame(*found, frame).right; break;
        case host::kItemParamUp: answer = itemAxesAtFrame(*found, frame).up; break;
        case host::kItemParamForward: answer = itemAxesAtFrame(*found, frame).forward; break;
        default: s.recordViolation("parameter code " + std::to_string(code)); return 0;
    }
    out[0] = answer.x;
    out[1] = answer.y;
    out[2] = answer.z;
    return 1;
}

template <int Slot>
void HOST_CALL unusedSlot() {
    std::string function = std::to_string(Slot);
    itemInfoCall(function.c_str()).recordViolation("item info function " + function + ", which the module does not use");
}

const host::ItemInfoService kItemInfo = {
    first,
    next,
    reinterpret_cast<const void*>(&unusedSlot<3>),
    reinterpret_cast<const void*>(&unusedSlot<4>),
    reinterpret_cast<const void*>(&unusedSlot<5>),
    reinterpret_cast<const void*>(&unusedSlot<6>),
    reinterpret_cast<const void*>(&unusedSlot<7>),
    reinterpret_cast<const void*>(&unusedSlot<8>),
    name,
    param,
};

}  // namespace

const host::ItemInfoService& itemInfoServiceTable() { return kItemInfo; }

}  // namespace sim
