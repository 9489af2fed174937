#include "simhost/run/edit_application.h"

#include <cstddef>
#include <cstdio>

#include "simhost/services/item_ids.h"

namespace sim {

namespace {

// A used-items list longer than this is taken as unterminated.
const size_t kMaxUsedItems = 64;

const std::vector<int> kSearchOrder = {host::kItemTypeObject, host::kItemTypeCamera};

struct ItemPlace {
    std::vector<SceneItem>* list = nullptr;
    int typeCode = 0;
    size_t index = 0;
};

// The first item of that name, objects before cameras.
bool findItem(HostSession& session, const std::string& name, ItemPlace& place) {
    if (!session.scene().firstNamed(name, kSearchOrder, place.typeCode, place.index)) return false;
    place.list = session.listOfType(place.typeCode);
    return true;
}

// The pairs of IDs a deletion of the item at `index` changes, in the order
// of the old places: the deleted item's to null and, on a classic host, each
// later item's to the place before it. Only those places are walked.
std::vector<host::ItemId> idsChangedByDeletion(HostSession& session, int typeCode, size_t index) {
    std::vector<host::ItemId> pairs = {session.idOf(typeCode, index), nullptr};
    if (session.kind() != HostKind::Classic) return pairs;
    size_t count = session.listOfType(typeCode)->size();
    pairs.reserve(2 * (count - index) + 1);  // and the null that ends them
    for (size_t old = index + 1; old < count; ++old) {
        pairs.push_back(itemIdAt(typeCode, old));
        pairs.push_back(itemIdAt(typeCode, old - 1));
    }
    return pairs;
}

// The pairs of IDs that change when the items at the old places in `order`
// take the list's places in that order (a place missing from it is a deleted
// item's), in the order of the old places: a classic host numbers the new
// places, a current one keeps each item's ID.
std::vector<host::ItemId> changedIds(HostSession& session, int typeCode, const std::vector<size_t>& order) {
    size_t count = session.listOfType(typeCode)->size();
    std::vector<host::ItemId> newIds(count, nullptr);  // by old place
    for (size_t place = 0; place < order.size(); ++place)
        newIds[order[place]] =
            session.kind() == HostKind::Classic ? itemIdAt(typeCode, place) : session.idOf(typeCode, order[place]);
    std::vector<host::ItemId> pairs;
    for (size_t old = 0; old < count; ++old) {
        host::ItemId id = session.idOf(typeCode, old);
        if (id == newIds[old]) continue;
        pairs.push_back(id);
        pairs.push_back(newIds[old]);
    }
    return pairs;
}

// The old places of a list of `count` items in their order after the item
// at `from` goes to `to` (to `count`: it goes for good).
std::vector<size_t> orderAfterMove(size_t count, size_t from, size_t to) {
    std::vector<size_t> order;
    for (size_t place = 0; place < count; ++place)
        if (place != from) order.push_back(place);
    if (to < count) order.insert(order.begin() + static_cast<std::ptrdiff_t>(to), from);
    return order;
}

// The names of the items the instance says it uses.
std::string usedItemNames(HostSession& session, HandlerBinding& handler, host::InstanceHandle instance) {
    std::vector<host::ItemId> ids = usedItemIds(session, handler, instance);
    if (ids.empty()) return "nothing";
    std::string names;
    for (host::ItemId id : ids) {
        const SceneItem* item = session.itemOf(id);
        names += (names.empty() ? "" : ", ") + (item != nullptr ? item->name : describeItemId(id));
    }
    return names;
}

std::string countText(size_t count, const char* what) {
    return std::to_string(count) + " " + what + (count == 1 ? "" : "s");
}

// Hands every instance the pairs, ended by a null ID, and says how many IDs
// move to another item (a deleted one's pair aside).
std::string announced(HandlerBinding& handler, const std::vector<host::InstanceHandle>& instances,
                      std::vector<host::ItemId> pairs, size_t deleted) {
    size_t moved = pairs.size() / 2 - deleted;
    pairs.push_back(nullptr);
    for (host::InstanceHandle instance : instances) handler.changeID(instance, pairs.data());
    return ": " + countText(moved, "ID") + " renumbered";
}

std::string usesText(HostSession& session, HandlerBinding& handler,
                     const std::vector<host::InstanceHandle>& instances) {
    std::string text;
    if (handler.fillsUseItems())
        for (host::InstanceHandle instance : instances) text += "; uses " + usedItemNames(session, handler, instance);
    return text;
}

}  // namespace

std::vector<host::ItemId> usedItemIds(HostSession& session, HandlerBinding& handler, host::InstanceHandle instance) {
    std::vector<host::ItemId> ids;
    const host::ItemId* used = handler.useItems(instance);
    for (size_t at = 0; used != nullptr; ++at) {
        // The limit is checked before an entry is read: the list may have no end.
        if (at == kMaxUsedItems) {
            session.recordViolation("useItems gave a list with no null ID within " + std::to_string(kMaxUsedItems));
            break;
        }
        if (used[at] == nullptr) break;
        if (session.itemOf(used[at]) == nullptr)
            session.recordViolation("useItems listed " + describeItemId(used[at]) + ", which names no item");
        ids.push_back(used[at]);
    }
    return ids;
}

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
        session.scene().rename(place.typeCode, place.index, edit.newName);
    } else if (edit.kind == EditKind::Delete) {
        outcome.line += announced(handler, instances, idsChangedByDeletion(session, place.typeCode, place.index), 1);
        session.deleteItem(place.typeCode, place.index);
    } else {
        // An addition at the end of a list moves no ID, but is announced all the same.
        outcome.line += announced(handler, instances, {}, 0);
        if (edit.typeCode == host::kItemTypeCamera)
            session.scene().addCamera(edit.name);
        else
            session.scene().addObject(edit.name);
    }
    outcome.line += usesText(session, handler, instances);
    return outcome;
}

EditOutcome moveItem(HostSession& session, HandlerBinding& handler, const std::vector<host::InstanceHandle>& instances,
                     int typeCode, size_t from, size_t to) {
    EditOutcome outcome;
    std::vector<SceneItem>* list = session.listOfType(typeCode);
    outcome.line = "move item " + std::to_string(from + 1) + " to place " + std::to_string(to + 1);
    if (session.kind() != HostKind::Classic || list == nullptr || from >= list->size() || to >= list->size()) {
        outcome.error = "cannot " + outcome.line + " of that list on this host";
        return outcome;
    }
    outcome.line +=
        announced(handler, instances, changedIds(session, typeCode, orderAfterMove(list->size(), from, to)), 0);
    SceneItem item = (*list)[from];
    list->erase(list->begin() + static_cast<std::ptrdiff_t>(from));
    list->insert(list->begin() + static_cast<std::ptrdiff_t>(to), item);
    outcome.line += usesText(session, handler, instances);
    return outcome;
}

}  // namespace sim
