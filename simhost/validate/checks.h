// Every check of the conformance check, grouped by what they check; the
// registry (check_registry.cpp) names each and says where it applies. A
// check reports through the context's Expect: the first expectation that
// fails is its failure.
#pragma once

#include <cstdint>
#include <random>
#include <string>

#include "simhost/services/module_loader.h"
#include "simhost/validate/check_bench.h"
#include "simhost/validate/check_outcome.h"

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

// The module as a whole (module_checks.cpp).
void checkServesKeltoFocusAlone(CheckContext& context);
void checkDescriptor(CheckContext& context);
void checkRepeatedLoads(CheckContext& context);

// Activations and the services they look up (activation_checks.cpp).
void checkVersions(CheckContext& context);
void checkInterfaceVersions(CheckContext& context);
void checkMissingServices(CheckContext& context);
void checkServiceNames(CheckContext& context);

// Instances, their copies and description (instance_checks.cpp).
void checkInstances(CheckContext& context);
void checkDescription(CheckContext& context);

// The block in the scene file (block_checks.cpp, name_checks.cpp).
void checkSaveLoadSave(CheckContext& context);
void checkRandomBlocks(CheckContext& context);
void checkMissingReferences(CheckContext& context);
void checkLongNames(CheckContext& context);
void checkEmptyNames(CheckContext& context);

// The options panel (panel_checks.cpp).
void checkPanel(CheckContext& context);
void checkPicks(CheckContext& context);
void checkRefreshCodes(CheckContext& context);

// The evaluation (evaluation_checks.cpp).
void checkSubFrameTimes(CheckContext& context);

// Items edited while references are held (item_checks.cpp).
void checkRenumbering(CheckContext& context);
void checkUsedItems(CheckContext& context);
void checkRenames(CheckContext& context);

// Kelto Focus's own: its value (focus_value_checks.cpp), its block
// (focus_block_checks.cpp), its settings in the panel and its description
// (focus_panel_checks.cpp).
void checkFocusStraightLine(CheckContext& context);
void checkFocusMeasure(CheckContext& context);
void checkFocusLag(CheckContext& context);
void checkFocusBlockRoundTrip(CheckContext& context);
void checkFocusLaterVersions(CheckContext& context);
void checkFocusRefusals(CheckContext& context);
void checkFocusPanelSettings(CheckContext& context);
void checkFocusDescriptionMeasure(CheckContext& context);

}  // namespace sim
