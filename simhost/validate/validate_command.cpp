#include <cstdint>
#include <cstring>
#include <random>

#include "simhost/platform/crash_report.h"
#include "simhost/text/printable_text.h"
#include "simhost/validate/check_process.h"
#include "simhost/validate/check_registry.h"
#include "simhost/validate/check_runner.h"
#include "simhost/validate/conformance.h"
#include "simhost/validate/validate_report.h"
#include "simhost/validate/verdict_channel.h"

namespace sim {

namespace {

const char kVerdictToOption[] = "--verdict-to";

// The check asked for, or null: one of those listed, or in a check's own
// process one of the questions asked there (check_registry.h).
const RegisteredCheck* askedCheck(const ValidateSettings& options) {
    const RegisteredCheck* probe = options.inThisProcess ? findProbe(options.checkId) : nullptr;
    return probe != nullptr ? probe : findCheck(options.checkId);
}

// The check's outcome, in this process or one of its own as asked.
CheckOutcome outcomeOf(const RegisteredCheck& check, const ValidateSettings& options) {
    return options.inThisProcess ? runCheckHere(check, options.path, options.seed)
                                 : runCheckInOwnProcess(check, options.path, options.seed, int(options.timeLimit));
}

bool answersYes(const RegisteredCheck& probe, const ValidateSettings& options) {
    return outcomeOf(probe, options).verdict == Verdict::Pass;
}

// The modifier the module serves: Kelto unless it serves Kelto Focus alone.
const ValidatedModifier& servedModifier(const ValidateSettings& options) {
    return answersYes(modifierProbe(), options) ? kValidatedKeltoFocus : kValidatedKelto;
}

// A check of one modifier's asked of a module that serves the other would
// pass or skip having held it to nothing: the one line refusing it, naming
// the other's check of the same where it has one, or "". A module that
// serves neither is held to the check asked, which tells why.
std::string wrongModifierRefusal(const ValidateSettings& options, const RegisteredCheck& asked) {
    const bool keltos = asked.modifier == &kValidatedKelto;
    const bool servesFocus = answersYes(modifierProbe(), options);
    if (keltos != servesFocus || (!keltos && !answersYes(keltoProbe(), options))) return "";
    const ValidatedModifier& served = keltos ? kValidatedKeltoFocus : kValidatedKelto;
    const std::string own =
        keltos ? served.idPrefix + asked.id : asked.id.substr(std::strlen(asked.modifier->idPrefix));
    std::string refusal = printableText(options.path) + " serves " + served.name + ", and " + asked.id + " is " +
                          asked.modifier->name + "'s check: ";
    if (findCheck(own) == nullptr) return refusal + served.name + " has none like it (see --list)";
    return refusal + "its own is " + own;
}

// The modifier whose checks run: the one of the check asked for, else the
// one the module serves; null, and `refusal` says why, for a check of the
// modifier the module does not serve.
const ValidatedModifier* modifierToValidate(const ValidateSettings& options, std::string& refusal) {
    if (options.checkId.empty()) return &servedModifier(options);
    const RegisteredCheck& asked = *askedCheck(options);
    if (findCheck(asked.id) != nullptr) refusal = wrongModifierRefusal(options, asked);
    return refusal.empty() ? asked.modifier : nullptr;
}

int listChecks(std::ostream& out) {
    for (const RegisteredCheck& check : registeredChecks()) out << check.id << "  " << check.title << "\n";
    out.flush();
    return 0;
}

// A check's own process: runs the check and writes its verdict to the
// channel its parent gave, once the check has returned.
int giveVerdict(const ValidateSettings& options, std::ostream& err) {
    keepFromChildProcesses(options.verdictChannel);
    CheckOutcome outcome = runCheckHere(*askedCheck(options), options.path, options.seed);
    std::string problem = writeVerdict(options.verdictChannel, outcome);
    if (problem.empty()) return kVerdictGivenExitCode;
    err << "kelto-host: " << problem << std::endl;
    return 1;
}

int runChecks(const ValidateSettings& options, const ValidatedModifier& modifier, std::ostream& out) {
    std::unique_ptr<ValidateReport> report = options.json ? jsonReport(out) : humanReport(out);
    report->begin(options.path, modifier, options.seed);
    VerdictCounts counts;
    const std::vector<const RegisteredCheck*> checks =
        options.checkId.empty() ? checksOf(modifier) : std::vector<const RegisteredCheck*>{askedCheck(options)};
    for (const RegisteredCheck* check : checks) {
        CheckOutcome outcome = outcomeOf(*check, options);
        counts.count(outcome.verdict);
        report->check(*check, outcome, options.seed);
    }
    report->end(counts);
    return counts[Verdict::Fail] == 0 ? 0 : 1;
}

}  // namespace

std::string validateSettingsProblem(const ValidateSettings& options) {
    if (options.checkGiven && askedCheck(options) == nullptr)
        return "no check has the ID \"" + printableText(options.checkId) + "\" (see --list)";
    if (options.verdictGiven && !(options.checkGiven && options.inThisProcess))
        return std::string(kVerdictToOption) + " is for a check's own process, with --check and --in-this-process";
    return "";
}

int runValidation(const ValidateSettings& options, std::ostream& out, std::ostream& err) {
    std::string problem;
    const ValidatedModifier* modifier = nullptr;
    if (!options.list && !options.verdictGiven) modifier = modifierToValidate(options, problem);
    if (!problem.empty()) {
        err << "kelto-host: " << problem << "\n";
        return 1;
    }
    if (options.list) return listChecks(out);
    // A module that ends this process is named, as in a run, not taken for the check's end.
    if (options.inThisProcess) reportEarlyEnds();
    if (options.verdictGiven) return giveVerdict(options, err);
    return runChecks(options, *modifier, out);
}

}  // namespace sim
