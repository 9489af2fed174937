// What a check of the conformance check is: a function of the context,
// declared in its file's table in checks/ with its ID, title and scope; the
// registry (check_registry.cpp) gathers the tables. A check reports through
// the context's Expect: the first expectation that fails is its failure.
#pragma once

#include <cstddef>
#include <cstdint>
#include <random>
#include <string>

#include "simhost/services/module_loader.h"
#include "simhost/validate/check_outcome.h"
#include "simhost/validate/check_rig.h"

namespace sim {

struct CheckContext {
    const std::string& path;            // the module file
    const LoadedModule* loadedModule;   // loaded for the check; null for one that loads it itself
    const HostProtocol& protocol;       // the protocol checked; the classic one for the module's own checks
    const ValidatedModifier& modifier;  // the modifier the module claims to be
    std::mt19937& random;               // from the seed
    Expect& expect;

    const LoadedModule& module() const { return *loadedModule; }
};

typedef void (*CheckFunction)(CheckContext& context);

// Where a check applies: to the module as a whole ("module/ID"), held while
// it runs or loaded by the check itself; under each protocol ("classic/ID"
// and "current/ID"), or under one.
enum class CheckScope { Module, ModuleFile, EachProtocol, CurrentProtocol };

// A check as its file declares it, beside its function.
struct CheckDefinition {
    const char* name;  // the ID after its scope's prefix
    const char* title;
    CheckScope scope;
    CheckFunction run;
};

// One file's checks, in the order they run.
struct CheckTable {
    const CheckDefinition* definitions;
    size_t count;
};

template <size_t Count>
constexpr CheckTable checkTable(const CheckDefinition (&definitions)[Count]) {
    return {definitions, Count};
}

// Each file's table (checks/), named here for the registry to gather. Being
// named keeps each file in the program, kelto_simhost being a static library
// the linker takes only the referenced files of; being constexpr, each is
// ready before any code runs. A table that registered itself from a static
// object's constructor would have neither.
extern const CheckTable kModuleChecks;
extern const CheckTable kActivationChecks;
extern const CheckTable kInstanceChecks;
extern const CheckTable kBlockChecks;
extern const CheckTable kNameChecks;
extern const CheckTable kPanelChecks;
extern const CheckTable kEvaluationChecks;
extern const CheckTable kItemChecks;
extern const CheckTable kHierarchyChecks;
extern const CheckTable kCallChecks;
extern const CheckTable kFocusValueChecks;
extern const CheckTable kFocusBlockChecks;
extern const CheckTable kFocusPanelChecks;
extern const CheckTable kFocusHierarchyChecks;

// Not a check but the question which modifier the module serves, asked
// like one (checks/module_checks.cpp).
void checkServesKeltoFocusAlone(CheckContext& context);

}  // namespace sim
