#include "simhost/validate/check_registry.h"

namespace sim {

const char kDescriptorCheckId[] = "module/descriptor";

std::string descriptorCheckIdOf(const ValidatedModifier& modifier) {
    return modifier.idPrefix + std::string(kDescriptorCheckId);
}

namespace {

// Every modifier's, the module's own first; then Kelto Focus's own, after
// the shared ones of each protocol. The order is the order they run in.
const CheckTable* const kSharedTables[] = {&kModuleChecks, &kActivationChecks, &kInstanceChecks,   &kBlockChecks,
                                           &kNameChecks,   &kPanelChecks,      &kEvaluationChecks, &kHierarchyChecks,
                                           &kItemChecks,   &kCallChecks};
const CheckTable* const kFocusTables[] = {&kFocusValueChecks, &kFocusHierarchyChecks, &kFocusBlockChecks,
                                          &kFocusPanelChecks};

void addDefinitions(const CheckTable& table, std::vector<CheckDefinition>& definitions) {
    definitions.insert(definitions.end(), table.definitions, table.definitions + table.count);
}

bool appliesUnder(CheckScope scope, const HostProtocol& protocol) {
    return scope == CheckScope::EachProtocol ||
           (scope == CheckScope::CurrentProtocol && &protocol == &kCurrentProtocol);
}

// The modifier's checks: the shared ones, then its own.
std::vector<CheckDefinition> definitionsOf(const ValidatedModifier& modifier) {
    std::vector<CheckDefinition> definitions;
    for (const CheckTable* table : kSharedTables) addDefinitions(*table, definitions);
    if (&modifier == &kValidatedKeltoFocus)
        for (const CheckTable* table : kFocusTables) addDefinitions(*table, definitions);
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

namespace {

// The runner skips a check of Kelto's for a module that does not load or
// lacks Kelto's servers; this one asks nothing more.
void checkNothingMore(CheckContext&) {}

}  // namespace

const RegisteredCheck& keltoProbe() {
    static const RegisteredCheck probe = {
        "module/serves-kelto", "the module serves Kelto", &kValidatedKelto, nullptr, false, checkNothingMore};
    return probe;
}

const RegisteredCheck* findProbe(const std::string& id) {
    for (const RegisteredCheck* probe : {&modifierProbe(), &keltoProbe()})
        if (probe->id == id) return probe;
    return nullptr;
}

const RegisteredCheck* findCheck(const std::string& id) {
    for (const RegisteredCheck& check : registeredChecks())
        if (check.id == id) return &check;
    return nullptr;
}

}  // namespace sim
