// The simulated host's state while it serves a module: the scene behind its
// item-info service, which services it withholds, and a record of what the
// module asked of it. The host's C calls carry no context, so one session at a
// time is current; a nested session stands in until it ends.
#pragma once

#include <set>
#include <string>
#include <vector>

#include "host/host_types.h"
#include "simhost/scene/scene.h"
#include "simhost/services/item_ids.h"
#include "simhost/services/panel_toolkit_model.h"
#include "simhost/services/served_names.h"
#include "simhost/services/serving_thread.h"

namespace sim {

// What an expired name reads as, byte after byte.
const char kExpiredNameByte = '#';

// Item-info calls the module made, by function.
struct ItemInfoCalls {
    int first = 0;
    int next = 0;
    int name = 0;
    int param = 0;
    int other = 0;  // every function but the four above
    int total() const { return first + next + name + param + other; }
};

class HostSession {
public:
    explicit HostSession(Scene& scene);
    ~HostSession();
    HostSession(const HostSession&) = delete;
    HostSession& operator=(const HostSession&) = delete;

    // The session the host's C calls reach; null when none is.
    static HostSession* current();
    // The current session for a function of `service` the module called.
    // With no session the call has nothing to answer it: the program prints
    // one line naming the function and exits with a failure, rather than
    // guess an answer. Nothing is allocated on the way, since every position
    // query passes here. A call from a second thread (serving_thread.h) is
    // served by a session of that thread's own over an empty scene, which
    // answers as a host with no items and no panels would, and is noted.
    static HostSession& serving(const char* service, const char* function);

    // The global lookup to hand to activations.
    static host::GlobalLookup lookup();

    // Services the lookup answers with null; any name may be given.
    void withhold(const std::string& serviceName) { withheld_.insert(serviceName); }
    void serve(const std::string& serviceName) { withheld_.erase(serviceName); }
    bool isWithheld(const std::string& serviceName) const { return withheld_.count(serviceName) != 0; }

    HostKind kind() const { return kind_; }
    void setKind(HostKind kind) { kind_ = kind; }

    Scene& scene() { return scene_; }
    PanelToolkitModel& panels() { return panels_; }

    // Every service name looked up, in order.
    const std::vector<std::string>& lookups() const { return lookups_; }
    // Breaches of the host's rules, which hold for any module: item IDs the
    // host never handed out or has renumbered since, an item type the host
    // does not have, a lookup mode other than 0, misused toolkit or file
    // states, used-items lists with unknown IDs or no end, and services
    // called from a second thread (noted as they are asked for).
    const std::vector<std::string>& violations();
    ItemInfoCalls& itemInfoCalls() { return itemInfoCalls_; }

    // The ID this host hands out for the item at `index` of its list now
    // (see item_ids.h), or null for a place outside the list.
    host::ItemId idOf(int typeCode, size_t index);
    // The list and place of the item an ID names now; false when it names none.
    bool placeOf(host::ItemId id, int& typeCode, size_t& index);
    // The scene's item behind an ID, or null when the ID names none now.
    SceneItem* itemOf(host::ItemId id);
    // The list of a host item type, or null for a type the host lacks.
    std::vector<SceneItem>* listOfType(int typeCode);
    // Erases the item at `index` of its list: a classic host's later IDs
    // move down a place, a current host's stay as they were.
    void deleteItem(int typeCode, size_t index);

    // Keeps a name handed to the module; like the host's, valid only until
    // the next item-info call, which calls expireName. Guard bytes follow it,
    // so that a module that writes past its end is caught (checkName) before
    // it harms the host's own memory.
    const char* holdName(const std::string& name);
    // Checks the name buffer, then overwrites the last name handed out with a
    // pattern of kExpiredNameByte, so a module that kept it reads that
    // instead. Once is enough.
    void expireName();
    // The module may only read a name handed out: a write into it, past its
    // end or into one expired is a breach of the host's rule, recorded once
    // each, and the buffer is made as the host left it. Made at each
    // item-info call and as each call into the module ends.
    void checkName();

    // The names looked up from the `first`-th lookup on that the lookup
    // answered with null, each once, in the order first asked.
    std::vector<std::string> unservedSince(size_t first) const;

    void recordLookup(const std::string& serviceName, bool served) {
        lookups_.push_back(serviceName);
        lookupServed_.push_back(served);
    }
    void recordViolation(const std::string& what) { violations_.push_back(what); }

    // Calls of the message and texture functions, as "Info Messages info".
    // The host serves them; a modifier that promises not to make them is
    // held to that by whoever runs it.
    const std::vector<std::string>& heldServiceCalls() const { return heldServiceCalls_; }
    void recordHeldServiceCall(const std::string& call) { heldServiceCalls_.push_back(call); }

private:
    struct StandIn {};
    HostSession(Scene& scene, StandIn);  // a second thread's: neither current nor claiming
    friend HostSession& secondThreadSession();

    ServedThreadClaim claim_;
    Scene& scene_;
    HostSession* previous_;
    bool standIn_ = false;
    HostKind kind_ = HostKind::Classic;
    std::set<std::string> withheld_;
    std::vector<std::string> lookups_;
    std::vector<bool> lookupServed_;  // beside lookups_
    std::vector<std::string> violations_;
    std::vector<std::string> heldServiceCalls_;
    ItemInfoCalls itemInfoCalls_;
    KeptItemIds keptIds_;  // a current host's IDs
    // Writes into the name buffer what the host leaves there: the name handed
    // out, its NUL and guard bytes after it, or once it expired the pattern.
    void leaveName();
    size_t firstNameChange() const;

    std::vector<char> nameBuffer_;
    std::string heldName_;        // the name handed out last
    bool nameHandedOut_ = false;  // since the buffer was last expired
    PanelToolkitModel panels_;
};

}  // namespace sim
