// The conformance check's checks, gathered from their files' tables: each
// with a stable ID, a title, the modifier and protocols it applies to, and
// its function. Kelto Focus has Kelto's checks, made with its own facts, and checks of its
// own; its IDs begin with "focus/" ("focus/classic/picks").
#pragma once

#include <string>
#include <vector>

#include "simhost/validate/checks/check_tables.h"
#include "simhost/validate/validated_modifier.h"

namespace sim {

struct RegisteredCheck {
    std::string id;                     // stable, e.g. "classic/picks": it names the check on its line and to tests
    const char* title;                  // what it checks, in words
    const ValidatedModifier* modifier;  // the modifier it holds the module to
    const HostProtocol* protocol;       // the protocol it is made under; null for the module's own checks
    bool loadsModuleItself;             // the module is not held for it, so that it can unload it
    CheckFunction run;
};

// The ID of Kelto's check that stands for a module that does not load.
extern const char kDescriptorCheckId[];
// That check's ID among the modifier's checks.
std::string descriptorCheckIdOf(const ValidatedModifier& modifier);

// Every check, Kelto's then Kelto Focus's, each modifier's in the order they
// run: the module's own, then each protocol's.
const std::vector<RegisteredCheck>& registeredChecks();

// The modifier's checks alone, in the order they run.
std::vector<const RegisteredCheck*> checksOf(const ValidatedModifier& modifier);

// Not a check of the module's but the question which modifier it serves,
// asked in a process of its own like a check, since the module must be
// loaded to answer: it passes for a module whose channel handler is Kelto
// Focus's (and none Kelto's), and skips or fails for any other. It is not
// listed, and only that process may ask it by its ID (validate_command.cpp).
const RegisteredCheck& modifierProbe();

// The question whether the module serves Kelto, asked like modifierProbe()
// only when a check of Kelto Focus's is asked of a module that does not serve
// Kelto Focus: it passes for a module that loads with Kelto's servers, and
// skips for any other.
const RegisteredCheck& keltoProbe();

// The question of that ID, or null: only a check's own process asks one by
// its ID.
const RegisteredCheck* findProbe(const std::string& id);

// The check of that ID among those listed, or null.
const RegisteredCheck* findCheck(const std::string& id);

}  // namespace sim
