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
#include "simhost/command/command_line.h"
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
#include "simhost/services/server_bindings.h"
#include "simhost/text/printable_text.h"

namespace {

const char kValidateCommand[] = "validate";

const char kOutOfMemory[] = "out of memory";

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

// The run's settings from the command line, with the module and the scene
// that were not given: those beside this program.
sim::RunSettings readCommandLine(int argc, char** argv, std::string& error) {
    sim::RunSettings settings;
    error = sim::readRunCommand(std::vector<std::string>(argv + 1, argv + argc), settings);
    if (settings.modulePath.empty()) settings.modulePath = besideThisProgram("kelto.p");
    if (settings.scenePath.empty()) settings.scenePath = KELTO_EXAMPLES_DIR "/demo.scene";
    return settings;
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
    sim::HandlerDriver driver(scene);
    sim::prepareSession(driver.session(), options);
    std::string error;
    host::InstanceHandle instance = sim::startModifier(module, options, driver, show, error);
    if (instance == nullptr) return fail(error);
    show(sim::instanceLine(driver.handler(), instance));
    sim::ModuleCallMark mark("destroy");
    driver.destroy(instance);
    return 0;
}

// Runs `scene` through the module with `options` and shows it. 0 when the
// run succeeded; else its failure's status.
int showRun(const sim::LoadedModule& module, const sim::RunSettings& line, const sim::RunOptions& options,
            sim::Scene& scene, sim::RunReport& report) {
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
int showComparedRuns(const sim::LoadedModule& module, const sim::RunSettings& line, const sim::Scene& scene,
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
std::string prepareHostScene(const sim::LoadedModule& module, const sim::RunSettings& line, sim::Scene& scene,
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
int showSceneRun(const sim::LoadedModule& module, const sim::RunSettings& line, sim::Scene& scene,
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
    sim::RunSettings chosen = line;
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
int writeOutputs(const sim::RunSettings& line, const std::vector<sim::RunOutput>& outputs) {
    if (!std::cout.flush()) return fail("cannot write to standard output");
    std::string problem = sim::writeRunFiles(outputs);
    if (!problem.empty()) return fail(problem);
    if (!line.plotPath.empty()) show("Plot        " + sim::printableText(line.plotPath) + "\n");
    if (!line.writeScenePath.empty()) show("Scene saved " + sim::printableText(line.writeScenePath) + "\n");
    return 0;
}

// Checks the run's files and reads its scene, before the module is loaded,
// let alone run: "" or one line saying what is wrong.
std::string readInputs(const sim::RunSettings& line, sim::SceneParse& parsed) {
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
    if (!problem.empty()) return problem;
    sim::HostWorkMark mark("reading the scene");
    parsed = sim::readSceneFile(line.scenePath);
    return parsed.error;
}

int run(const sim::RunSettings& line) {
    // A module that crashes, never returns or ends the process ends the run with one line.
    sim::reportCrashes();
    sim::reportEarlyEnds();
    if (line.timeLimitSeconds != 0 && !sim::limitRunTime(line.timeLimitSeconds))
        return fail("cannot set the time limit");
    sim::SceneParse parsed;
    if (!line.infoOnly) {
        std::string problem = readInputs(line, parsed);
        if (!problem.empty()) return fail(problem);
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
    std::string error;
    sim::RunSettings line = readCommandLine(argc, argv, error);
    if (line.help) {
        std::cout << sim::commandHelp();
        return delivered(0);
    }
    if (!error.empty()) return fail(error + " (see --help)");
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
