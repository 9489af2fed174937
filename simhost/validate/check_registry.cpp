#include "simhost/validate/check_registry.h"

#include <iterator>

namespace sim {

const char kDescriptorCheckId[] = "module/descriptor";

std::string descriptorCheckIdOf(const ValidatedModifier& modifier) {
    return modifier.idPrefix + std::string(kDescriptorCheckId);
}

namespace {

struct CheckDefinition {
    const char* name;  // the ID after its scope's prefix
    const char* title;
    CheckScope scope;
    CheckFunction run;
};

const CheckScope kModule = CheckScope::Module;
const CheckScope kModuleFile = CheckScope::ModuleFile;
const CheckScope kEach = CheckScope::EachProtocol;
const CheckScope kCurrentOnly = CheckScope::CurrentProtocol;

// Every modifier's, the descriptor first: a module that does not load is
// reported there.
const CheckDefinition kChecks[] = {
    {"descriptor", "descriptor and server table", kModule, checkDescriptor},
    {"repeated-load", "repeated load and unload", kModuleFile, checkRepeatedLoads},
    {"versions", "the handler activation takes the protocol's version alone", kEach, checkVersions},
    {"interface", "the interface activation takes the handler's version alone, asked from 1 upward", kEach,
     checkInterfaceVersions},
    {"services", "activation without each service is refused and earlier instances keep working", kEach,
     checkMissingServices},
    {"service-names", "services are found under older names when the newest are withheld", kCurrentOnly,
     checkServiceNames},
    {"instances", "many instances created, copied and destroyed: copies evaluate and save as their originals", kEach,
     checkInstances},
    {"description", "the description line is the modifier's and the flags 0", kEach, checkDescription},
    {"save-load-save", "valid blocks load and save with no error, and save, load, save gives the same block", kEach,
     checkSaveLoadSave},
    {"random-blocks", "random blocks evaluate as the names they save find, and save back the same", kEach,
     checkRandomBlocks},
    {"missing-references", "a missing reference leaves the channel alone and is saved by name", kEach,
     checkMissingReferences},
    {"long-names", "names of 255 bytes survive, longer ones are cut to at most 255 bytes", kEach, checkLongNames},
    {"empty-names", "a modifier just applied, and empty names, reference nothing", kEach, checkEmptyNames},
    {"panel", "the panel's two popups list \"(none)\" and the objects or cameras in order", kEach, checkPanel},
    {"picks", "random panel picks take effect, hold through later evaluations and are saved", kEach, checkPicks},
    {"refresh", "set asks for a redraw after \"(none)\" and for none after an item", kEach, checkRefreshCodes},
    {"sub-frame-times", "evaluation at sub-frame times: right, finite, the same for swapped positions", kEach,
     checkSubFrameTimes},
    {"renumbering", "references follow items moved and deleted before them; a deleted one saves none", kEach,
     checkRenumbering},
    {"used-items", "useItems lists the items both references hold, and no other", kEach, checkUsedItems},
    {"renames", "a renamed reference keeps working and is saved by its new name", kEach, checkRenames},
};

// Kelto Focus's own, after the shared ones of each protocol.
const CheckDefinition kFocusChecks[] = {
    {"straight-line", "with no offsets and no lag the straight line is Kelto's distance to the bit, never below 0.001",
     kEach, checkFocusStraightLine},
    {"measure",
     "both measures with subject and focus offsets, at random places, orientations and scales, are the host's own",
     kEach, checkFocusMeasure},
    {"lag", "the lag's trapezoid mean is the host's, and the same bits in any order of evaluation", kEach,
     checkFocusLag},
    {"block-round-trip",
     "settings are saved in full and read back to the bit: load, save, load, save gives the same "
     "bytes",
     kEach, checkFocusBlockRoundTrip},
    {"later-versions", "lines a later version adds to the block are skipped and the settings after them read", kEach,
     checkFocusLaterVersions},
    {"refusals", "bad settings in the block are refused line by line, keeping the default, and the load succeeds",
     kEach, checkFocusRefusals},
    {"panel-settings", "the settings' controls store valid values, keep refused ones and make a negative lag 0", kEach,
     checkFocusPanelSettings},
    {"description-measure", "the description line is \"KELTO FOCUS\", three blanks and the measure in force", kEach,
     checkFocusDescriptionMeasure},
};

bool appliesUnder(CheckScope scope, const HostProtocol& protocol) {
    return scope == CheckScope::EachProtocol ||
           (scope == CheckScope::CurrentProtocol && &protocol == &kCurrentProtocol);
}

// The modifier's checks: the shared ones, then its own.
std::vector<CheckDefinition> definitionsOf(const ValidatedModifier& modifier) {
    std::vector<CheckDefinition> definitions(std::begin(kChecks), std::end(kChecks));
    if (&modifier == &kValidatedKeltoFocus)
        definitions.insert(definitions.end(), std::begin(kFocusChecks), std::end(kFocusChecks));
    return definitions;
}

void addChecksOf(const ValidatedModifier& modifier, std::vector<RegisteredCheck>& checks) {
    const std::vector<CheckDefinition> definitions = definitionsOf(modifier);
    const std::string prefix = modifier.idPrefix;
    for (const CheckDefinition& check : definitions)
        if (check.scope == CheckScope::Module || check.scope == CheckScope::ModuleFile)
            checks.push_back({prefix + "module/" + check.name, check.title, &modifier, nullptr,
                              check.scope == CheckScope::ModuleFile, check.run});
    for (const HostProtocol* protocol : {&kClassicProtocol, &kCurrentProtocol})
        for (const CheckDefinition& check : definitions)
            if (appliesUnder(check.scope, *protocol))
                checks.push_back(
                    {prefix + protocol->name + "/" + check.name, check.title, &modifier, protocol, false, check.run});
}

std::vector<RegisteredCheck> expanded() {
    std::vector<RegisteredCheck> checks;
    for (const ValidatedModifier* modifier : kValidatedModifiers) addChecksOf(*modifier, checks);
    return checks;
}

}  // namespace

const std::vector<RegisteredCheck>& registeredChecks() {
    static const std::vector<RegisteredCheck> checks = expanded();
    return checks;
}

std::vector<const RegisteredCheck*> checksOf(const ValidatedModifier& modifier) {
    std::vector<const RegisteredCheck*> checks;
    for (const RegisteredCheck& check : registeredChecks())
        if (check.modifier == &modifier) checks.push_back(&check);
    return checks;
}

const RegisteredCheck& modifierProbe() {
    static const RegisteredCheck probe = {
        "module/modifier",         "the module serves Kelto Focus", &kValidatedKeltoFocus, nullptr, false,
        checkServesKeltoFocusAlone};
    return probe;
}

const RegisteredCheck* findCheck(const std::string& id) {
    if (id == modifierProbe().id) return &modifierProbe();
    for (const RegisteredCheck& check : registeredChecks())
        if (check.id == id) return &check;
    return nullptr;
}

}  // namespace sim
