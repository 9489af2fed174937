#include "simhost/command/command_options.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <set>

#include "simhost/modifiers/kelto_facts.h"
#include "simhost/modifiers/kelto_focus_facts.h"
#include "simhost/platform/crash_report.h"
#include "simhost/run/run_plot.h"
#include "simhost/services/panel_toolkit_model.h"

namespace sim {

namespace {

namespace focus = kelto_focus_facts;

// The help's columns: an option and its value, then what it does.
const size_t kHelpIndent = 2;
const size_t kHelpColumn = 23;
const size_t kLeastGap = 2;

const std::vector<CommandOption>& allOptions() {
    const std::string measure = std::string(focus::kMeasureLabel) + "=";
    static const std::vector<CommandOption> options = {
        {"--scene", Arity::Once, "FILE",
         "scene to run (default: the bundled demo scene): the simulated host's own\nscene file, or the host's "
         "(.lws: its first line LWSC)"},
        {"--channel", Arity::Once, "ITEM.CHANNEL",
         "in a host scene file, the channel to put the modifier on, e.g.\n--channel Camera.FocalDistance or "
         "--channel Ball.Position.X (default:\nthe channel whose envelope holds the module's block)"},
        {"--server", Arity::Once, "NAME",
         "the ChannelHandler server to run (default: the one the module offers),\ne.g. --server \"" +
             std::string(focus::kServerName) + "\""},
        {"--info", Arity::None, "", "only show the module's descriptor, servers and an instance"},
        {"--pick", Arity::Repeated, "LABEL=ENTRY",
         "pick a popup entry in the options panel before evaluating,\ne.g. --pick \"" +
             std::string(kelto_facts::kItemLabel) +
             "=Ball\" (may be repeated;\nthe entry must be among the popup's first " +
             std::to_string(PanelToolkitModel::kMaxPickEntries) + ")"},
        {"--set", Arity::Repeated, "LABEL=NUMBERS",
         "enter numbers in a field of the options panel, in turn with the picks,\ne.g. --set \"" +
             std::string(focus::kSubjectOffsetLabel) + "=0 0.25 0\" or --set \"" + focus::kLagLabel +
             "=0.5\" (may be repeated)"},
        {"--edit", Arity::Repeated, "EDIT",
         "delete, add or rename an item before evaluating a frame (may be repeated):\n\"delete NAME@FRAME\", "
         "\"add object NAME@FRAME\", \"add camera NAME@FRAME\",\n\"rename OLD=NEW@FRAME\"; made after the scene "
         "file's own edits"},
        {"--withhold", Arity::Repeated, "SERVICE", "run as a host that lacks SERVICE (may be repeated)"},
        {"--host", Arity::Once, "KIND",
         "the host to play: classic (version 4, the default) or current\n(a handler from version 5 downward, an "
         "interface from 1 upward,\nand the newer service names)"},
        {"--class-version", Arity::Once, "N", "activate the servers with version N alone"},
        {"--plot", Arity::Once, "FILE.svg", "write an SVG plot of the channel over the frames"},
        {"--compare", Arity::Repeated, "LABEL=ENTRY",
         "run the scene once for each (may be given up to " + std::to_string(kMostPlotSeries) +
             " times), picking ENTRY\nafter the other picks, and plot every run, a line each, e.g.\n--compare \"" +
             measure + focus::kMeasureEntries[focus::kStraightLine] + "\" --compare \"" + measure +
             focus::kMeasureEntries[focus::kAlongView] + "\""},
        {"--write-scene", Arity::Once, "FILE", "write the scene back with the block that save wrote"},
        {"--binary-save", Arity::None, "",
         "save in binary mode, as into an object file; --write-scene writes\nthe bytes in hex as a \"binary block\", "
         "which loads in binary mode"},
        {"--exact", Arity::None, "", "print values with 17 significant digits, to compare builds bit for bit"},
        {"--time-limit", Arity::Once, "S",
         "end the run with a failure once it has taken S seconds (1 to " + std::to_string(kMostTimeLimitSeconds) +
             ");\nwith validate, fail a check that has taken S seconds (the same range,\n" +
             std::to_string(kDefaultTimeLimitSeconds) + " by default)"},
        {"--seed", Arity::Once, "N",
         "with validate, the seed of the checks' random choices (0 to " + std::to_string(UINT32_MAX) +
             ";\ndefault: a random one, printed for a replay)"},
        {"--check", Arity::Once, "ID", "with validate, run the check of that ID alone"},
        {"--json", Arity::None, "",
         "with validate, write one JSON document of every check's verdict,\nreason and seed, and the totals, "
         "instead of the lines"},
        {"--in-this-process", Arity::None, "", "with validate, run every check in this process (for a debugger)"},
        // A check's own process is told where to write its verdict; no user gives it.
        {"--verdict-to", Arity::Once, "HANDLE:TOKEN", ""},
        {"--list", Arity::None, "", "with validate, name every check"},
        {"--help", Arity::None, "", "show this text"},
        {"-h", Arity::None, "", ""},
    };
    return options;
}

}  // namespace

const std::vector<std::string> kRunOptions = {
    "--help", "-h",        "--scene",       "--channel",     "--server", "--info",
    "--pick", "--set",     "--edit",        "--withhold",    "--host",   "--class-version",
    "--plot", "--compare", "--write-scene", "--binary-save", "--exact",  "--time-limit"};
const std::vector<std::string> kValidateOptions = {"--seed", "--check", "--time-limit", "--json", "--in-this-process"};

namespace {

// `text` as one whole number, without blanks or a "+"; false when it is
// none or lies outside the type's range.
template <typename Number>
bool readWhole(const std::string& text, Number& value, bool& outOfRange) {
    const char* end = text.data() + text.size();
    auto result = std::from_chars(text.data(), end, value);
    outOfRange = result.ec == std::errc::result_out_of_range;
    return !text.empty() && result.ptr == end && result.ec == std::errc();
}

}  // namespace

const CommandOption* findCommandOption(const std::string& name) {
    for (const CommandOption& option : allOptions())
        if (name == option.name) return &option;
    return nullptr;
}

std::string optionsHelp(const std::vector<std::string>& names) {
    std::string help;
    std::set<std::string> shown;
    for (const std::string& name : names) {
        const CommandOption* option = findCommandOption(name);
        if (option == nullptr || option->help.empty() || !shown.insert(name).second) continue;
        std::string left = std::string(kHelpIndent, ' ') + option->name + (*option->value ? " " : "") + option->value;
        help += left + std::string(left.size() + kLeastGap > kHelpColumn ? kLeastGap : kHelpColumn - left.size(), ' ');
        for (char c : option->help) help += c == '\n' ? "\n" + std::string(kHelpColumn, ' ') : std::string(1, c);
        help += "\n";
    }
    return help;
}

std::string optionsSynopsis(const std::vector<std::string>& names) {
    std::string synopsis;
    for (const std::string& name : names) {
        const CommandOption* option = findCommandOption(name);
        if (option == nullptr) continue;
        synopsis += std::string(synopsis.empty() ? "" : " ") + "[" + option->name + (*option->value ? " " : "") +
                    option->value + "]";
    }
    return synopsis;
}

std::string readArguments(const std::vector<std::string>& arguments, const std::vector<std::string>& taken,
                          const OptionAction& onOption, const OperandAction& onOperand) {
    std::set<std::string> given;  // options that may be given once
    for (size_t at = 0; at < arguments.size(); ++at) {
        const std::string& argument = arguments[at];
        bool isOption = argument.size() > 1 && argument[0] == '-';
        std::string problem;
        if (!isOption) problem = onOperand(argument);
        const CommandOption* option = isOption ? findCommandOption(argument) : nullptr;
        bool takes = option != nullptr && std::find(taken.begin(), taken.end(), argument) != taken.end();
        if (isOption && !takes) problem = "unknown option " + argument;
        if (isOption && takes && option->arity == Arity::Once && !given.insert(argument).second)
            problem = argument + " given more than once";
        if (!problem.empty()) return problem;
        if (!isOption) continue;
        std::string value;
        if (option->arity != Arity::None) {
            if (at + 1 >= arguments.size() || arguments[at + 1].rfind("--", 0) == 0) return argument + " needs a value";
            value = arguments[++at];
        }
        problem = onOption(*option, value);
        if (!problem.empty()) return problem;
    }
    return "";
}

std::string readTimeLimit(const std::string& option, const std::string& value, unsigned& seconds) {
    bool outOfRange;
    if (!readWhole(value, seconds, outOfRange) || seconds < 1 || seconds > kMostTimeLimitSeconds)
        return option + " takes a whole number of seconds from 1 to " + std::to_string(kMostTimeLimitSeconds);
    return "";
}

std::string readSeed(const std::string& option, const std::string& value, uint32_t& seed) {
    bool outOfRange;
    if (!readWhole(value, seed, outOfRange))
        return option + " takes a whole number from 0 to " + std::to_string(UINT32_MAX);
    return "";
}

std::string readClassVersion(const std::string& option, const std::string& value, int& version) {
    bool outOfRange;
    if (readWhole(value, version, outOfRange)) return version == 0 ? option + " takes a version other than 0" : "";
    if (outOfRange)
        return option + " takes a whole number from " + std::to_string(INT_MIN) + " to " + std::to_string(INT_MAX);
    return option + " takes a whole number";
}

}  // namespace sim
