// Faults of instances: their description, copies, blocks and names.
#include <cstring>
#include <map>
#include <string>

#include "channel/distance_evaluation.h"
#include "channel/held_services.h"
#include "channel/item_list.h"
#include "faulty_kelto.h"
#include "host/item_info.h"
#include "module/distance_handle.h"
#include "module/handler_entry.h"
#include "module/interface_entry.h"

namespace {

using fault::Entries;
[[maybe_unused]] const host::ItemInfoService& itemInfo() { return *kelto::heldHostServices().itemInfo; }

// The first item of the list named `name`, or null.
[[maybe_unused]] host::ItemId firstNamed(int typeCode, const char* name) {
    for (host::ItemId item = itemInfo().first(typeCode, nullptr); item != nullptr; item = itemInfo().next(item))
        if (std::strcmp(itemInfo().name(item), name) == 0) return item;
    return nullptr;
}

#if defined(FAULT_LONG_NAME_WHOLE) || defined(FAULT_NAMES_TAKEN_WHEN_REFERENCED) || \
    defined(FAULT_NAME_CUT_INSIDE_CHARACTER)
// A save whose name lines, the 3rd and 5th units, may be replaced.
struct SwappedSave {
    const host::SaveState* state;
    int unit;
    std::string names[2];
    bool swapped[2];
};

void HOST_CALL writeSwapped(void* data, const char* bytes, int length) {
    SwappedSave& save = *static_cast<SwappedSave*>(data);
    int which = save.unit == 2 ? 0 : save.unit == 4 ? 1 : -1;
    ++save.unit;
    if (which >= 0 && save.swapped[which])
        save.state->write(save.state->writeData, save.names[which].c_str(), int(save.names[which].size() + 1));
    else
        save.state->write(save.state->writeData, bytes, length);
}

const char*(HOST_CALL* g_save)(host::InstanceHandle, const host::SaveState*) = nullptr;

const char* saveSwapped(host::InstanceHandle instance, const host::SaveState* state, SwappedSave& save) {
    save.state = state;
    save.unit = 0;
    host::SaveState swapping{};  // write alone: all the modifier calls
    swapping.ioMode = state->ioMode;
    swapping.writeData = &save;
    swapping.write = writeSwapped;
    return g_save(instance, &swapping);
}
#endif

#if defined(FAULT_DESCRIPTION)
// A description of the module's own, with a line break and a terminal
// control sequence in it.
const char* HOST_CALL describeOtherwise(host::InstanceHandle) { return "KELTO by VEM\n\x1b[31m"; }

void change(int, void* record) { fault::handlerRecord(record).instance->describe = describeOtherwise; }

#elif defined(FAULT_COPY_WITHOUT_NAMES)
// A copy takes the IDs and choices but not the names.
const char*(HOST_CALL* g_copy)(host::InstanceHandle, host::InstanceHandle) = nullptr;

const char* HOST_CALL copyWithoutNames(host::InstanceHandle to, host::InstanceHandle from) {
    const char* error = g_copy(to, from);
    std::memset(kelto::instanceOf(to)->itemName, 0, sizeof kelto::instanceOf(to)->itemName);
    std::memset(kelto::instanceOf(to)->cameraName, 0, sizeof kelto::instanceOf(to)->cameraName);
    return error;
}

void change(int, void* record) {
    g_copy = fault::handlerRecord(record).instance->copy;
    fault::handlerRecord(record).instance->copy = copyWithoutNames;
}

#elif defined(FAULT_SAVE_ERROR) || defined(FAULT_LOAD_ERROR)
// Saves or loads as the modifier does, then says it failed.
#if defined(FAULT_SAVE_ERROR)
typedef host::SaveState State;
const char kError[] = "the disk is full";
constexpr auto kOperation = &host::InstanceOperations::save;
#else
typedef host::LoadState State;
const char kError[] = "the block is unreadable";
constexpr auto kOperation = &host::InstanceOperations::load;
#endif
const char*(HOST_CALL* g_operation)(host::InstanceHandle, const State*) = nullptr;

const char* HOST_CALL operateAndFail(host::InstanceHandle instance, const State* state) {
    g_operation(instance, state);
    return kError;
}

void change(int, void* record) {
    host::InstanceOperations& operations = *fault::handlerRecord(record).instance;
    g_operation = operations.*kOperation;
    operations.*kOperation = operateAndFail;
}

#elif defined(FAULT_LOAD_NEVER_ENDS)
// Load reads on past the end of the block, for ever.
const char* HOST_CALL loadForEver(host::InstanceHandle, const host::LoadState* state) {
    char line[kelto::kNameSize];
    for (;;) state->read(state->readData, line, sizeof line);
}

void change(int, void* record) { fault::handlerRecord(record).instance->load = loadForEver; }

#elif defined(FAULT_CAMERA_AMONG_CAMERAS)
// The camera's name is looked for among the cameras first, though the
// modifier finds a name as the first item of it, objects first.
void resolveCamerasFirst(host::InstanceHandle handle) {
    kelto::DistanceInstance& instance = *kelto::instanceOf(handle);
    if (instance.resolved) return;
    kelto::resolveReferences(instance);
    if (instance.cameraName[0] == '\0') return;
    if (host::ItemId camera = firstNamed(host::kItemTypeCamera, instance.cameraName)) {
        instance.cameraId = camera;
        instance.cameraChoice = kelto::choiceOfItem(kelto::ItemList::Cameras, camera);
    }
}

void change(int version, void* record) { fault::wrapEvaluate<resolveCamerasFirst, nullptr>(version, record); }

#elif defined(FAULT_EMPTY_NAME_FINDS_ITEM)
// An empty name finds the first item whose name is empty, objects first.
host::ItemId firstWithoutName() {
    host::ItemId object = firstNamed(host::kItemTypeObject, "");
    return object != nullptr ? object : firstNamed(host::kItemTypeCamera, "");
}

void resolveFindingEmpty(host::InstanceHandle handle) {
    kelto::DistanceInstance& instance = *kelto::instanceOf(handle);
    if (instance.resolved) return;
    kelto::resolveReferences(instance);
    if (instance.itemName[0] == '\0') instance.itemId = firstWithoutName();
    if (instance.cameraName[0] == '\0') instance.cameraId = firstWithoutName();
}

void change(int version, void* record) { fault::wrapEvaluate<resolveFindingEmpty, nullptr>(version, record); }

#elif defined(FAULT_MISSING_SAVED_AS_NONE)
// A reference that found no item forgets its name, so it saves as none.
void forgetMissing(host::InstanceHandle handle) {
    kelto::DistanceInstance& instance = *kelto::instanceOf(handle);
    if (instance.itemId == nullptr) std::memset(instance.itemName, 0, sizeof instance.itemName);
    if (instance.cameraId == nullptr) std::memset(instance.cameraName, 0, sizeof instance.cameraName);
}

void change(int version, void* record) { fault::wrapEvaluate<nullptr, forgetMissing>(version, record); }

#elif defined(FAULT_LONG_NAME_WHOLE)
// Save writes each item's name as the host gives it, however long.
const char* HOST_CALL saveWholeNames(host::InstanceHandle handle, const host::SaveState* state) {
    kelto::DistanceInstance& instance = *kelto::instanceOf(handle);
    SwappedSave save = {};
    host::ItemId ids[2] = {instance.itemId, instance.cameraId};
    for (int which = 0; which < 2; ++which)
        if ((save.swapped[which] = ids[which] != nullptr)) save.names[which] = itemInfo().name(ids[which]);
    return saveSwapped(handle, state, save);
}

void change(int, void* record) {
    g_save = fault::handlerRecord(record).instance->save;
    fault::handlerRecord(record).instance->save = saveWholeNames;
}

#elif defined(FAULT_NAME_CUT_INSIDE_CHARACTER)
// Save cuts a name too long for the buffer at the buffer's last byte, in the
// middle of a character if one stands there.
const size_t kLongestName = kelto::kNameSize - 1;

const char* HOST_CALL saveCutNames(host::InstanceHandle handle, const host::SaveState* state) {
    kelto::DistanceInstance& instance = *kelto::instanceOf(handle);
    SwappedSave save = {};
    host::ItemId ids[2] = {instance.itemId, instance.cameraId};
    for (int which = 0; which < 2; ++which)
        if ((save.swapped[which] = ids[which] != nullptr))
            save.names[which] = std::string(itemInfo().name(ids[which])).substr(0, kLongestName);
    return saveSwapped(handle, state, save);
}

void change(int, void* record) {
    g_save = fault::handlerRecord(record).instance->save;
    fault::handlerRecord(record).instance->save = saveCutNames;
}

#elif defined(FAULT_READS_PAST_EMPTY_LINE)
// An empty line where a keyword stands is skipped, as though the block went
// on past it; a name line, which may be empty, is read as it is.
const host::LoadState* g_load = nullptr;
const char*(HOST_CALL* g_loadOperation)(host::InstanceHandle, const host::LoadState*) = nullptr;
bool g_nameNext = false;

int HOST_CALL readPastEmpty(void* readData, char* buffer, int maxLength) {
    int read = g_load->read(readData, buffer, maxLength);
    while (read == 0 && !g_nameNext) read = g_load->read(readData, buffer, maxLength);
    g_nameNext =
        read > 0 && (std::strcmp(buffer, "REFERENCE_ITEM") == 0 || std::strcmp(buffer, "REFERENCE_CAMERA") == 0);
    return read;
}

const char* HOST_CALL loadPastEmpty(host::InstanceHandle instance, const host::LoadState* state) {
    host::LoadState skipping = *state;
    skipping.read = readPastEmpty;
    g_load = state;
    g_nameNext = false;
    return g_loadOperation(instance, &skipping);
}

void change(int, void* record) {
    g_loadOperation = fault::handlerRecord(record).instance->load;
    fault::handlerRecord(record).instance->load = loadPastEmpty;
}

#elif defined(FAULT_NONE_IS_NO_ITEM)
// A loaded name "none" is taken for no reference, though an item of that
// name is found by it.
const char*(HOST_CALL* g_load)(host::InstanceHandle, const host::LoadState*) = nullptr;

const char* HOST_CALL loadNoneAsNothing(host::InstanceHandle handle, const host::LoadState* state) {
    const char* error = g_load(handle, state);
    kelto::DistanceInstance& instance = *kelto::instanceOf(handle);
    for (char* name : {instance.itemName, instance.cameraName})
        if (std::strcmp(name, "none") == 0) name[0] = '\0';
    return error;
}

void change(int, void* record) {
    g_load = fault::handlerRecord(record).instance->load;
    fault::handlerRecord(record).instance->load = loadNoneAsNothing;
}

#elif defined(FAULT_RETRIES_MISSING_NAMES)
// A reference whose item was missing is looked for again at every
// evaluation, so an item that appears later under its name is found at once.
void retryMissing(host::InstanceHandle handle) {
    kelto::DistanceInstance& instance = *kelto::instanceOf(handle);
    if (!instance.resolved) return;
    if (instance.itemId == nullptr && instance.itemName[0] != '\0')
        instance.itemId = kelto::findItemByName(instance.itemName);
    if (instance.cameraId == nullptr && instance.cameraName[0] != '\0')
        instance.cameraId = kelto::findItemByName(instance.cameraName);
}

void change(int version, void* record) { fault::wrapEvaluate<retryMissing, nullptr>(version, record); }

#elif defined(FAULT_NAMES_TAKEN_WHEN_REFERENCED)
// Each reference's name is taken when it comes to name another item, and
// saved as taken: a renamed item is saved by its old name.
struct Taken {
    host::ItemId ids[2];
    char names[2][kelto::kNameSize];
};
std::map<host::InstanceHandle, Taken> g_taken;
void(HOST_CALL* g_destroy)(host::InstanceHandle) = nullptr;

void takeNames(host::InstanceHandle handle) {
    kelto::DistanceInstance& instance = *kelto::instanceOf(handle);
    Taken& taken = g_taken[handle];
    host::ItemId ids[2] = {instance.itemId, instance.cameraId};
    for (int which = 0; which < 2; ++which)
        if (ids[which] != taken.ids[which] && (taken.ids[which] = ids[which]) != nullptr)
            kelto::copyItemName(ids[which], taken.names[which]);
}

const char* HOST_CALL saveTakenNames(host::InstanceHandle handle, const host::SaveState* state) {
    kelto::DistanceInstance& instance = *kelto::instanceOf(handle);
    SwappedSave save = {};
    auto taken = g_taken.find(handle);
    host::ItemId ids[2] = {instance.itemId, instance.cameraId};
    for (int which = 0; which < 2 && taken != g_taken.end(); ++which)
        if ((save.swapped[which] = ids[which] != nullptr && ids[which] == taken->second.ids[which]))
            save.names[which] = taken->second.names[which];
    return saveSwapped(handle, state, save);
}

void HOST_CALL destroyForgetting(host::InstanceHandle handle) {
    g_taken.erase(handle);
    g_destroy(handle);
}

void change(int version, void* record) {
    fault::wrapEvaluate<nullptr, takeNames>(version, record);
    host::HandlerRecord& handler = fault::handlerRecord(record);
    g_save = handler.instance->save;
    handler.instance->save = saveTakenNames;
    g_destroy = handler.instance->destroy;
    handler.instance->destroy = destroyForgetting;
}

#elif defined(FAULT_FRESH_TAKES_FIRST_ITEMS)
// A modifier just applied references the scene's first object and camera.
host::InstanceHandle(HOST_CALL* g_create)(void*, void*, const char**) = nullptr;

host::InstanceHandle HOST_CALL createOnFirstItems(void* hostData, void* context, const char** error) {
    host::InstanceHandle handle = g_create(hostData, context, error);
    if (handle == nullptr) return nullptr;
    kelto::DistanceInstance& instance = *kelto::instanceOf(handle);
    if (host::ItemId object = itemInfo().first(host::kItemTypeObject, nullptr))
        kelto::copyItemName(object, instance.itemName);
    if (host::ItemId camera = itemInfo().first(host::kItemTypeCamera, nullptr))
        kelto::copyItemName(camera, instance.cameraName);
    return handle;
}

void change(int, void* record) {
    g_create = fault::handlerRecord(record).instance->create;
    fault::handlerRecord(record).instance->create = createOnFirstItems;
}

#else
#error "instance_faults.cpp: no fault of this file is chosen"
#endif

constexpr Entries kFault = {fault::activateChanged<change>, fault::modifierInterface, fault::startup, fault::shutdown};

}  // namespace

