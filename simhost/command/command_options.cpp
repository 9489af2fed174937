#include "simhost/command/command_options.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <set>

#include "simhost/command/option_setters.h"
#include "simhost/platform/time_limit_range.h"
#include "simhost/run/plot_series_limit.h"
#include "simhost/services/pick_search_limit.h"

namespace sim {

namespace {

namespace set = option_setters;

// The help's columns: an option and its value, then what it does.
const size_t kHelpIndent = 2;
const size_t kHelpColumn = 23;
const size_t kLeastGap = 2;

// Every option, in the order the help shows those a run takes and then
// validate's own; validate's usage line shows its options in this order too.
// The examples name the modifiers' labels and entries as a user types them.
// Read only once main has begun: its help is built as the program starts.
const CommandOption kOptions[] = {
    {"--help", Arity::None, "", "show this text", TakenBy::Run, Shown::Always, Scope::Any,
     set::runSwitch<&RunSettings::help>},
    {"-h", Arity::None, "", "", TakenBy::Run, Shown::Never, Scope::Any, set::runSwitch<&RunSettings::help>},
    {"--scene", Arity::Once, "FILE",
     "scene to run (default: the bundled demo scene): the simulated host's own\nscene file, or the host's "
     "(.lws: its first line LWSC)",
     TakenBy::Run, Shown::Always, Scope::SceneRun, set::fileName<&RunSettings::scenePath>},
    {"--channel", Arity::Once, "ITEM.CHANNEL",
     "in a host scene file, the channel to put the modifier on, e.g.\n--channel Camera.FocalDistance or "
     "--channel Ball.Position.X (default:\nthe channel whose envelope holds the module's block)",
     TakenBy::Run, Shown::Always, Scope::SceneRun, set::channel},
    {"--server", Arity::Once, "NAME",
     "the ChannelHandler server to run (default: the one the module offers),\ne.g. --server \"Kelto Focus\"",
     TakenBy::Run, Shown::Always, Scope::Any, set::server},
    {"--info", Arity::None, "", "only show the module's descriptor, servers and an instance", TakenBy::Run,
     Shown::Always, Scope::Any, set::runSwitch<&RunSettings::infoOnly>},
    {"--pick", Arity::Repeated, "LABEL=ENTRY",
     "pick a popup entry in the options panel before evaluating,\ne.g. --pick \"Reference Item=Ball\" (may be "
     "repeated;\nthe entry must be among the popup's first " +
         std::to_string(kMaxPickEntries) + ")",
     TakenBy::Run, Shown::Always, Scope::SceneRun, set::pick},
    {"--set", Arity::Repeated, "LABEL=NUMBERS",
     "enter numbers in a field of the options panel, in turn with the picks,\ne.g. --set \"Subject Offset=0 0.25 "
     "0\" or --set \"Lag=0.5\" (may be repeated)",
     TakenBy::Run, Shown::Always, Scope::SceneRun, set::numbers},
    {"--edit", Arity::Repeated, "EDIT",
     "delete, add or rename an item before evaluating a frame (may be repeated):\n\"delete NAME@FRAME\", "
     "\"add object NAME@FRAME\", \"add camera NAME@FRAME\",\n\"rename OLD=NEW@FRAME\"; made after the scene "
     "file's own edits",
     TakenBy::Run, Shown::Always, Scope::SceneRun, set::edit},
    {"--withhold", Arity::Repeated, "SERVICE", "run as a host that lacks SERVICE (may be repeated)", TakenBy::Run,
     Shown::Always, Scope::Any, set::withheld},
    {"--host", Arity::Once, "KIND",
     "the host to play: classic (version 4, the default) or current\n(a handler from version 5 downward, an "
     "interface from 1 upward,\nand the newer service names)",
     TakenBy::Run, Shown::Always, Scope::Any, set::hostKind},
    {"--class-version", Arity::Once, "N", "activate the servers with version N alone", TakenBy::Run, Shown::Always,
     Scope::Any, set::classVersion},
    {"--plot", Arity::Once, "FILE.svg", "write an SVG plot of the channel over the frames", TakenBy::Run, Shown::Always,
     Scope::SceneRun, set::fileName<&RunSettings::plotPath>},
    {"--compare", Arity::Repeated, "LABEL=ENTRY",
     "run the scene once for each (may be given up to " + std::to_string(kMostPlotSeries) +
         " times), picking ENTRY\nafter the other picks, and plot every run, a line each, e.g.\n--compare "
         "\"Measure=Straight line\" --compare \"Measure=Along view\"",
     TakenBy::Run, Shown::Always, Scope::SceneRun, set::compared},
    {"--write-scene", Arity::Once, "FILE", "write the scene back with the block that save wrote", TakenBy::Run,
     Shown::Always, Scope::SceneRun, set::fileName<&RunSettings::writeScenePath>},
    {"--binary-save", Arity::None, "",
     "save in binary mode, as into an object file; --write-scene writes\nthe bytes in hex as a \"binary block\", "
     "which loads in binary mode",
     TakenBy::Run, Shown::Always, Scope::SceneRun, set::binarySave},
    {"--exact", Arity::None, "", "print values with 17 significant digits, to compare builds bit for bit", TakenBy::Run,
     Shown::Always, Scope::SceneRun, set::runSwitch<&RunSettings::exact>},
    {"--seed", Arity::Once, "N",
     "with validate, the seed of the checks' random choices (0 to " + std::to_string(UINT32_MAX) +
         ";\ndefault: a random one, printed for a replay)",
     TakenBy::Validate, Shown::Always, Scope::Any, set::seed},
    {"--check", Arity::Once, "ID", "with validate, run the check of that ID alone", TakenBy::Validate, Shown::Always,
     Scope::Any, set::check},
    {"--time-limit", Arity::Once, "S",
     "end the run with a failure once it has taken S seconds (1 to " + std::to_string(kMostTimeLimitSeconds) +
         ");\nwith validate, fail a check that has taken S seconds (the same range,\n" +
         std::to_string(kDefaultTimeLimitSeconds) + " by default)",
     TakenBy::Both, Shown::Always, Scope::Any, set::timeLimit},
    {"--json", Arity::None, "",
     "with validate, write one JSON document of every check's verdict,\nreason and seed, and the totals, "
     "instead of the lines",
     TakenBy::Validate, Shown::Always, Scope::Any, set::validateSwitch<&ValidateSettings::json>},
    {"--in-this-process", Arity::None, "", "with validate, run every check in this process (for a debugger)",
     TakenBy::Validate, Shown::Always, Scope::Any, set::validateSwitch<&ValidateSettings::inThisProcess>},
    // A check's own process is told where to write its verdict; no user gives it.
    {"--verdict-to", Arity::Once, "HANDLE:TOKEN", "", TakenBy::Validate, Shown::Never, Scope::Any, set::verdictTo},
    {"--list", Arity::None, "", "with validate, name every check", TakenBy::Validate, Shown::HelpOnly, Scope::Any,
     set::validateSwitch<&ValidateSettings::list>},
};

bool takes(Command command, const CommandOption& option) {
    return option.takenBy == TakenBy::Both || (option.takenBy == TakenBy::Run) == (command == Command::Run);
}

// "--scene FILE", or "--info".
std::string withValue(const CommandOption& option) {
    return std::string(option.name) + (*option.value ? " " : "") + option.value;
}

// One option's lines of the help.
std::string helpLines(const CommandOption& option) {
    std::string left = std::string(kHelpIndent, ' ') + withValue(option);
    std::string lines =
        left + std::string(left.size() + kLeastGap > kHelpColumn ? kLeastGap : kHelpColumn - left.size(), ' ');
    for (char c : option.help) lines += c == '\n' ? "\n" + std::string(kHelpColumn, ' ') : std::string(1, c);
    return lines + "\n";
}

// What is wrong with an option as given, before its value is read, or "".
std::string givenProblem(Command command, const std::string& argument, const CommandOption* option,
                         std::set<std::string>& givenOnce) {
    if (option == nullptr || !takes(command, *option)) return "unknown option " + argument;
    if (option->arity == Arity::Once && !givenOnce.insert(argument).second) return argument + " given more than once";
    return "";
}

}  // namespace

const CommandOption* findCommandOption(const std::string& name) {
    for (const CommandOption& option : kOptions)
        if (name == option.name) return &option;
    return nullptr;
}

std::string optionsHelp() {
    std::string help;
    for (Command command : {Command::Run, Command::Validate})
        for (const CommandOption& option : kOptions) {
            bool own = command == Command::Run ? takes(Command::Run, option) : option.takenBy == TakenBy::Validate;
            if (own && option.shown != Shown::Never) help += helpLines(option);
        }
    return help;
}

std::string validateSynopsis() {
    std::string synopsis;
    for (const CommandOption& option : kOptions)
        if (takes(Command::Validate, option) && option.shown == Shown::Always)
            synopsis += std::string(synopsis.empty() ? "" : " ") + "[" + withValue(option) + "]";
    return synopsis;
}

std::string readArguments(Command command, const std::vector<std::string>& arguments, CommandSettings& settings,
                          const OperandAction& onOperand) {
    std::set<std::string> givenOnce;
    for (size_t at = 0; at < arguments.size(); ++at) {
        const std::string& argument = arguments[at];
        bool isOption = argument.size() > 1 && argument[0] == '-';
        const CommandOption* option = isOption ? findCommandOption(argument) : nullptr;
        std::string problem = isOption ? givenProblem(command, argument, option, givenOnce) : onOperand(argument);
        if (!problem.empty()) return problem;
        if (!isOption) continue;
        std::string value;
        if (option->arity != Arity::None) {
            if (at + 1 >= arguments.size() || arguments[at + 1].rfind("--", 0) == 0) return argument + " needs a value";
            value = arguments[++at];
        }
        if (option->scope == Scope::SceneRun && settings.run.firstSceneRunOption.empty())
            settings.run.firstSceneRunOption = option->name;
        problem = option->apply(argument, value, settings);
        if (!problem.empty()) return problem;
    }
    return "";
}

}  // namespace sim
