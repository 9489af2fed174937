#include <charconv>
#include <cstdint>
#include <random>

#include "simhost/platform/crash_report.h"
#include "simhost/text/printable_text.h"
#include "simhost/validate/check_line.h"
#include "simhost/validate/check_process.h"
#include "simhost/validate/check_registry.h"
#include "simhost/validate/check_runner.h"
#include "simhost/validate/conformance.h"

namespace sim {

const char kValidateUsage[] =
    "usage: kelto-host validate MODULE [--seed N] [--check ID] [--time-limit S] [--in-this-process] "
    "| kelto-host validate --list";

namespace {

struct ValidateOptions {
    std::string path;
    uint32_t seed = 0;
    bool seedGiven = false;
    std::string checkId;
    bool checkGiven = false;
    uint32_t timeLimit = kDefaultTimeLimitSeconds;
    bool timeLimitGiven = false;
    bool list = false;
    bool inThisProcess = false;
};

// `text` as a whole number from `least` to `most`, digits alone; false when it is none.
bool readNumber(const std::string& text, uint32_t least, uint32_t most, uint32_t& value) {
    auto parsed = std::from_chars(text.data(), text.data() + text.size(), value);
    return !text.empty() && parsed.ec == std::errc() && parsed.ptr == text.data() + text.size() && value >= least &&
           value <= most;
}

// Applies the option at `arguments[at]`, moving past its value; "" or what is wrong.
std::string applyOption(const std::vector<std::string>& arguments, size_t& at, ValidateOptions& options) {
    const std::string& option = arguments[at];
    if (option == "--list" || option == "--in-this-process") {
        bool& flag = option == "--list" ? options.list : options.inThisProcess;
        if (flag) return option + " may be given once";
        flag = true;
        return "";
    }
    bool takesValue = option == "--seed" || option == "--check" || option == "--time-limit";
    if (!takesValue) return kValidateUsage;
    const std::string value = at + 1 < arguments.size() ? arguments[++at] : "";
    if (option == "--seed") {
        if (options.seedGiven) return "--seed may be given once";
        options.seedGiven = true;
        if (!readNumber(value, 0, UINT32_MAX, options.seed))
            return "--seed takes a whole number from 0 to " + std::to_string(UINT32_MAX);
    } else if (option == "--time-limit") {
        if (options.timeLimitGiven) return "--time-limit may be given once";
        options.timeLimitGiven = true;
        if (!readNumber(value, 1, kMostTimeLimitSeconds, options.timeLimit))
            return "--time-limit takes a whole number of seconds from 1 to " + std::to_string(kMostTimeLimitSeconds);
    } else {
        if (options.checkGiven) return "--check may be given once";
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
    for (size_t at = 0; at < arguments.size(); ++at) {
        if (arguments[at].rfind("--", 0) != 0) {
            if (!options.path.empty()) return kValidateUsage;
            options.path = arguments[at];
            continue;
        }
        std::string problem = applyOption(arguments, at, options);
        if (!problem.empty()) return problem;
    }
    if (options.path.empty() && !options.list) return kValidateUsage;
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
