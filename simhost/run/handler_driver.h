// A module's channel handler driven as the host drives it: the one piece a
// scene run, validate's checks, the fuzzers and the benchmarks stand on. It
// serves a scene through a session, holds the handler's binding (activated by
// the caller, which knows the versions it asks for) and the instances made
// through it, and makes the host's calls of the handler's function table:
// create, load, evaluate, save and destroy, and the item edits announced to
// every instance it holds. What the calls leave broken, each user judges by
// its own measure: a run reports it, a check fails on it, a fuzzer aborts.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "host/host_types.h"
#include "simhost/run/edit_application.h"
#include "simhost/scene/scene.h"
#include "simhost/services/block_states.h"
#include "simhost/services/channel_access_record.h"
#include "simhost/services/host_session.h"
#include "simhost/services/server_bindings.h"

namespace sim {

class HandlerDriver {
public:
    // Serves `scene`, which must outlive the driver, as a host of `kind`.
    explicit HandlerDriver(Scene& scene, HostKind kind = HostKind::Classic);
    // Destroys the instances still held, while the session still serves them.
    ~HandlerDriver();
    HandlerDriver(const HandlerDriver&) = delete;
    HandlerDriver& operator=(const HandlerDriver&) = delete;

    Scene& scene() { return session_.scene(); }
    HostSession& session() { return session_; }
    HandlerBinding& handler() { return handler_; }
    // The instances made here and not yet destroyed, oldest first.
    const std::vector<host::InstanceHandle>& instances() const { return instances_; }

    // A new instance, held until destroyed; null when create made none.
    host::InstanceHandle create();
    // Destroys an instance and lets go of it; one not held here is destroyed all the same.
    void destroy(host::InstanceHandle instance);
    // Load's error text, or null: from the ASCII lines of a block, or from a
    // reader the caller made (a binary one, say) and reads afterwards.
    const char* load(host::InstanceHandle instance, const std::vector<std::string>& lines);
    const char* load(host::InstanceHandle instance, BlockReader& reader);
    // One evaluation through the record, which the caller judges once it returns.
    void evaluate(host::InstanceHandle instance, ChannelAccessRecord& access) { handler_.evaluate(instance, access); }
    // Save's error text, or null; what it wrote is the writer's.
    const char* save(host::InstanceHandle instance, BlockWriter& writer) { return handler_.save(instance, writer); }

    // The edit made as the host makes it, announced to every instance held.
    EditOutcome edit(const SceneEdit& edit) { return makeEdit(session_, handler_, instances_, edit); }
    // An item moved in its list (edit_application.h), announced alike.
    EditOutcome move(int typeCode, size_t from, size_t to) {
        return moveItem(session_, handler_, instances_, typeCode, from, to);
    }

private:
    HostSession session_;
    HandlerBinding handler_;
    std::vector<host::InstanceHandle> instances_;
};

}  // namespace sim
