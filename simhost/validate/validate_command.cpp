#include <cstdint>
#include <random>

#include "simhost/command/command_options.h"
#include "simhost/text/printable_text.h"
#include "simhost/validate/check_line.h"
#include "simhost/validate/check_process.h"
#include "simhost/validate/check_registry.h"
#include "simhost/validate/check_runner.h"
#include "simhost/validate/conformance.h"

namespace sim {

namespace {

// The command's usage, one line.
std::string validateUsage() {
    return "usage: kelto-host validate MODULE " + optionsSynopsis(kValidateOptions) + " | kelto-host validate --list";
}

struct ValidateOptions {
    std::string path;
    uint32_t seed = 0;
    bool seedGiven = false;
    std::string checkId;
    bool checkGiven = false;
    unsigned timeLimit = kDefaultTimeLimitSeconds;
    bool list = false;
    bool inThisProcess = false;
};

// Applies an option the shared table has read; "" or what is wrong.
std::string applyOption(const CommandOption& option, const std::string& value, ValidateOptions& options) {
    const std::string name = option.name;
    if (name == "--list")
        options.list = true;
    else if (name == "--in-this-process")
        options.inThisProcess = true;
    else if (name == "--time-limit")
        return readTimeLimit(name, value, options.timeLimit);
    else if (name == "--seed") {
        options.seedGiven = true;
        return readSeed(name, value, options.seed);
    } else {
        options.checkGiven = true;
        options.checkId = value;
    }
    return "";
}

// The check asked for, or null: one of those listed, or the question which
// modifier the module serves when asked in a check's own process, as
// check_process_windows.cpp asks it.
const RegisteredCheck* askedCheck(const ValidateOptions& options) {
    if (options.inThisProcess && options.checkId == modifierProbe().id) return &modifierProbe();
    return findCheck(options.checkId);
}

// The options from the arguments; "" or one line saying what is wrong.
std::string readOptions(const std::vector<std::string>& arguments, ValidateOptions& options) {
    std::vector<std::string> taken = kValidateOptions;
    taken.push_back("--list");
    std::string problem = readArguments(
        arguments, taken,
        [&options](const CommandOption& option, const std::string& value) {
            return applyOption(option, value, options);
        },
        [&options](const std::string& operand) {
            if (!options.path.empty()) return validateUsage();
            options.path = operand;
            return std::string();
        });
    if (!problem.empty()) return problem;
    if (options.path.empty() && !options.list) return validateUsage();
    if (options.checkGiven && askedCheck(options) == nullptr)
        return "no check has the ID \"" + printableText(options.checkId) + "\" (see --list)";
    if (!options.seedGiven) options.seed = std::random_device()();
    return "";
}

// The modifier the module serves: Kelto unless it serves Kelto Focus alone.
const ValidatedModifier& servedModifier(const ValidateOptions& options) {
    const RegisteredCheck& probe = modifierProbe();
    CheckOutcome served = options.inThisProcess
                              ? runCheckHere(probe, options.path, options.seed)
                              : runCheckInOwnProcess(probe, options.path, options.seed, int(options.timeLimit));
    return served.verdict == Verdict::Pass ? kValidatedKeltoFocus : kValidatedKelto;
}

// The modifier whose checks run: the one of the check asked for, else the
// one the module serves. A check of Kelto's asked of a module that serves
// Kelto Focus would pass or skip having held it to nothing: that is refused,
// naming Kelto Focus's check of the same, which every check of Kelto's has.
const ValidatedModifier* modifierToValidate(const ValidateOptions& options, std::string& refusal) {
    if (options.checkId.empty()) return &servedModifier(options);
    const ValidatedModifier* asked = askedCheck(options)->modifier;
    if (asked != &kValidatedKelto || &servedModifier(options) == asked) return asked;
    const std::string meant = kValidatedKeltoFocus.idPrefix + options.checkId;
    refusal = printableText(options.path) + " serves " + kValidatedKeltoFocus.name + ", and " + options.checkId +
              " is " + kValidatedKelto.name + "'s check: its own is " + meant;
    return nullptr;
}

int listChecks(std::ostream& out) {
    for (const RegisteredCheck& check : registeredChecks()) out << check.id << "  " << check.title << "\n";
    out.flush();
    return 0;
}

}  // namespace

int runValidateCommand(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err) {
    ValidateOptions options;
    std::string problem = readOptions(arguments, options);
    if (!problem.empty()) {
        err << "kelto-host: " << problem << "\n";
        return 1;
    }
    if (options.list) return listChecks(out);
    const ValidatedModifier* chosen = modifierToValidate(options, problem);
    if (chosen == nullptr) {
        err << "kelto-host: " << problem << "\n";
        return 1;
    }
    const ValidatedModifier& modifier = *chosen;
    out << "Validating  " << printableText(options.path);
    if (&modifier != &kValidatedKelto) out << " as " << modifier.name;
    out << " with seed " << options.seed << " (replay with --seed " << options.seed << ")" << std::endl;
    int counts[3] = {0, 0, 0};  // by Verdict
    const std::vector<const RegisteredCheck*> checks =
        options.checkId.empty() ? checksOf(modifier) : std::vector<const RegisteredCheck*>{askedCheck(options)};
    for (const RegisteredCheck* each : checks) {
        const RegisteredCheck& check = *each;
        CheckOutcome outcome = options.inThisProcess
                                   ? runCheckHere(check, options.path, options.seed)
                                   : runCheckInOwnProcess(check, options.path, options.seed, int(options.timeLimit));
        ++counts[int(outcome.verdict)];
        out << checkLine(check, outcome) << std::endl;
    }
    out << counts[int(Verdict::Pass)] << " passed, " << counts[int(Verdict::Fail)] << " failed, "
        << counts[int(Verdict::Skip)] << " skipped" << std::endl;
    return counts[int(Verdict::Fail)] == 0 ? 0 : 1;
}

}  // namespace sim
