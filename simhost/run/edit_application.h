// Makes one scene edit the way the host does while a session serves the
// scene. For a deletion or an addition it works out every item ID that
// changes and hands those pairs to each instance's changeID before the lists
// change, then changes them: a classic host renumbers (a deleted item's ID
// to null, each later item's to the place before it), a current host keeps
// IDs (only the deleted item's pair). After any edit it asks each instance
// which items it uses and checks the list: ended by a null ID, live IDs only.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "simhost/scene/scene_edit_text.h"
#include "simhost/services/host_session.h"
#include "simhost/services/server_bindings.h"

namespace sim {

struct EditOutcome {
    std::string error;  // why the edit could not be made, e.g. no item of that name; empty when made
    std::string line;   // what was done, e.g. "delete Ground at frame 48: 1 ID renumbered; uses Ball, Camera"
};

// The IDs the instance's useItems lists, up to its null end. A list with no
// end within the host's limit, or an ID that names no item, is a violation.
std::vector<host::ItemId> usedItemIds(HostSession& session, HandlerBinding& handler, host::InstanceHandle instance);

EditOutcome makeEdit(HostSession& session, HandlerBinding& handler, const std::vector<host::InstanceHandle>& instances,
                     const SceneEdit& edit);

// Moves the item at place `from` (0-based) of its list to place `to`, the
// others keeping their order, as a classic host does: every item whose place
// changes is announced, in the order of the old places, so that a module
// that applies the pairs one after another instead of all at once follows
// the wrong ones. No scene edit moves items; the conformance check does, to
// see references follow IDs that grow. A current host's IDs would travel
// with their items, which its kept IDs do not model: there it is an error.
EditOutcome moveItem(HostSession& session, HandlerBinding& handler, const std::vector<host::InstanceHandle>& instances,
                     int typeCode, size_t from, size_t to);

}  // namespace sim
