// Makes one scene edit the way the host does while a session serves the
// scene. For a deletion or an addition it works out every item ID that
// changes (a deleted item's to null, each later item's to the place before
// it), hands those pairs to each instance's changeID before the lists
// change, then changes them. After any edit it asks each instance which
// items it uses and checks the list: ended by a null ID, live IDs only.
#pragma once

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

EditOutcome makeEdit(HostSession& session, HandlerBinding& handler, const std::vector<host::InstanceHandle>& instances,
                     const SceneEdit& edit);

}  // namespace sim
