// kelto-host: the simulated host's command line. Loads a module file as the
// host does and runs a scene through it (with no arguments, the demo scene),
// or checks a module's conformance ("validate").
#if defined(_WIN32)
#include <windows.h>
#else
#include <unistd.h>
#endif

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <iostream>
#include <new>
#include <sstream>
#include <string>
#include <vector>

#include "host/channel_handler.h"
#include "simhost/command/command_options.h"
#include "simhost/platform/crash_report.h"
#include "simhost/platform/file_system.h"
#include "simhost/run/host_channel.h"
#include "simhost/run/module_report.h"
#include "simhost/run/run_files.h"
#include "simhost/run/run_plot.h"
#include "simhost/run/scene_run.h"
#include "simhost/scene/host_scene_file.h"
#include "simhost/scene/item_hierarchy.h"
#include "simhost/scene/scene_edit_text.h"
#include "simhost/scene/scene_file.h"
#include "simhost/services/host_session.h"
#include "simhost/services/module_loader.h"
#include "simhost/services/served_names.h"
#include "simhost/services/server_bindings.h"
#include "simhost/text/printable_text.h"
#include "simhost/validate/conformance.h"

namespace {

const char kValidateCommand[] = "validate";

// Every option once: a run's, then validate's own.
std::vector<std::string> everyOption() {
    std::vector<std::string> names = sim::kRunOptions;
    names.insert(names.end(), sim::kValidateOptions.begin(), sim::kValidateOptions.end());
    names.push_back("--list");
    return names;
}

// Built when asked for: the option lists are other files' statics.
std::string usage() {
    return "usage: kelto-host [MODULE] [options]\n"
           "       kelto-host validate MODULE " +
           sim::optionsSynopsis(sim::kValidateOptions) +
           "\n"
           "                            check that MODULE keeps every promise of the modifier, each check\n"
           "                            in a process of its own\n"
           "       kelto-host validate --list   name every check\n"
           "  MODULE               module file to load (default: kelto.p beside kelto-host)\n" +
           sim::optionsHelp(everyOption());
}

const char kOutOfMemory[] = "out of memory";

const char kHostClassic[] = "classic";
const char kHostCurrent[] = "current";

struct CommandLine {
    std::string modulePath;
    std::string scenePath = KELTO_EXAMPLES_DIR "/demo.scene";
    bool infoOnly = false;
    bool exact = false;
    std::string plotPath;
    std::string writeScenePath;
    std::string channel;  // in a host scene file, the channel the options name
    sim::RunOptions run;
    std::vector<sim::PanelPick> compared;  // a run for each, the pick made last
    unsigned timeLimitSeconds = 0;         // none
    bool help = false;
    std::string firstSceneRunOption;  // the first option given that acts on a scene run
    std::string error;
};

std::string besideThisProgram(const std::string& file) {
#if defined(_WIN32)
    char path[MAX_PATH];
    DWORD length = ::GetModuleFileNameA(nullptr, path, sizeof path);
    if (length == 0 || length >= sizeof path) return file;
    std::string self(path, length);
    return self.substr(0, self.find_last_of("\\/") + 1) + file;
#else
    char path[PATH_MAX];
    ssize_t length = ::readlink("/proc/self/exe", path, sizeof path - 1);
    if (length <= 0) return file;
    std::string self(path, static_cast<size_t>(length));
    return self.substr(0, self.rfind('/') + 1) + file;
#endif
}

// An option's effect on the command line: "" or one line saying what is
// wrong with `value` (empty for a switch).
typedef std::string (*ApplyOption)(const std::string& option, const std::string& value, CommandLine& line);

// Whether an option acts on a scene run, which --info makes none.
enum class Scope {
    Any,
    SceneRun,
};

struct RunOption {
    const char* name;
    ApplyOption apply;
    Scope scope;
};

template <bool CommandLine::*Field>
std::string setSwitch(const std::string&, const std::string&, CommandLine& line) {
    line.*Field = true;
    return "";
}

template <std::string CommandLine::*Field>
std::string setFileName(const std::string& option, const std::string& value, CommandLine& line) {
    if (value.empty()) return option + " needs a file name";
    line.*Field = value;
    return "";
}

std::string setClassVersion(const std::string& option, const std::string& value, CommandLine& line) {
    return sim::readClassVersion(option, value, line.run.forcedVersion);
}

std::string setTimeLimit(const std::string& option, const std::string& value, CommandLine& line) {
    return sim::readTimeLimit(option, value, line.timeLimitSeconds);
}

std::string setHost(const std::string& option, const std::string& value, CommandLine& line) {
    if (value == kHostClassic)
        line.run.host = sim::HostKind::Classic;
    else if (value == kHostCurrent)
        line.run.host = sim::HostKind::Current;
    else
        return option + " takes " + kHostClassic + " or " + kHostCurrent;
    return "";
}

// A name no host serves would be withheld from no one: taken, it would
// change nothing and say so nowhere.
std::string addWithheld(const std::string& option, const std::string& value, CommandLine& line) {
    if (value.empty()) return option + " needs a service name";
    bool served = false;
    for (const sim::ServedName& name : sim::kServedNames) served = served || value == name.name;
    if (!served) return option + " \"" + value + "\": no host serves a service of that name";
    line.run.withheldServices.push_back(value);
    return "";
}

// A pick of a popup entry, or with `Numbers` numbers entered in a field.
template <bool Numbers>
std::string addPick(const std::string& option, const std::string& value, CommandLine& line) {
    size_t equals = value.find('=');
    if (equals == std::string::npos || equals == 0)
        return option + (Numbers ? " takes LABEL=NUMBERS with a label" : " takes LABEL=ENTRY with a label");
    line.run.picks.push_back({value.substr(0, equals), value.substr(equals + 1), Numbers});
    return "";
}

std::string addCompared(const std::string& option, const std::string& value, CommandLine& line) {
    size_t equals = value.find('=');
    if (equals == std::string::npos || equals == 0) return option + " takes LABEL=ENTRY with a label";
    if (line.compared.size() == sim::kMostPlotSeries)
        return option + " may be given at most " + std::to_string(sim::kMostPlotSeries) + " times";
    line.compared.push_back({value.substr(0, equals), value.substr(equals + 1)});
    return "";
}

std::string setServer(const std::string& option, const std::string& value, CommandLine& line) {
    if (value.empty()) return option + " needs a server name";
    line.run.serverName = value;
    return "";
}

std::string setChannel(const std::string& option, const std::string& value, CommandLine& line) {
    if (value.empty()) return option + " needs ITEM.CHANNEL";
    line.channel = value;
    return "";
}

std::string setBinarySave(const std::string&, const std::string&, CommandLine& line) {
    line.run.binarySave = true;
    return "";
}

std::string addEdit(const std::string& option, const std::string& value, CommandLine& line) {
    sim::SceneEdit edit;
    std::string problem;
    if (!sim::parseSceneEdit(value, edit, problem)) return option + ": " + problem;
    line.run.edits.push_back(edit);
    return "";
}

// What each option of a run does; what it takes is the shared table's.
const RunOption kRunActions[] = {
    {"--help", setSwitch<&CommandLine::help>, Scope::Any},
    {"-h", setSwitch<&CommandLine::help>, Scope::Any},
    {"--info", setSwitch<&CommandLine::infoOnly>, Scope::Any},
    {"--exact", setSwitch<&CommandLine::exact>, Scope::SceneRun},
    {"--scene", setFileName<&CommandLine::scenePath>, Scope::SceneRun},
    {"--channel", setChannel, Scope::SceneRun},
    {"--plot", setFileName<&CommandLine::plotPath>, Scope::SceneRun},
    {"--write-scene", setFileName<&CommandLine::writeScenePath>, Scope::SceneRun},
    {"--binary-save", setBinarySave, Scope::SceneRun},
    {"--class-version", setClassVersion, Scope::Any},
    {"--host", setHost, Scope::Any},
    {"--time-limit", setTimeLimit, Scope::Any},
    {"--withhold", addWithheld, Scope::Any},
    {"--server", setServer, Scope::Any},
    {"--pick", addPick<false>, Scope::SceneRun},
    {"--set", addPick<true>, Scope::SceneRun},
    {"--compare", addCompared, Scope::SceneRun},
    {"--edit", addEdit, Scope::SceneRun},
};

// Applies an option the shared table has read; "" or one line saying what is wrong.
std::string applyOption(const sim::CommandOption& option, const std::string& value, CommandLine& line) {
    const std::string name = option.name;
    for (const RunOption& action : kRunActions) {
        if (name != action.name) continue;
        if (action.scope == Scope::SceneRun && line.firstSceneRunOption.empty()) line.firstSceneRunOption = name;
        return action.apply(name, value, line);
    }
    return "unknown option " + name;
}

CommandLine parseCommandLine(int argc, char** argv) {
    CommandLine line;
    bool moduleGiven = false;
    line.error = sim::readArguments(
        std::vector<std::string>(argv + 1, argv + argc), sim::kRunOptions,
        [&line](const sim::CommandOption& option, const std::string& value) {
            return applyOption(option, value, line);
        },
        [&](const std::string& operand) -> std::string {
            if (moduleGiven) return "more than one module file given";
            if (operand.empty()) return "the module file name is empty";
            line.modulePath = operand;
            moduleGiven = true;
            return "";
        });
    if (!moduleGiven) line.modulePath = besideThisProgram("kelto.p");
    // --info runs no scene, so what a run would do would be silently lost.
    if (line.error.empty() && line.infoOnly && !line.firstSceneRunOption.empty())
        line.error = "--info cannot go with " + line.firstSceneRunOption + ": it runs no scene";
    // Nor would one that only a host of another kind serves.
    for (const std::string& withheld : line.run.withheldServices)
        for (const sim::ServedName& name : sim::kServedNames)
            if (line.error.empty() && withheld == name.name && !sim::servedBy(name, line.run.host))
                line.error = "--withhold \"" + withheld + "\": a classic host does not serve it (--host current does)";
    // Each compared run saves a block of its own: none of them is the scene's.
    if (line.error.empty() && !line.compared.empty() && !line.writeScenePath.empty())
        line.error = "--write-scene cannot go with --compare";
    return line;
}

// Everything shown passes here: names from the scene and the module may hold
// bytes that would work the terminal. It goes out at once, so that what a
// run showed is not lost with it.
void show(const std::string& text) { std::cout << sim::printableLines(text) << std::flush; }

// One line, whatever the message holds.
int fail(const std::string& message) {
    std::cerr << "kelto-host: " << sim::printableText(message) << "\n";
    return 1;
}

// Binds the handler over an empty scene and describes one new instance.
int showInstance(const sim::LoadedModule& module, const sim::RunOptions& options) {
    sim::Scene scene;
    sim::HostSession session(scene);
    sim::prepareSession(session, options);
    sim::HandlerBinding handler;
    std::string error;
    host::InstanceHandle instance = sim::startModifier(module, options, handler, show, error);
    if (instance == nullptr) return fail(error);
    show(sim::instanceLine(handler, instance));
    sim::ModuleCallMark mark("destroy");
    handler.destroy(instance);
    return 0;
}

// Runs `scene` through the module with `options` and shows it. 0 when the
// run succeeded; else its failure's status.
int showRun(const sim::LoadedModule& module, const CommandLine& line, const sim::RunOptions& options, sim::Scene& scene,
            sim::RunReport& report) {
    sim::FrameTableWriter table(std::cout, scene, line.exact);
    report = sim::runScene(module, scene, options, show, [&table](const sim::FrameValue& row) { table.write(row); });
    if (!report.error.empty()) return fail(report.error);
    std::cout << "\n";
    sim::writeSavedBlock(std::cout, report);
    for (const std::string& violation : report.violations)
        show("Host check  " + sim::shownText(violation, sim::kShownLineBytes) + "\n");
    for (const std::string& promise : report.brokenPromises)
        show("Promise     " + sim::shownText(promise, sim::kShownLineBytes) + "\n");
    // A save the module says failed is neither written nor a success.
    if (!report.saveError.empty()) return fail("the module's save failed: " + sim::shownText(report.saveError));
    if (!report.violations.empty())
        return fail(std::to_string(report.violations.size()) + " host check" +
                    (report.violations.size() == 1 ? "" : "s") + " failed: calls the module should not make");
    if (!report.brokenPromises.empty())
        return fail(std::to_string(report.brokenPromises.size()) + " promise" +
                    (report.brokenPromises.size() == 1 ? "" : "s") + " of the modifier broken");
    return 0;
}

// Runs the scene once for each compared pick, made after the others, and
// plots every run, a line each named by its setting ("Measure=Along view").
int showComparedRuns(const sim::LoadedModule& module, const CommandLine& line, const sim::Scene& scene,
                     std::vector<sim::RunOutput>& outputs) {
    std::vector<sim::RunReport> reports(line.compared.size());
    std::vector<sim::PlotSeries> series;
    for (size_t n = 0; n < line.compared.size(); ++n) {
        const sim::PanelPick& compared = line.compared[n];
        show("\nRun         " + sim::shownText(compared.label) + " = " + sim::shownText(compared.entry) + "\n");
        sim::RunOptions options = line.run;
        options.picks.push_back(compared);
        if (n == 0) options.laterPicks.assign(line.compared.begin() + 1, line.compared.end());
        sim::Scene copy = scene;  // a run makes the scene's edits
        if (int status = showRun(module, line, options, copy, reports[n])) return status;
        series.push_back({compared.label + "=" + compared.entry, &reports[n]});
    }
    if (!line.plotPath.empty()) outputs.push_back({line.plotPath, sim::plotSvg(scene, series)});
    return 0;
}

// Before a host scene file's run: the channel it runs on, and what of the
// scene the simulated host cannot compute as the host would, a line each.
// "" or one line saying why the run cannot be made.
std::string prepareHostScene(const sim::LoadedModule& module, const CommandLine& line, sim::Scene& scene,
                             sim::RunOptions& options, sim::SceneChannel& channel) {
    if (!scene.hostText) return line.channel.empty() ? "" : "--channel is for the host's scene files (.lws)";
    if (options.binarySave) return "--binary-save cannot go with a host scene file: the host saves scenes as text";
    if (!line.writeScenePath.empty() && !(options.edits.empty() && scene.edits.empty()))
        return "--write-scene cannot go with --edit on a host scene file";
    std::vector<std::string> servers;
    for (const sim::ServerEntry& server : module.servers())
        if (server.className == HOST_CHANNEL_HANDLER_CLASS) servers.push_back(server.serverName);
    std::string error;
    if (!sim::chooseHostChannel(scene, line.channel, servers, options.serverName, channel, error)) return error;
    if (sim::motionChannelNamed(channel.channel) < sim::kMotionChannels)
        show("Unmodelled  " + sim::shownText(scene.channelName) +
             ": the modifier's own channel; item info answers from its keys\n");
    for (const sim::SceneItem* item : sim::itemsOf(scene))
        for (const std::string& feature : item->unmodelled)
            show("Unmodelled  " + sim::shownText(item->name) + ": " + sim::shownText(feature) +
                 "; it moves by its keys alone here\n");
    return "";
}

// The scene as its format writes it with the block that save wrote; "" with
// `problem` set when it cannot be written.
std::string writtenScene(const sim::LoadedModule& module, const sim::RunOptions& options, sim::Scene& scene,
                         const sim::SceneChannel& channel, const sim::RunReport& report, std::string& problem) {
    if (scene.hostText) {
        std::string server = sim::chosenServer(module, options, problem);
        return server.empty() ? ""
                              : sim::formatHostScene(scene, channel.item, channel.channel, server,
                                                     sim::linesOf(report.saved), problem);
    }
    scene.binaryBlock = report.binarySave;
    scene.modifierBlock = report.binarySave ? sim::hexLinesOf(report.savedBytes) : sim::linesOf(report.saved);
    problem = sim::sceneTextProblem(scene);
    return problem.empty() ? sim::formatScene(scene) : "";
}

// Runs the scene through the module and shows it. 0, with `outputs` holding
// the files to write, when the run succeeded; else its failure's status.
int showSceneRun(const sim::LoadedModule& module, const CommandLine& line, sim::Scene& scene,
                 std::vector<sim::RunOutput>& outputs) {
    // One line, shown whole at once: a crash in the module's first call
    // would lose what was left in the buffer.
    std::ostringstream rate;
    rate << scene.framesPerSecond;
    show("Scene       " + sim::printableText(line.scenePath) + ": " + std::to_string(scene.objects.size()) +
         " objects, " + std::to_string(scene.cameras.size()) + " cameras, frames " + std::to_string(scene.firstFrame) +
         " to " + std::to_string(scene.lastFrame) +
         (scene.frameStep > 1 ? " every " + std::to_string(scene.frameStep) : std::string()) + " at " + rate.str() +
         " fps\n");
    CommandLine chosen = line;
    sim::SceneChannel channel;
    std::string problem = prepareHostScene(module, line, scene, chosen.run, channel);
    if (!problem.empty()) return fail(problem);
    if (!line.compared.empty()) return showComparedRuns(module, chosen, scene, outputs);
    sim::RunReport report;
    if (int status = showRun(module, chosen, chosen.run, scene, report)) return status;
    if (!line.plotPath.empty()) outputs.push_back({line.plotPath, sim::plotSvg(scene, report)});
    if (!line.writeScenePath.empty()) {
        std::string text = writtenScene(module, chosen.run, scene, channel, report, problem);
        if (!problem.empty()) return fail("cannot write " + line.writeScenePath + ": " + problem);
        outputs.push_back({line.writeScenePath, text});
    }
    return 0;
}

// The files of a run that succeeded, written once what it showed has arrived.
int writeOutputs(const CommandLine& line, const std::vector<sim::RunOutput>& outputs) {
    if (!std::cout.flush()) return fail("cannot write to standard output");
    std::string problem = sim::writeRunFiles(outputs);
    if (!problem.empty()) return fail(problem);
    if (!line.plotPath.empty()) show("Plot        " + sim::printableText(line.plotPath) + "\n");
    if (!line.writeScenePath.empty()) show("Scene saved " + sim::printableText(line.writeScenePath) + "\n");
    return 0;
}

int run(const CommandLine& line) {
    // A module that crashes, never returns or ends the process ends the run with one line.
    sim::reportCrashes();
    sim::reportEarlyEnds();
    if (line.timeLimitSeconds != 0 && !sim::limitRunTime(line.timeLimitSeconds))
        return fail("cannot set the time limit");
    sim::SceneParse parsed;
    // Inputs are checked and read, and outputs checked, before the module
    // is loaded, let alone run.
    if (!line.infoOnly) {
        std::vector<sim::RunFile> outputs;
        if (!line.plotPath.empty()) outputs.push_back({"--plot", line.plotPath});
        if (!line.writeScenePath.empty()) outputs.push_back({"--write-scene", line.writeScenePath});
        std::vector<sim::RunFile> inputs = {{"the module file", line.modulePath}, {"the scene file", line.scenePath}};
#if !defined(_WIN32)
        // A file that standard output or error goes to, replaced, would lose the report.
        inputs.push_back({"standard output", "/dev/stdout"});
        inputs.push_back({"standard error", "/dev/stderr"});
#endif
        std::string problem = sim::runFilesProblem(inputs, outputs);
        if (!problem.empty()) return fail(problem);
        sim::HostWorkMark mark("reading the scene");
        parsed = sim::readSceneFile(line.scenePath);
        if (!parsed.error.empty()) return fail(parsed.error);
    }
    sim::LoadResult loaded;
    {
        sim::ModuleCallMark mark("loading, and start-up");
        loaded = sim::LoadedModule::load(line.modulePath);
    }
    if (!loaded.module) return fail(loaded.error);
    show(sim::moduleText(*loaded.module));
    std::vector<sim::RunOutput> outputs;
    int status = line.infoOnly ? showInstance(*loaded.module, line.run)
                               : showSceneRun(*loaded.module, line, parsed.scene, outputs);
    // The module's shut-down is part of the run: nothing is written before it.
    {
        sim::ModuleCallMark mark("shut-down, and unloading");
        loaded.module.reset();
    }
    sim::HostWorkMark mark("writing the run's files");
    return status != 0 || line.infoOnly ? status : writeOutputs(line, outputs);
}

// Output that did not arrive is a failure, not a success.
int delivered(int status) {
    bool arrived = static_cast<bool>(std::cout.flush());
    if (!arrived && status == 0) return fail("cannot write to standard output");
    return status;
}

int runCommand(int argc, char** argv) {
    if (argc >= 2 && std::string(argv[1]) == kValidateCommand)
        return delivered(
            sim::runValidateCommand(std::vector<std::string>(argv + 2, argv + argc), std::cout, std::cerr));
    CommandLine line = parseCommandLine(argc, argv);
    if (line.help) {
        std::cout << usage();
        return delivered(0);
    }
    if (!line.error.empty()) return fail(line.error + " (see --help)");
    return delivered(run(line));
}

// An exception that nothing catches, one thrown through the module's frames
// say, ends the program with one line all the same, and what it showed.
[[noreturn]] void endOnUncaughtException() {
    const char* what = "an error nothing in kelto-host handles";
    try {
        if (std::exception_ptr exception = std::current_exception()) std::rethrow_exception(exception);
    } catch (const std::bad_alloc&) {
        what = kOutOfMemory;
    } catch (...) {}
    std::fflush(stdout);
    std::fprintf(stderr, "kelto-host: %s\n", what);
    std::_Exit(1);
}

}  // namespace

int main(int argc, char** argv) {
    std::set_terminate(endOnUncaughtException);
    // Until main returns, an end of the process is the module's.
    sim::watchForAnyEarlyEnd();
    int status;
    try {
        status = runCommand(argc, argv);
    } catch (const std::bad_alloc&) {
        status = fail(kOutOfMemory);
    }
    // An end from here on is the program's own, not the module's.
    sim::endsAsPlanned();
    return status;
}
