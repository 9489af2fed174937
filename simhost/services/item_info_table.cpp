// The item-info service as the simulated host serves it: every function of
// the newest table, whichever name the module asked for. What the scene
// models (lists, names, types, positions, axes, rotations, scales) is
// answered from it; the rest (parents, targets, IK, tags, servers, the
// world-relative axes and the transforms) has no counterpart in a scene file
// here and is answered with the host's neutral value: null, 0, or zeros.
#include <cmath>
#include <cstdio>

#include "simhost/scene/item_hierarchy.h"
#include "simhost/scene/item_transform.h"
#include "simhost/services/host_session.h"
#include "simhost/services/item_ids.h"
#include "simhost/services/service_tables.h"
#include "simhost/services/void_param_entry.h"

namespace sim {

namespace {

const double kRadiansPerDegree = 3.14159265358979323846 / 180;

// The session for one item-info call. Every call ends the validity of the
// name the previous one handed out.
HostSession& itemInfoCall(const char* function) {
    HostSession& session = HostSession::serving(HOST_ITEM_INFO_SERVICE, function);
    session.expireName();
    return session;
}

// The scene's item for a call about `item`; a module that passes an ID the
// host never handed out, or has since renumbered, breaks the host's rule.
// `session`, when given, is the session that served the call.
SceneItem* itemOfCall(const char* function, host::ItemId item, HostSession** session = nullptr) {
    HostSession& s = itemInfoCall(function);
    if (session != nullptr) *session = &s;
    ++s.itemInfoCalls().other;
    SceneItem* found = s.itemOf(item);
    if (found == nullptr) s.recordViolation(std::string(function) + " of unknown item " + describeItemId(item));
    return found;
}

bool isHostItemType(int typeCode) { return typeCode >= host::kItemTypeObject && typeCode <= host::kItemTypeBone; }

// The ID of a place in the scene's lists; null for none.
host::ItemId idOfPlace(HostSession& s, const ItemPlace& place) {
    return place.typeCode < 0 ? nullptr : s.idOf(place.typeCode, place.index);
}

ItemPlace placeOfId(HostSession& s, host::ItemId id) {
    ItemPlace place;
    if (!s.placeOf(id, place.typeCode, place.index)) place.typeCode = -1;
    return place;
}

host::ItemId HOST_CALL first(int typeCode, host::ItemId parent) {
    HostSession& s = itemInfoCall("first");
    ++s.itemInfoCalls().first;
    if (!isHostItemType(typeCode)) {
        s.recordViolation("first item of unknown type " + std::to_string(typeCode));
        return nullptr;
    }
    if (parent == nullptr) return s.idOf(typeCode, 0);
    const SceneItem* of = s.itemOf(parent);
    if (of == nullptr) {
        s.recordViolation("first child of unknown item " + describeItemId(parent));
        return nullptr;
    }
    // A boned object's first bone; for any other type, the first child of it.
    ItemPlace found = typeCode == host::kItemTypeBone ? nextBonePlace(s.scene(), of->serial, ItemPlace())
                                                      : nextChildPlace(s.scene(), of->serial, ItemPlace(), typeCode);
    return idOfPlace(s, found);
}

host::ItemId HOST_CALL next(host::ItemId item) {
    HostSession& s = itemInfoCall("next");
    ++s.itemInfoCalls().next;
    ItemPlace place = placeOfId(s, item);
    if (place.typeCode < 0) {
        s.recordViolation("next item of unknown item " + describeItemId(item));
        return nullptr;
    }
    // A bone's next is the next bone of its object.
    if (place.typeCode == host::kItemTypeBone) {
        const SceneItem* object = boneObject(s.scene(), *s.itemOf(item));
        return object == nullptr ? s.idOf(place.typeCode, place.index + 1)
                                 : idOfPlace(s, nextBonePlace(s.scene(), object->serial, place));
    }
    return s.idOf(place.typeCode, place.index + 1);
}

host::ItemId HOST_CALL firstChild(host::ItemId parent) {
    HostSession* served;
    SceneItem* of = itemOfCall("firstChild", parent, &served);
    HostSession& s = *served;
    return of == nullptr ? nullptr : idOfPlace(s, nextChildPlace(s.scene(), of->serial, ItemPlace()));
}

host::ItemId HOST_CALL nextChild(host::ItemId parentItem, host::ItemId previousChild) {
    HostSession* served;
    SceneItem* of = itemOfCall("nextChild", parentItem, &served);
    HostSession& s = *served;
    if (of == nullptr) return nullptr;
    ItemPlace previous = placeOfId(s, previousChild);
    const SceneItem* child = s.itemOf(previousChild);
    if (previous.typeCode < 0 || child->parent != of->serial) {
        s.recordViolation("next child after " + describeItemId(previousChild) + ", which is no child of " +
                          describeItemId(parentItem));
        return nullptr;
    }
    return idOfPlace(s, nextChildPlace(s.scene(), of->serial, previous));
}

host::ItemId HOST_CALL parent(host::ItemId item) {
    HostSession* served;
    SceneItem* of = itemOfCall("parent", item, &served);
    HostSession& s = *served;
    if (of == nullptr || of->parent == kNoItem) return nullptr;
    int typeCode;
    size_t index;
    return s.scene().placeOfSerial(of->parent, typeCode, index) ? s.idOf(typeCode, index) : nullptr;
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

int HOST_CALL type(host::ItemId item) {
    HostSession& s = itemInfoCall("type");
    ++s.itemInfoCalls().other;
    int typeCode = 0;
    size_t index = 0;
    if (!s.placeOf(item, typeCode, index)) {
        s.recordViolation("type of unknown item " + describeItemId(item));
        return host::kItemTypeObject;
    }
    return typeCode;
}

void write(double* values, const Vec3& v) {
    values[0] = v.x;
    values[1] = v.y;
    values[2] = v.z;
}

int doublesOf(int code) {
    return code >= host::kItemParamTransform && code <= host::kItemParamWorldItemTransform
               ? host::kItemParamTransformDoubles
               : host::kItemParamVectorDoubles;
}

void writeRadians(double* values, const Rotation& r) {
    write(values, Vec3{r.heading * kRadiansPerDegree, r.pitch * kRadiansPerDegree, r.bank * kRadiansPerDegree});
}

void writeParam(const Scene& scene, const SceneItem& item, int code, double time, double* values) {
    const double at = scene.motionTime(time);
    switch (code) {
        case host::kItemParamPosition: write(values, item.motion.position(at)); return;
        case host::kItemParamWorldPosition: write(values, worldPosition(scene, item, at)); return;
        case host::kItemParamRight: write(values, worldPlacement(scene, item, at).axes.right); return;
        case host::kItemParamUp: write(values, worldPlacement(scene, item, at).axes.up); return;
        case host::kItemParamForward: write(values, worldPlacement(scene, item, at).axes.forward); return;
        case host::kItemParamWorldRight: write(values, inverseAxes(worldPlacement(scene, item, at).axes).right); return;
        case host::kItemParamWorldUp: write(values, inverseAxes(worldPlacement(scene, item, at).axes).up); return;
        case host::kItemParamWorldForward:
            write(values, inverseAxes(worldPlacement(scene, item, at).axes).forward);
            return;
        case host::kItemParamScaling: write(values, item.motion.scale(at)); return;
        case host::kItemParamRotation: writeRadians(values, item.motion.rotation(at)); return;
        case host::kItemParamPivot: write(values, item.pivot); return;
        case host::kItemParamPivotRotation: writeRadians(values, item.pivotRotation); return;
        default:
            for (int i = 0; i < doublesOf(code); ++i) values[i] = 0;
    }
}

// Functions whose answer the scene has no counterpart for, each named for the
// message of a module that passes it a bad ID.
#define NEUTRAL_ITEM_FUNCTION(Name, Result, Neutral, Parameters) \
    Result HOST_CALL Name Parameters {                           \
        itemOfCall(#Name, item);                                 \
        return Neutral;                                          \
    }

NEUTRAL_ITEM_FUNCTION(target, host::ItemId, nullptr, (host::ItemId item))
NEUTRAL_ITEM_FUNCTION(goal, host::ItemId, nullptr, (host::ItemId item))
NEUTRAL_ITEM_FUNCTION(getTag, const char*, nullptr, (host::ItemId item, int))
NEUTRAL_ITEM_FUNCTION(chanGroup, void*, nullptr, (host::ItemId item))
NEUTRAL_ITEM_FUNCTION(server, const char*, nullptr, (host::ItemId item, const char*, int))
NEUTRAL_ITEM_FUNCTION(serverFlags, unsigned int, 0, (host::ItemId item, const char*, int))
NEUTRAL_ITEM_FUNCTION(flags, unsigned int, 0, (host::ItemId item))
NEUTRAL_ITEM_FUNCTION(lookAhead, double, 0, (host::ItemId item))
NEUTRAL_ITEM_FUNCTION(goalStrength, double, 0, (host::ItemId item, double))
NEUTRAL_ITEM_FUNCTION(axisLocks, unsigned int, 0, (host::ItemId item, int))
NEUTRAL_ITEM_FUNCTION(maxLookSteps, unsigned int, 0, (host::ItemId item))
NEUTRAL_ITEM_FUNCTION(reliableDistance, double, 0, (host::ItemId item))
NEUTRAL_ITEM_FUNCTION(goalObjective, unsigned int, 0, (host::ItemId item))
NEUTRAL_ITEM_FUNCTION(ikfkBlending, double, 0, (host::ItemId item, double))
NEUTRAL_ITEM_FUNCTION(ikInitialState, unsigned int, 0, (host::ItemId item))
NEUTRAL_ITEM_FUNCTION(ikInitialStateFrame, int, 0, (host::ItemId item, double))
NEUTRAL_ITEM_FUNCTION(pole, host::ItemId, nullptr, (host::ItemId item))
NEUTRAL_ITEM_FUNCTION(sameItem, host::ItemId, nullptr, (host::ItemId item, int))
NEUTRAL_ITEM_FUNCTION(sameItemBlend, double, 0, (host::ItemId item, int, double))
NEUTRAL_ITEM_FUNCTION(sameItemBlendMethod, unsigned int, 0, (host::ItemId item, int))
NEUTRAL_ITEM_FUNCTION(sameItemFlags, unsigned int, 0, (host::ItemId item, int))
NEUTRAL_ITEM_FUNCTION(selected, unsigned int, 0, (host::ItemId item))
NEUTRAL_ITEM_FUNCTION(splineItem, host::ItemId, nullptr, (host::ItemId item))
NEUTRAL_ITEM_FUNCTION(splineFit, unsigned int, 0, (host::ItemId item))
NEUTRAL_ITEM_FUNCTION(splineT, double, 0, (host::ItemId item, double))
NEUTRAL_ITEM_FUNCTION(rotationOrder, int, host::kRotationOrderYXZ, (host::ItemId item))

#undef NEUTRAL_ITEM_FUNCTION

void HOST_CALL setTag(host::ItemId item, int index, const char* tag) {
    itemOfCall("setTag", item);
    (void)index;
    (void)tag;
}

// No axis is limited.
unsigned int HOST_CALL limits(host::ItemId item, int code, double min[3], double max[3]) {
    itemOfCall("limits", item);
    (void)code;
    for (int axis = 0; axis < host::kItemParamVectorDoubles; ++axis) min[axis] = max[axis] = 0;
    return 0;
}

void HOST_CALL controller(host::ItemId item, int code, int type[3]) {
    itemOfCall("controller", item);
    (void)code;
    for (int axis = 0; axis < host::kItemParamVectorDoubles; ++axis) type[axis] = host::kMotionControlKeyframes;
}

void HOST_CALL stiffness(host::ItemId item, int code, double values[3]) {
    itemOfCall("stiffness", item);
    (void)code;
    for (int axis = 0; axis < host::kItemParamVectorDoubles; ++axis) values[axis] = 0;
}

unsigned int HOST_CALL ikSoft(host::ItemId item, double time, unsigned int* distanceType, double* min, double* max) {
    itemOfCall("ikSoft", item);
    (void)time;
    if (distanceType != nullptr) *distanceType = 0;
    if (min != nullptr) *min = 0;
    if (max != nullptr) *max = 0;
    return 0;
}

void HOST_CALL follow(host::ItemId item, int code, int followed[3], void* textures[3]) {
    itemOfCall("follow", item);
    (void)code;
    for (int axis = 0; axis < host::kItemParamVectorDoubles; ++axis) {
        followed[axis] = 0;
        textures[axis] = nullptr;
    }
}

void HOST_CALL controllerTrans(host::ItemId item, int code, double multiply[3], double add[3]) {
    itemOfCall("controllerTrans", item);
    (void)code;
    for (int axis = 0; axis < host::kItemParamVectorDoubles; ++axis) {
        multiply[axis] = 1;
        add[axis] = 0;
    }
}

void HOST_CALL relparam(host::ItemId item, int code, host::ItemId relativeTo, int relativeCode, double time,
                        double* values) {
    itemOfCall("relparam", item);
    (void)relativeTo;
    (void)relativeCode;
    (void)time;
    for (int i = 0; i < doublesOf(code); ++i) values[i] = 0;
}

const host::ItemInfoService kItemInfo = {
    first,
    next,
    firstChild,
    nextChild,
    parent,
    target,
    goal,
    type,
    name,
    voidParamEntry,
    limits,
    getTag,
    setTag,
    chanGroup,
    server,
    serverFlags,
    controller,
    flags,
    lookAhead,
    goalStrength,
    stiffness,
    axisLocks,
    maxLookSteps,
    reliableDistance,
    goalObjective,
    ikfkBlending,
    ikInitialState,
    ikInitialStateFrame,
    ikSoft,
    pole,
    sameItem,
    sameItemBlend,
    sameItemBlendMethod,
    sameItemFlags,
    selected,
    follow,
    controllerTrans,
    splineItem,
    splineFit,
    splineT,
    rotationOrder,
    relparam,
};

}  // namespace

}  // namespace sim

// The body behind the entry that the table hands out (void_param_entry.h).
extern "C" void HOST_CALL kelto_sim_param_body(host::ItemId item, int code, double time, double* values) {
    using namespace sim;
    HostSession& s = itemInfoCall("param");
    ++s.itemInfoCalls().param;
    SceneItem* found = s.itemOf(item);
    if (found == nullptr) {
        s.recordViolation("parameter of unknown item " + describeItemId(item));
        return;
    }
    writeParam(s.scene(), *found, code, time, values);
}

namespace sim {

const host::ItemInfoService& itemInfoServiceTable() { return kItemInfo; }

}  // namespace sim
