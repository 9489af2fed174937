#include "simhost/run/scene_run.h"

#include <algorithm>
#include <cstdio>

#include "host/channel_handler.h"
#include "host/channel_interface.h"
#include "simhost/modifiers/modifier_promises.h"
#include "simhost/platform/crash_report.h"
#include "simhost/run/edit_application.h"
#include "simhost/scene/scene_file.h"
#include "simhost/services/host_session.h"
#include "simhost/services/server_bindings.h"
#include "simhost/text/printable_text.h"
#include "simhost/text/text_format.h"

namespace sim {

namespace {

// The first class version of the channel classes.
const int kLowestClassVersion = 1;

const char kEvaluateCall[] = "evaluate";
const char kDestroyCall[] = "destroy";

std::string quotedText(const std::string& text) { return "\"" + text + "\""; }

// The open panel drawn as text, through the module's popup and get functions.
std::string drawn(const PanelToolkitModel& panels, const SimPanel& panel) {
    ModuleCallMark mark("drawing the options panel (popup count and name, get)");
    return panels.draw(panel);
}

// Evaluates the channel at one frame, as the host does before drawing it.
FrameValue evaluateFrame(HandlerDriver& driver, host::InstanceHandle instance, const std::string& serverName, int frame,
                         RunReport& report) {
    double time = driver.scene().timeOfFrame(frame);
    ChannelAccessRecord access(frame, time, driver.scene().channelValueAt(time));
    {
        ModuleCallMark mark(kEvaluateCall, frame);
        driver.evaluate(instance, access);
    }
    const std::string atFrame = " at frame " + std::to_string(frame);
    std::string rule = access.brokenRule();
    if (!rule.empty()) report.violations.push_back(rule + atFrame);
    std::string promise = brokenPromise(serverName, access);
    if (!promise.empty()) report.brokenPromises.push_back(promise + atFrame);
    return {frame, time, access.result(), !access.setCalls().empty()};
}

// What a refused activation asked for and was not given, for its message:
// ": not served: "LW Item Info 8", "LWXPanel 2"", or nothing.
std::string unservedText(const std::vector<std::string>& names) {
    std::string text;
    for (const std::string& name : names) text += (text.empty() ? "; not served: \"" : ", \"") + shownText(name) + "\"";
    return text;
}

// The log line of a negotiation: `result`, the version it came at, and what
// the versions tried before it returned, e.g. "0 (success) at version 4,
// after version 5: 1 (wrong version)". `tried` holds (version, result) pairs.
std::string negotiationLine(const std::string& what, int result, std::vector<std::pair<int, int>> tried) {
    std::string line = "Activation  " + what + ": " + describeActivationResult(result);
    if (result == host::kActivationOk) {
        line += " at version " + std::to_string(tried.back().first);
        tried.pop_back();
    }
    // Runs of versions that returned the same, as "versions 1, 2, 3: 1 (wrong version)".
    for (size_t first = 0; first < tried.size();) {
        size_t end = first;
        std::string list;
        for (; end < tried.size() && tried[end].second == tried[first].second; ++end)
            list += (end == first ? "" : ", ") + std::to_string(tried[end].first);
        line += std::string(first == 0 ? (result == host::kActivationOk ? ", after " : " (") : "; ") +
                (end - first > 1 ? "versions " : "version ") + list + ": " +
                describeActivationResult(tried[first].second);
        first = end;
    }
    if (result != host::kActivationOk && !tried.empty()) line += ")";
    return line + "\n";
}

// Tries `versions` in order through `activate` until one succeeds, and adds
// the negotiation's line to `log`. Returns the result that counts.
template <typename Activate>
int negotiate(const std::vector<int>& versions, Activate activate, const std::string& what, std::string& log) {
    std::vector<std::pair<int, int>> tried;  // version, result
    for (int version : versions) {
        tried.push_back({version, activate(version)});
        if (tried.back().second == host::kActivationOk) break;
    }
    // Without a success, a refusal other than the version says more.
    int result = tried.empty() ? host::kActivationBadVersion : tried.back().second;
    for (const std::pair<int, int>& attempt : tried)
        if (result == host::kActivationBadVersion) result = attempt.second;
    log += negotiationLine(what, result, tried);
    return result;
}

// Activates the ChannelInterface server for the instance at the first version
// it takes, and logs the negotiation; the panel it gives, or nullptr with
// `result` the activation's.
SimPanel* activatedPanel(const LoadedModule& module, const ServerEntry& server, const std::string& serverName,
                         HostSession& session, host::InstanceHandle instance, const RunOptions& options,
                         const RunLog& log, InterfaceBinding& binding, int& result) {
    std::string negotiated;
    {
        ModuleCallMark mark("the ChannelInterface activation");
        result = negotiate(
            interfaceVersions(options),
            [&](int version) { return binding.activate(module, server, instance, version); },
            serverText(HOST_CHANNEL_INTERFACE_CLASS, serverName), negotiated);
    }
    log(negotiated);
    return result == host::kActivationOk ? session.panels().panelOf(binding.record().panel) : nullptr;
}

// Whether every pick a later run makes names a popup of the panel; sets the
// error when one does not.
bool laterPicksFit(const PanelToolkitModel& panels, const SimPanel& panel, const RunOptions& options,
                   RunReport& report) {
    for (const PanelPick& later : options.laterPicks) {
        std::string problem = panels.pickProblem(panel, later.label);
        if (problem.empty()) continue;
        report.error = "cannot pick " + quotedText(shownText(later.entry)) + " in " +
                       quotedText(shownText(later.label)) + ": " + problem;
        return false;
    }
    return true;
}

// Makes one pick or entry in the panel and logs it; sets the error and
// returns false when the panel refuses it.
bool applyPick(PanelToolkitModel& panels, SimPanel& panel, const PanelPick& pick, const RunLog& log,
               RunReport& report) {
    std::string error;
    int refresh;
    if (pick.numbers) {
        ModuleCallMark mark("a value entered in the options panel (set)");
        refresh = panels.enter(panel, pick.label, pick.entry, error);
    } else {
        ModuleCallMark mark("a pick in the options panel (popup count and name, set)");
        refresh = panels.pick(panel, pick.label, pick.entry, error);
    }
    if (refresh < 0) {
        report.error = std::string(pick.numbers ? "cannot enter " : "cannot pick ") +
                       quotedText(shownText(pick.entry)) + " in " + quotedText(shownText(pick.label)) + ": " + error;
        return false;
    }
    log(std::string(pick.numbers ? "Set         " : "Pick        ") + shownText(pick.label) + " = " +
        shownText(pick.entry) + " (refresh " + std::to_string(refresh) + ")\n");
    return true;
}

// Opens the options panel for the instance, shows it, applies the picks and
// shows it again as the refresh after a pick does.
bool openPanelAndPick(const LoadedModule& module, const std::string& serverName, HostSession& session,
                      host::InstanceHandle instance, const RunOptions& options, const RunLog& log, RunReport& report) {
    const ServerEntry* server = module.findServer(HOST_CHANNEL_INTERFACE_CLASS, serverName);
    if (server == nullptr) {
        report.error = "no server " + serverText(HOST_CHANNEL_INTERFACE_CLASS, serverName) + " in " + module.path();
        return false;
    }
    InterfaceBinding binding;
    int result = host::kActivationOk;
    SimPanel* panel = activatedPanel(module, *server, serverName, session, instance, options, log, binding, result);
    // A module may have no panel at this version, or lack a service for it;
    // a result the host does not know is no answer at all.
    if (result != host::kActivationOk && result != host::kActivationBadVersion &&
        result != host::kActivationServiceMissing) {
        report.error = "the ChannelInterface activation returned " + describeActivationResult(result);
        return false;
    }
    if (panel == nullptr) {
        log("Panel       none\n");
        if (!options.picks.empty()) report.error = "there is no panel to pick from";
        return options.picks.empty();
    }
    log(drawn(session.panels(), *panel));
    // A panel the toolkit cannot draw as the module means it.
    for (const std::string& problem : panel->hintProblems) report.violations.push_back("the panel's hints: " + problem);
    for (const std::string& problem : panel->typeProblems)
        report.violations.push_back("the panel's values: " + problem);
    if (!laterPicksFit(session.panels(), *panel, options, report)) return false;
    for (const PanelPick& pick : options.picks)
        if (!applyPick(session.panels(), *panel, pick, log, report)) return false;
    if (!options.picks.empty()) log(drawn(session.panels(), *panel));
    return true;
}

// The edits of the run in the order they are made: the scene's, then the
// options', by frame. False with `error` set when one names a frame the run
// does not evaluate.
bool orderEdits(const Scene& scene, const RunOptions& options, std::vector<SceneEdit>& edits, std::string& error) {
    edits = scene.edits;
    edits.insert(edits.end(), options.edits.begin(), options.edits.end());
    std::stable_sort(edits.begin(), edits.end(),
                     [](const SceneEdit& a, const SceneEdit& b) { return a.frame < b.frame; });
    for (const SceneEdit& edit : edits)
        if (edit.frame < scene.firstFrame || edit.frame > scene.lastFrame) {
            error = "cannot " + describeSceneEdit(edit) + ": the scene's frames are " +
                    std::to_string(scene.firstFrame) + " to " + std::to_string(scene.lastFrame);
            return false;
        }
    return true;
}

// Makes the edits due before `frame`, from `next` on, and then shows the
// panel. False when one could not be made, with the report's error set.
bool makeEditsBefore(int frame, const std::vector<SceneEdit>& edits, size_t& next, HandlerDriver& driver,
                     const RunLog& log, RunReport& report) {
    const size_t first = next;
    // An edit before a frame the step passes over is made before the next one evaluated.
    for (; next < edits.size() && edits[next].frame <= frame; ++next) {
        EditOutcome outcome;
        {
            // The host's own work, but for its calls of changeID and useItems, which are marked as made.
            HostWorkMark mark("making an edit", frame);
            outcome = driver.edit(edits[next]);
        }
        if (!outcome.error.empty()) {
            report.error = outcome.error;
            return false;
        }
        log("Edit        " + shownText(outcome.line, kShownLineBytes) + "\n");
    }
    // The open panel is drawn again once the frame's edits are made, as the
    // host redraws before the frame: a drawing after each edit would walk
    // every popup's list once an edit, which grows with the edits.
    if (next != first)
        for (const SimPanel& panel : driver.session().panels().panels()) log(drawn(driver.session().panels(), panel));
    return true;
}

// Evaluates every frame of the session's scene, making the edits due before
// each; stops at the first edit that cannot be made.
void evaluateFrames(const std::vector<SceneEdit>& edits, HandlerDriver& driver, host::InstanceHandle instance,
                    const std::string& serverName, const RunLog& log, const FrameLog& frameLog, RunReport& report) {
    const Scene& scene = driver.scene();
    size_t nextEdit = 0;
    // Counted in a wider type: a range may end at the largest int.
    const long long step = std::max(scene.frameStep, 1);
    for (long long frame = scene.firstFrame; frame <= scene.lastFrame && report.error.empty(); frame += step)
        if (makeEditsBefore(static_cast<int>(frame), edits, nextEdit, driver, log, report)) {
            report.frames.push_back(evaluateFrame(driver, instance, serverName, static_cast<int>(frame), report));
            frameLog(report.frames.back());
        }
}

}  // namespace

std::vector<int> handlerVersions(const RunOptions& options) {
    if (options.forcedVersion != 0) return {options.forcedVersion};
    if (options.host == HostKind::Classic) return {host::kClassicClassVersion};
    std::vector<int> versions;
    for (int version = host::kCurrentClassVersion; version >= kLowestClassVersion; --version)
        versions.push_back(version);
    return versions;
}

// Either kind of host asks the interface from the lowest version up to its
// own newest, as the host's compatibility rules have it.
std::vector<int> interfaceVersions(const RunOptions& options) {
    if (options.forcedVersion != 0) return {options.forcedVersion};
    int newest = options.host == HostKind::Classic ? host::kClassicClassVersion : host::kCurrentClassVersion;
    std::vector<int> versions;
    for (int version = kLowestClassVersion; version <= newest; ++version) versions.push_back(version);
    return versions;
}

void prepareSession(HostSession& session, const RunOptions& options) {
    session.setKind(options.host);
    for (const std::string& service : options.withheldServices) session.withhold(service);
}

std::string chosenServer(const LoadedModule& module, const RunOptions& options, std::string& error) {
    if (!options.serverName.empty()) {
        if (module.findServer(HOST_CHANNEL_HANDLER_CLASS, options.serverName) != nullptr) return options.serverName;
        error = "no server " + serverText(HOST_CHANNEL_HANDLER_CLASS, options.serverName) + " in " + module.path();
        return "";
    }
    std::vector<std::string> handlers;
    for (const ServerEntry& server : module.servers())
        if (server.className == HOST_CHANNEL_HANDLER_CLASS) handlers.push_back(server.serverName);
    if (handlers.size() == 1) return handlers.front();
    if (handlers.empty()) {
        error = std::string("no ") + HOST_CHANNEL_HANDLER_CLASS + " server in " + module.path();
        return "";
    }
    error =
        module.path() + " offers " + std::to_string(handlers.size()) + " " + HOST_CHANNEL_HANDLER_CLASS + " servers,";
    for (size_t n = 0; n < handlers.size(); ++n)
        error += (n == 0 ? " " : n + 1 == handlers.size() ? " and " : ", ") + quotedText(shownText(handlers[n]));
    error += ": choose one with --server NAME";
    return "";
}

host::InstanceHandle startModifier(const LoadedModule& module, const RunOptions& options, HandlerDriver& driver,
                                   const RunLog& log, std::string& error) {
    HandlerBinding& handler = driver.handler();
    const std::string serverName = chosenServer(module, options, error);
    if (serverName.empty()) return nullptr;
    const ServerEntry* server = module.findServer(HOST_CHANNEL_HANDLER_CLASS, serverName);
    int result;
    const size_t lookupsBefore = HostSession::current()->lookups().size();
    std::string negotiated;
    {
        ModuleCallMark mark("the ChannelHandler activation");
        result = negotiate(
            handlerVersions(options), [&](int version) { return handler.activate(module, *server, version); },
            serverText(HOST_CHANNEL_HANDLER_CLASS, serverName), negotiated);
    }
    log(negotiated);
    if (result != host::kActivationOk) {
        error = "the ChannelHandler activation returned " + describeActivationResult(result) +
                unservedText(HostSession::current()->unservedSince(lookupsBefore));
        return nullptr;
    }
    if (!handler.complete()) {
        error = "the ChannelHandler activation left functions of the handler record empty";
        return nullptr;
    }
    host::InstanceHandle instance;
    {
        ModuleCallMark mark("create");
        instance = driver.create();
    }
    if (instance == nullptr) {
        error = "the module created no instance";
        return nullptr;
    }
    return instance;
}

std::string instanceLine(HandlerBinding& handler, host::InstanceHandle instance) {
    ModuleCallMark mark("describe and flags");
    return "Instance    " + quotedText(shownText(handler.describe(instance))) + ", flags " +
           std::to_string(handler.flags(instance)) + "\n";
}

namespace {

// Starts the modifier and loads the scene's block into its instance, adding
// a line for each to the log. Null, with the report's error set, when the
// run cannot go on.
host::InstanceHandle startAndLoad(const LoadedModule& module, const RunOptions& options, HandlerDriver& driver,
                                  const RunLog& log, RunReport& report) {
    host::InstanceHandle instance = startModifier(module, options, driver, log, report.error);
    if (instance == nullptr) return instance;
    HandlerBinding& handler = driver.handler();
    const Scene& scene = driver.scene();
    // Described once its block is loaded: the description may tell the settings.
    if (scene.modifierBlock.empty()) {
        log(instanceLine(handler, instance));
        return instance;
    }
    std::string bytes;
    if (scene.binaryBlock) bytesOfHexLines(scene.modifierBlock, bytes);  // read whole when the file was parsed
    BlockReader reader = scene.binaryBlock ? BlockReader::binary(bytes) : BlockReader(scene.modifierBlock);
    const char* error;
    {
        ModuleCallMark mark("load");
        error = driver.load(instance, reader);
    }
    for (const std::string& violation : reader.violations()) report.violations.push_back("load: " + violation);
    const std::string size = scene.binaryBlock ? std::to_string(bytes.size()) + " bytes (binary)"
                                               : std::to_string(scene.modifierBlock.size()) + " lines";
    log("Load        " + size + ", " + std::to_string(reader.readCount()) + " reads" +
        (error != nullptr ? ", error: " + shownText(error) : std::string()) + "\n");
    if (error == nullptr) {
        log(instanceLine(handler, instance));
        return instance;
    }
    // A host shows the error and drops the modifier: nothing runs on.
    report.error = "the module's load failed: " + shownText(error);
    ModuleCallMark mark(kDestroyCall);
    driver.destroy(instance);
    return nullptr;
}

// Saves the instance's block, unless the run has failed, into the report.
void saveBlock(HandlerDriver& driver, host::InstanceHandle instance, bool binary, RunReport& report) {
    BlockWriter writer(binary ? host::kIoModeBinary : host::kIoModeAscii);
    {
        ModuleCallMark mark("save");
        if (report.error.empty())
            if (const char* error = driver.save(instance, writer)) report.saveError = error;
    }
    writer.finish();
    for (const std::string& violation : writer.violations()) report.violations.push_back("save: " + violation);
    report.saved = writer.units();
    report.binarySave = binary;
    report.savedBytes = writer.bytes();
}

// What the session saw over the whole run: the host's rules broken, and
// calls of services the modifier promises never to make.
void noteSessionFindings(HostSession& session, const std::string& serverName, RunReport& report) {
    for (const std::string& violation : session.violations()) report.violations.push_back(violation);
    for (const std::string& call : session.heldServiceCalls()) {
        std::string promise = heldServicePromise(serverName, call);
        if (!promise.empty()) report.brokenPromises.push_back(promise);
    }
}

}  // namespace

RunReport runScene(const LoadedModule& module, Scene& scene, const RunOptions& options, const RunLog& given,
                   const FrameLog& givenFrameLog) {
    const RunLog log = given ? given : [](const std::string&) {};
    const FrameLog frameLog = givenFrameLog ? givenFrameLog : [](const FrameValue&) {};
    RunReport report;
    std::vector<SceneEdit> edits;
    if (!orderEdits(scene, options, edits, report.error)) return report;
    scene.edits.clear();
    RunOptions chosen = options;
    chosen.serverName = chosenServer(module, options, report.error);
    if (chosen.serverName.empty()) return report;
    const std::string& serverName = chosen.serverName;
    HandlerDriver driver(scene);
    prepareSession(driver.session(), chosen);
    host::InstanceHandle instance = startAndLoad(module, chosen, driver, log, report);
    if (instance == nullptr) return report;
    // The host shows a loaded scene at its first frame before the user can
    // open any panel, so the references are resolved by then.
    evaluateFrame(driver, instance, serverName, scene.firstFrame, report);
    if (openPanelAndPick(module, serverName, driver.session(), instance, chosen, log, report)) {
        evaluateFrames(edits, driver, instance, serverName, log, frameLog, report);
        saveBlock(driver, instance, options.binarySave, report);
    }
    {
        ModuleCallMark mark(kDestroyCall);
        driver.destroy(instance);
    }
    noteSessionFindings(driver.session(), serverName, report);
    return report;
}

}  // namespace sim
