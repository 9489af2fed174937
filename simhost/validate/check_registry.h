// The one list of the conformance check's checks: each with a stable ID, a
// title, the protocols it applies to, and its function.
#pragma once

#include <string>
#include <vector>

#include "simhost/validate/checks.h"

namespace sim {

// Where a check applies: to the module as a whole ("module/ID"), held while
// it runs or loaded by the check itself; under each protocol ("classic/ID"
// and "current/ID"), or under one.
enum class CheckScope { Module, ModuleFile, EachProtocol, CurrentProtocol };

struct RegisteredCheck {
    std::string id;                // stable, e.g. "classic/picks": it names the check on its line and to tests
    const char* title;             // what it checks, in words
    const HostProtocol* protocol;  // the protocol it is made under; null for the module's own checks
    bool loadsModuleItself;        // the module is not held for it, so that it can unload it
    CheckFunction run;
};

// The ID of the check that stands for a module that does not load.
extern const char kDescriptorCheckId[];

// Every check in the order they run: the module's own, then each protocol's.
const std::vector<RegisteredCheck>& registeredChecks();

// The check of that ID, or null.
const RegisteredCheck* findCheck(const std::string& id);

}  // namespace sim