const fault::Entries fault::kEntries = kFault;

// What each fails.
#if defined(FAULT_DESCRIPTION) && defined(FAULTY_KELTO_FOCUS)
FAULT_FAILS("classic/description classic/description-measure")
#elif defined(FAULT_DESCRIPTION)
FAULT_FAILS("classic/description")
#elif defined(FAULT_COPY_WITHOUT_NAMES)
FAULT_FAILS("classic/instances")
#elif defined(FAULT_SAVE_ERROR) || defined(FAULT_LOAD_ERROR)
FAULT_FAILS("classic/save-load-save")
#elif defined(FAULT_LOAD_NEVER_ENDS)
// Every check that loads a block would wait out its time limit.
FAULT_FAILS("apart")
#elif defined(FAULT_CAMERA_AMONG_CAMERAS)
FAULT_FAILS("classic/random-blocks")
#elif defined(FAULT_EMPTY_NAME_FINDS_ITEM)
FAULT_FAILS("classic/empty-names")
#elif defined(FAULT_FRESH_TAKES_FIRST_ITEMS)
// A block that an empty line ends before its names leaves them as created.
FAULT_FAILS("classic/empty-names classic/empty-line")
#elif defined(FAULT_MISSING_SAVED_AS_NONE)
FAULT_FAILS("classic/missing-references")
#elif defined(FAULT_LONG_NAME_WHOLE) || defined(FAULT_NAME_CUT_INSIDE_CHARACTER)
FAULT_FAILS("classic/long-names")
#elif defined(FAULT_READS_PAST_EMPTY_LINE)
FAULT_FAILS("classic/empty-line")
#elif defined(FAULT_NONE_IS_NO_ITEM)
// "none" in a block finds the object of that name: valid blocks evaluate as
// their names find.
FAULT_FAILS("classic/save-load-save")
#elif defined(FAULT_RETRIES_MISSING_NAMES)
FAULT_FAILS("classic/missing-references")
#elif defined(FAULT_NAMES_TAKEN_WHEN_REFERENCED)
FAULT_FAILS("classic/renames")
#endif
