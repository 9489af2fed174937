#include "simhost/run/edit_application.h"

#include <cstddef>
#include <cstdio>

#include "simhost/services/item_ids.h"

namespace sim {

namespace {

// A used-items list longer than this is taken as unterminated.
const size_t kMaxUsedItems = 64;

const int kSearchOrder[] = {host::kItemTypeObject, host::kItemTypeCamera};

struct ItemPlace {
    std::vector<SceneItem>* list = nullptr;
    int typeCode = 0;
    size_t index = 0;
};

// The first item of that name, objects before cameras.
bool findItem(HostSession& session, const std::string& name, ItemPlace& place) {
    for (int typeCode : kSearchOrder) {
        std::vector<SceneItem>& list = *session.listOfType(typeCode);
        for (size_t index = 0; index < list.size(); ++index)
            if (list[index].name == name) {
                place = {&list, typeCode, index};
                return true;
            }
    }
    return false;
}

void addPair(std::vector<host::ItemId>& pairs, host::ItemId oldId, host::ItemId newId) {
    pairs.push_back(oldId);
    pairs.push_back(newId);
}

std::vector<host::ItemId> deletionPairs(const ItemPlace& place) {
    std::vector<host::ItemId> pairs;
    addPair(pairs, itemIdAt(place.typeCode, place.index), nullptr);
    for (size_t later = place.index + 1; later < place.list->size(); ++later)
        addPair(pairs, itemIdAt(place.typeCode, later), itemIdAt(place.typeCode, later - 1));
    return pairs;
}

// The names of the items the instance says it uses, checking each ID.
std::string usedItemNames(HostSession& session, HandlerBinding& handler, host::InstanceHandle instance) {
    const host::ItemId* used = handler.useItems(instance);
    if (used == nullptr) return "nothing";
    std::string names;
    for (size_t at = 0;; ++at) {
        // The limit is checked before an entry is read: the list may have no end.
        if (at == kMaxUsedItems) {
            session.recordViolation("useItems gave a list with no null ID within " + std::to_string(kMaxUsedItems));
            break;
        }
        if (used[at] == nullptr) break;
        const SceneItem* item = session.itemOf(used[at]);
        if (item == nullptr) session.recordViolation("useItems listed " + describeItemId(used[at]) + ", which names no item");
        names += (at == 0 ? "" : ", ") + (item != nullptr ? item->name : describeItemId(used[at]));
    }
    return names;
}

std::string countText(size_t count, const char* what) {
    return std::to_string(count) + " " + what + (count == 1 ? "" : "s");
}

}  // namespace

EditOutcome makeEdit(HostSession& session, HandlerBinding& handler, const std::vector<host::InstanceHandle>& instances,
                     const SceneEdit& edit) {
    EditOutcome outcome;
    ItemPlace place;
    if (edit.kind != EditKind::Add && !findItem(session, edit.name, place)) {
        outcome.error = "cannot " + describeSceneEdit(edit) + ": no item is named \"" + edit.name + "\"";
        return outcome;
    }
    outcome.line = describeSceneEdit(edit);
    if (edit.kind == EditKind::Rename) {
        (*place.list)[place.index].name = edit.newName;
    } else {
        // An addition at the end of a list moves no ID, but is announced all the same.
        std::vector<host::ItemId> pairs;
        if (edit.kind == EditKind::Delete) pairs = deletionPairs(place);
        size_t moved = edit.kind == EditKind::Delete ? pairs.size() / 2 - 1 : 0;
        pairs.push_back(nullptr);
        for (host::InstanceHandle instance : instances) handler.changeID(instance, pairs.data());
        if (edit.kind == EditKind::Delete) place.list->erase(place.list->begin() + static_cast<std::ptrdiff_t>(place.index));
        else if (edit.typeCode == host::kItemTypeCamera) session.scene().addCamera(edit.name);
        else session.scene().addObject(edit.name);
        outcome.line += ": " + countText(moved, "ID") + " renumbered";
    }
    if (handler.fillsUseItems())
        for (host::InstanceHandle instance : instances) outcome.line += "; uses " + usedItemNames(session, handler, instance);
    return outcome;
}

}  // namespace sim
