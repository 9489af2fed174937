#include "simhost/command/command_line.h"

#include <random>

#include "simhost/command/command_options.h"
#include "simhost/services/served_names.h"
#include "simhost/validate/conformance.h"

namespace sim {

namespace {

// Validate's usage, one line.
std::string validateUsage() {
    return "usage: kelto-host validate MODULE " + validateSynopsis() + " | kelto-host validate --list";
}

// What is wrong with a run's options taken together, or "".
std::string runCombinationProblem(const RunSettings& settings) {
    // --info runs no scene, so what a run would do would be silently lost.
    if (settings.infoOnly && !settings.firstSceneRunOption.empty())
        return "--info cannot go with " + settings.firstSceneRunOption + ": it runs no scene";
    // Nor would one that only a host of another kind serves.
    for (const std::string& withheld : settings.run.withheldServices)
        for (const ServedName& name : kServedNames)
            if (withheld == name.name && !servedBy(name, settings.run.host))
                return "--withhold \"" + withheld + "\": a classic host does not serve it (--host current does)";
    // Each compared run saves a block of its own: none of them is the scene's.
    if (!settings.compared.empty() && !settings.writeScenePath.empty()) return "--write-scene cannot go with --compare";
    return "";
}

}  // namespace

std::string commandHelp() {
    return "usage: kelto-host [MODULE] [options]\n"
           "       kelto-host validate MODULE " +
           validateSynopsis() +
           "\n"
           "                            check that MODULE keeps every promise of the modifier, each check\n"
           "                            in a process of its own\n"
           "       kelto-host validate --list   name every check\n"
           "  MODULE               module file to load (default: kelto.p beside kelto-host)\n" +
           optionsHelp();
}

std::string readRunCommand(const std::vector<std::string>& arguments, RunSettings& settings) {
    CommandSettings read;
    bool moduleGiven = false;
    std::string problem = readArguments(Command::Run, arguments, read, [&](const std::string& operand) {
        if (moduleGiven) return std::string("more than one module file given");
        if (operand.empty()) return std::string("the module file name is empty");
        read.run.modulePath = operand;
        moduleGiven = true;
        return std::string();
    });
    settings = read.run;
    return problem.empty() ? runCombinationProblem(settings) : problem;
}

std::string readValidateCommand(const std::vector<std::string>& arguments, ValidateSettings& settings) {
    CommandSettings read;
    std::string problem = readArguments(Command::Validate, arguments, read, [&read](const std::string& operand) {
        if (!read.validate.path.empty()) return validateUsage();
        read.validate.path = operand;
        return std::string();
    });
    settings = read.validate;
    if (problem.empty() && settings.path.empty() && !settings.list) problem = validateUsage();
    if (problem.empty()) problem = validateSettingsProblem(settings);
    if (!settings.seedGiven) settings.seed = std::random_device()();
    return problem;
}

int runValidateCommand(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err) {
    ValidateSettings settings;
    std::string problem = readValidateCommand(arguments, settings);
    if (!problem.empty()) {
        err << "kelto-host: " << problem << "\n";
        return 1;
    }
    return runValidation(settings, out, err);
}

}  // namespace sim
