// "LW Item Info 3" as the simulated host serves it.
#include <cstdio>

#include "service_tables.h"
#include "host_session.h"

namespace sim {

namespace {

HostSession& session() { return *HostSession::current(); }

std::string describeId(host::ItemId id) {
    char text[32];
    std::snprintf(text, sizeof text, "%p", id);
    return text;
}

host::ItemId HOST_CALL first(int typeCode, host::ItemId parent) {
    HostSession& s = session();
    ++s.itemInfoCalls().first;
    if (parent != nullptr) s.recordViolation("first item with a parent");
    std::vector<SceneItem>* list = s.listOfType(typeCode);
    if (list == nullptr) {
        s.recordViolation("first item of unknown type " + std::to_string(typeCode));
        return nullptr;
    }
    return list->empty() ? nullptr : HostSession::idOf(list->front());
}

host::ItemId HOST_CALL next(host::ItemId item) {
    HostSession& s = session();
    ++s.itemInfoCalls().next;
    std::vector<SceneItem>* list = s.listOf(item);
    if (list == nullptr) {
        s.recordViolation("next item of unknown item " + describeId(item));
        return nullptr;
    }
    size_t index = static_cast<size_t>(static_cast<SceneItem*>(item) - list->data());
    return index + 1 < list->size() ? HostSession::idOf((*list)[index + 1]) : nullptr;
}

const char* HOST_CALL name(host::ItemId item) {
    HostSession& s = session();
    ++s.itemInfoCalls().name;
    SceneItem* found = s.itemOf(item);
    if (found == nullptr) {
        s.recordViolation("name of unknown item " + describeId(item));
        return nullptr;
    }
    return s.holdName(found->name);
}

int HOST_CALL param(host::ItemId item, int code, double time, double out[3]) {
    HostSession& s = session();
    ++s.itemInfoCalls().param;
    SceneItem* found = s.itemOf(item);
    if (found == nullptr) {
        s.recordViolation("parameter of unknown item " + describeId(item));
        return 0;
    }
    if (code != host::kItemParamWorldPosition) {
        s.recordViolation("parameter code " + std::to_string(code));
        return 0;
    }
    Vec3 position = found->positionAtFrame(s.scene().frameOfTime(time));
    out[0] = position.x;
    out[1] = position.y;
    out[2] = position.z;
    return 1;
}

template <int Slot>
void HOST_CALL reservedSlot() {
    session().recordViolation("item info function " + std::to_string(Slot) + ", which the module does not use");
}

const host::ItemInfoService kItemInfo = {
    first,
    next,
    reinterpret_cast<const void*>(&reservedSlot<3>),
    reinterpret_cast<const void*>(&reservedSlot<4>),
    reinterpret_cast<const void*>(&reservedSlot<5>),
    reinterpret_cast<const void*>(&reservedSlot<6>),
    reinterpret_cast<const void*>(&reservedSlot<7>),
    reinterpret_cast<const void*>(&reservedSlot<8>),
    name,
    param,
};

}  // namespace

const host::ItemInfoService& itemInfoServiceTable() { return kItemInfo; }

}  // namespace sim
