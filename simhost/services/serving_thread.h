// A host calls its services from the thread that called into the module, and
// serves no other: its state has no locks. A module that calls one from a
// thread of its own breaks the host's rule. Each service entry point asks
// calledFromSecondThread first, before it touches anything shared: such a
// call is noted, with the call into the module in progress, and answered
// neutrally, and the thread that serves takes the note as a host check.
#pragma once

#include <string>

namespace sim {

// Makes the calling thread the one served while it lives, unless made not
// `claiming`; the one served before it is served again after. A host
// session holds one.
class ServedThreadClaim {
public:
    explicit ServedThreadClaim(bool claiming = true);
    ~ServedThreadClaim();
    ServedThreadClaim(const ServedThreadClaim&) = delete;
    ServedThreadClaim& operator=(const ServedThreadClaim&) = delete;

private:
    bool claiming_;
    const void* previous_;
};

// Whether the calling thread is another than the one served (false while no
// thread is claimed). If so, notes `function` of `service` (literals both),
// touching nothing else.
bool calledFromSecondThread(const char* service, const char* function);

// The note of the calls from a second thread since the last take, as the
// host check's text, or "" when none came:
//     setChannel (the channel access record) called from a second thread in a call into the module: evaluate
//     at frame 3; a host serves only the thread that calls into the module (answered neutrally, 2 calls)
std::string takeSecondThreadNote();

}  // namespace sim
