// The item-info service: walks the scene's item lists and answers questions about one item.
#pragma once

#include <cstddef>

#include "host/host_types.h"

namespace host {

// The service's names, newest first. Every one serves the functions below at the same positions;
// the newer ones return names in UTF-8. "LW Item Info 5" (the 9.x hosts') serves the first 34.
#define HOST_ITEM_INFO_SERVICE_9 "LW Item Info 9"
#define HOST_ITEM_INFO_SERVICE_8 "LW Item Info 8"
#define HOST_ITEM_INFO_SERVICE_5 "LW Item Info 5"
#define HOST_ITEM_INFO_SERVICE "LW Item Info 3"

// Parameter codes of param (the SDK's LWItemParam). Each writes three doubles but the transforms,
// which write sixteen (a 4x4 matrix, row by row); all in world units.

// The item's position relative to its parent (the world for an item with none).
const int kItemParamPosition = 1;
// The item's +X axis (its right) in the world: a unit vector times the item's X scale.
const int kItemParamRight = 2;
// The item's +Y axis (its up) in the world: a unit vector times the item's Y scale.
const int kItemParamUp = 3;
// The item's +Z axis (its forward, where a camera looks) in the world: a unit vector times the
// item's Z scale.
const int kItemParamForward = 4;
// Heading, pitch and bank relative to the parent, in radians.
const int kItemParamRotation = 5;
// Scale relative to the parent.
const int kItemParamScaling = 6;
// The pivot point relative to the item.
const int kItemParamPivot = 7;
// The item's pivot point in the world.
const int kItemParamWorldPosition = 8;
// The world's +X, +Y and +Z axes as the item sees them.
const int kItemParamWorldRight = 9;
const int kItemParamWorldUp = 10;
const int kItemParamWorldForward = 11;
// The pivot's heading, pitch and bank relative to the item, in radians.
const int kItemParamPivotRotation = 12;
// 4x4 transforms: the item's things to the world, the world to them, and the same without the pivot.
const int kItemParamTransform = 13;
const int kItemParamWorldTransform = 14;
const int kItemParamItemTransform = 15;
const int kItemParamWorldItemTransform = 16;

// Doubles that param writes for a transform code; three for every other code.
const int kItemParamTransformDoubles = 16;
const int kItemParamVectorDoubles = 3;

// Axis-order codes that rotationOrder answers (the SDK's LWRotationOrder): the order in which the
// three rotations are applied, first letter first.
enum RotationOrder : int {
    kRotationOrderXYZ = 0,
    kRotationOrderYZX = 1,
    kRotationOrderZXY = 2,
    kRotationOrderYXZ = 3,  // heading, pitch, bank: the host's default
    kRotationOrderXZY = 4,
    kRotationOrderZYX = 5,
};

// Motion-controller codes that controller writes per axis; keyframes is the plain case.
const int kMotionControlKeyframes = 0;

// Process-wide table owned by the host, valid while the module is loaded (the SDK's LWItemInfo). Its
// functions may be called from any host call into the module, evaluate on a render thread included.
// A text that one returns belongs to the host and stays valid only until the next call of this table
// on the same thread: copy or compare it at once. Every name of the service serves the whole table;
// the last two functions came with "LW Item Info 9", and a module that asks for an older name must
// not call them. A module passes only IDs the host handed out and has not renumbered since.
struct ItemInfoService {
    // First item of the typeCode list, or with a parent, the parent's first child of that type; null
    // when there is none. (first)
    ItemId(HOST_CALL* first)(int typeCode, ItemId parent);
    // The item after `item` in its list; null at the end. (next)
    ItemId(HOST_CALL* next)(ItemId item);
    // The parent's first child of any type; null when it has none. (firstChild)
    ItemId(HOST_CALL* firstChild)(ItemId parent);
    // The parent's child after `previousChild`; null at the end. (nextChild)
    ItemId(HOST_CALL* nextChild)(ItemId parent, ItemId previousChild);
    // The item's parent; null for an item of the scene's top level. (parent)
    ItemId(HOST_CALL* parent)(ItemId item);
    // The item the item is targeted at; null for none. (target)
    ItemId(HOST_CALL* target)(ItemId item);
    // The goal of an IK chain's item; null for none. (goal)
    ItemId(HOST_CALL* goal)(ItemId item);
    // The item's ItemTypeCode. (type)
    int(HOST_CALL* type)(ItemId item);
    // The item's NUL-terminated name; the host's text, valid until the thread's next call of this
    // table. (name)
    const char*(HOST_CALL* name)(ItemId item);
    // Writes parameter `code` of the item at `time` into the caller's `values` (three doubles, or
    // sixteen for a transform code). Returns nothing: the values are the whole answer. (param)
    void(HOST_CALL* param)(ItemId item, int code, double time, double* values);
    // Writes the least and greatest values of parameter `code` and returns which of the three axes
    // are limited, one bit each. (limits)
    unsigned int(HOST_CALL* limits)(ItemId item, int code, double min[3], double max[3]);
    // The item's tag number `index` (from 1), the host's text as name's; null for none. (getTag)
    const char*(HOST_CALL* getTag)(ItemId item, int index);
    // Sets tag number `index`; the text is copied. (setTag)
    void(HOST_CALL* setTag)(ItemId item, int index, const char* tag);
    // The item's channel group, owned by the host. (chanGroup)
    void*(HOST_CALL* chanGroup)(ItemId item);
    // The name of the item's `index`-th server (from 1) of `className`; null past the last. (server)
    const char*(HOST_CALL* server)(ItemId item, const char* className, int index);
    // Flags of the item's `index`-th server of `className`. (serverFlags)
    unsigned int(HOST_CALL* serverFlags)(ItemId item, const char* className, int index);
    // Writes the motion-controller code of each axis of parameter `code`. (controller)
    void(HOST_CALL* controller)(ItemId item, int code, int type[3]);
    // The item's motion flags. (flags)
    unsigned int(HOST_CALL* flags)(ItemId item);
    // How far ahead the item looks for its path, in seconds. (lookAhead)
    double(HOST_CALL* lookAhead)(ItemId item);
    // The strength of the item's IK goal at `time`. (goalStrength)
    double(HOST_CALL* goalStrength)(ItemId item, double time);
    // Writes the IK stiffness of each axis of parameter `code`. (stiffness)
    void(HOST_CALL* stiffness)(ItemId item, int code, double values[3]);
    // Which axes of parameter `code` are locked, one bit each. (axisLocks)
    unsigned int(HOST_CALL* axisLocks)(ItemId item, int code);
    // IK: the most steps the item looks ahead. (maxLookSteps)
    unsigned int(HOST_CALL* maxLookSteps)(ItemId item);
    // IK: the distance within which the goal counts as reached. (reliableDistance)
    double(HOST_CALL* reliableDistance)(ItemId item);
    // IK: what the goal holds to. (goalObjective)
    unsigned int(HOST_CALL* goalObjective)(ItemId item);
    // IK: the blend between IK and FK at `time`. (ikfkBlending)
    double(HOST_CALL* ikfkBlending)(ItemId item, double time);
    // IK: where the chain starts from. (ikInitialState)
    unsigned int(HOST_CALL* ikInitialState)(ItemId item);
    // IK: the frame the chain starts from. (ikInitialStateFrame)
    int(HOST_CALL* ikInitialStateFrame)(ItemId item, double time);
    // IK: soft reach; writes its kind and limits. (ikSoft)
    unsigned int(HOST_CALL* ikSoft)(ItemId item, double time, unsigned int* distanceType, double* min, double* max);
    // IK: the pole item; null for none. (pole)
    ItemId(HOST_CALL* pole)(ItemId item);
    // The item that parameter `code` copies; null for none. (sameItem)
    ItemId(HOST_CALL* sameItem)(ItemId item, int code);
    // How much of the copied item's parameter is blended in at `time`. (sameItemBlend)
    double(HOST_CALL* sameItemBlend)(ItemId item, int code, double time);
    // How the copied parameter is blended. (sameItemBlendMethod)
    unsigned int(HOST_CALL* sameItemBlendMethod)(ItemId item, int code);
    // Flags of the copied parameter. (sameItemFlags)
    unsigned int(HOST_CALL* sameItemFlags)(ItemId item, int code);
    // Nonzero while the user has the item selected. (selected)
    unsigned int(HOST_CALL* selected)(ItemId item);
    // Writes how each axis of parameter `code` follows its textures. (follow)
    void(HOST_CALL* follow)(ItemId item, int code, int follow[3], void* textures[3]);
    // Writes the factor and the addend of each axis of parameter `code`. (controllerTrans)
    void(HOST_CALL* controllerTrans)(ItemId item, int code, double multiply[3], double add[3]);
    // The spline the item follows; null for none. (splineItem)
    ItemId(HOST_CALL* splineItem)(ItemId item);
    // How the item fits the spline. (splineFit)
    unsigned int(HOST_CALL* splineFit)(ItemId item);
    // Where along its spline the item is at `time`. (splineT)
    double(HOST_CALL* splineT)(ItemId item, double time);
    // The item's RotationOrder. "LW Item Info 9" only. (rotationOrder)
    int(HOST_CALL* rotationOrder)(ItemId item);
    // Writes parameter `code` of the item relative to parameter `relativeCode` of `relativeTo` at
    // `time`, as param writes. "LW Item Info 9" only. (relparam)
    void(HOST_CALL* relparam)(ItemId item, int code, ItemId relativeTo, int relativeCode, double time, double* values);
};

// The positions above are the host's; a miscounted slot must not compile.
static_assert(offsetof(ItemInfoService, next) == 1 * sizeof(void*), "next is the 2nd function");
static_assert(offsetof(ItemInfoService, type) == 7 * sizeof(void*), "type is the 8th function");
static_assert(offsetof(ItemInfoService, name) == 8 * sizeof(void*), "name is the 9th function");
static_assert(offsetof(ItemInfoService, param) == 9 * sizeof(void*), "param is the 10th function");
static_assert(offsetof(ItemInfoService, chanGroup) == 13 * sizeof(void*), "chanGroup is the 14th function");
static_assert(offsetof(ItemInfoService, selected) == 34 * sizeof(void*), "selected is the 35th function");
static_assert(offsetof(ItemInfoService, splineT) == 39 * sizeof(void*), "splineT is the 40th function");
static_assert(offsetof(ItemInfoService, relparam) == 41 * sizeof(void*), "relparam is the 42nd function");
static_assert(sizeof(ItemInfoService) == 42 * sizeof(void*), "the table ends with relparam");

}  // namespace host
