// kelto-host: the simulated host's command line. Loads a module file as the
// host does and runs a scene through it; with no arguments, the demo scene.
#if defined(_WIN32)
#include <windows.h>
#else
#include <unistd.h>
#endif

#include <climits>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "conformance.h"
#include "host_session.h"
#include "module_loader.h"
#include "module_report.h"
#include "scene_edit.h"
#include "scene_file.h"
#include "scene_run.h"
#include "server_bindings.h"

namespace {

const char kValidateCommand[] = "validate";

const char kUsage[] =
    "usage: kelto-host [MODULE] [options]\n"
    "       kelto-host validate MODULE [--seed N]   check that MODULE keeps every promise of the modifier\n"
    "  MODULE               module file to load (default: kelto.p beside kelto-host)\n"
    "  --scene FILE         scene to run (default: the bundled demo scene)\n"
    "  --info               only show the module's descriptor, servers and an instance\n"
    "  --pick LABEL=ENTRY   pick a popup entry in the options panel before evaluating,\n"
    "                       e.g. --pick \"Reference Item=Ball\" (may be repeated)\n"
    "  --edit EDIT          delete, add or rename an item before evaluating a frame (may be repeated):\n"
    "                       \"delete NAME@FRAME\", \"add object NAME@FRAME\", \"add camera NAME@FRAME\",\n"
    "                       \"rename OLD=NEW@FRAME\"; made after the scene file's own edits\n"
    "  --withhold SERVICE   run as a host that lacks SERVICE (may be repeated)\n"
    "  --host KIND          the host to play: classic (version 4, the default) or current\n"
    "                       (versions 5 down to 4 and the newer service names)\n"
    "  --class-version N    activate the servers with version N alone\n"
    "  --plot FILE.svg      write an SVG plot of the channel over the frames\n"
    "  --write-scene FILE   write the scene back with the block that save wrote\n"
    "  --exact              print values with 17 significant digits, to compare builds bit for bit\n"
    "  --help               show this text\n";

const char kHostClassic[] = "classic";
const char kHostCurrent[] = "current";

struct CommandLine {
    std::string modulePath;
    std::string scenePath = KELTO_EXAMPLES_DIR "/demo.scene";
    bool infoOnly = false;
    bool exact = false;
    std::string plotPath;
    std::string writeScenePath;
    sim::RunOptions run;
    bool help = false;
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

CommandLine parseCommandLine(int argc, char** argv) {
    CommandLine line;
    std::vector<std::string> args(argv + 1, argv + argc);
    for (size_t i = 0; i < args.size() && line.error.empty(); ++i) {
        const std::string& arg = args[i];
        auto value = [&](std::string& into) {
            if (i + 1 < args.size()) into = args[++i];
            else line.error = arg + " needs a value";
        };
        if (arg == "--help" || arg == "-h") {
            line.help = true;
        } else if (arg == "--info") {
            line.infoOnly = true;
        } else if (arg == "--exact") {
            line.exact = true;
        } else if (arg == "--scene") {
            value(line.scenePath);
        } else if (arg == "--plot") {
            value(line.plotPath);
        } else if (arg == "--write-scene") {
            value(line.writeScenePath);
        } else if (arg == "--class-version") {
            std::string version;
            value(version);
            char* end = nullptr;
            long parsed = std::strtol(version.c_str(), &end, 10);
            if (line.error.empty() && (version.empty() || *end != '\0' || parsed < INT_MIN || parsed > INT_MAX))
                line.error = "--class-version takes a whole number";
            line.run.forcedVersion = static_cast<int>(parsed);
            if (line.error.empty() && parsed == 0) line.error = "--class-version takes a version other than 0";
        } else if (arg == "--host") {
            std::string kind;
            value(kind);
            if (kind == kHostClassic) line.run.host = sim::HostKind::Classic;
            else if (kind == kHostCurrent) line.run.host = sim::HostKind::Current;
            else if (line.error.empty()) line.error = "--host takes classic or current";
        } else if (arg == "--withhold") {
            std::string service;
            value(service);
            line.run.withheldServices.push_back(service);
        } else if (arg == "--pick") {
            std::string pick;
            value(pick);
            size_t equals = pick.find('=');
            if (line.error.empty() && equals == std::string::npos) line.error = "--pick takes LABEL=ENTRY";
            else if (line.error.empty()) line.run.picks.push_back({pick.substr(0, equals), pick.substr(equals + 1)});
        } else if (arg == "--edit") {
            std::string text, problem;
            value(text);
            sim::SceneEdit edit;
            if (line.error.empty() && !sim::parseSceneEdit(text, edit, problem)) line.error = "--edit: " + problem;
            else if (line.error.empty()) line.run.edits.push_back(edit);
        } else if (arg.rfind("--", 0) == 0) {
            line.error = "unknown option " + arg;
        } else if (line.modulePath.empty()) {
            line.modulePath = arg;
        } else {
            line.error = "more than one module file given";
        }
    }
    if (line.modulePath.empty()) line.modulePath = besideThisProgram("kelto.p");
    return line;
}

int fail(const std::string& message) {
    std::cerr << "kelto-host: " << message << "\n";
    return 1;
}

bool writeFile(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary);
    out << text;
    return static_cast<bool>(out.flush());
}

// Binds the handler over an empty scene and describes one new instance.
int showInstance(const sim::LoadedModule& module, const sim::RunOptions& options) {
    sim::Scene scene;
    sim::HostSession session(scene);
    sim::prepareSession(session, options);
    sim::HandlerBinding handler;
    std::string log, error;
    host::InstanceHandle instance = sim::startModifier(module, options, handler, log, error);
    std::cout << log;
    if (instance == nullptr) return fail(error);
    handler.destroy(instance);
    return 0;
}

int runSceneFile(const sim::LoadedModule& module, const CommandLine& line) {
    sim::SceneParse parsed = sim::readSceneFile(line.scenePath);
    if (!parsed.error.empty()) return fail(parsed.error);
    sim::Scene& scene = parsed.scene;
    std::cout << "Scene       " << line.scenePath << ": " << scene.objects.size() << " objects, "
              << scene.cameras.size() << " cameras, frames " << scene.firstFrame << " to " << scene.lastFrame
              << " at " << scene.framesPerSecond << " fps\n";
    sim::RunReport report = sim::runScene(module, scene, line.run);
    std::cout << report.log;
    if (!report.error.empty()) return fail(report.error);
    std::cout << "\n" << sim::formatFrameTable(scene, report, line.exact) << "\n" << sim::formatSavedBlock(report);
    for (const std::string& violation : report.violations) std::cout << "Host check  " << violation << "\n";
    if (!line.plotPath.empty()) {
        if (!writeFile(line.plotPath, sim::plotSvg(scene, report))) return fail("cannot write " + line.plotPath);
        std::cout << "Plot        " << line.plotPath << "\n";
    }
    if (!line.writeScenePath.empty()) {
        scene.modifierBlock = report.savedLines();
        if (!writeFile(line.writeScenePath, sim::formatScene(scene)))
            return fail("cannot write " + line.writeScenePath);
        std::cout << "Scene saved " << line.writeScenePath << "\n";
    }
    return report.violations.empty() ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc >= 2 && std::string(argv[1]) == kValidateCommand)
        return sim::runValidateCommand(std::vector<std::string>(argv + 2, argv + argc), std::cout, std::cerr);
    CommandLine line = parseCommandLine(argc, argv);
    if (line.help) {
        std::cout << kUsage;
        return 0;
    }
    if (!line.error.empty()) return fail(line.error + " (see --help)");
    sim::LoadResult loaded = sim::LoadedModule::load(line.modulePath);
    if (!loaded.module) return fail(loaded.error);
    std::cout << sim::describeModule(*loaded.module);
    if (line.infoOnly) return showInstance(*loaded.module, line.run);
    return runSceneFile(*loaded.module, line);
}
