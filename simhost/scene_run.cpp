#include "scene_run.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <sstream>

#include "host/channel_handler.h"
#include "host/channel_interface.h"
#include "host_session.h"
#include "server_bindings.h"
#include "text_format.h"

namespace sim {

namespace {

const char kServerName[] = "Kelto";

std::string quoted(const std::string& text) { return "\"" + text + "\""; }

// Evaluates the channel at one frame, as the host does before drawing it.
FrameValue evaluateFrame(HandlerBinding& handler, host::InstanceHandle instance, const Scene& scene, int frame,
                         std::vector<std::string>& violations) {
    double time = scene.timeOfFrame(frame);
    ChannelAccessRecord access(frame, time, scene.channelValue);
    handler.evaluate(instance, access);
    for (const std::string& problem : access.problems) violations.push_back(problem);
    if (access.setCalls().size() > 1) violations.push_back("setChannel called more than once at frame " + std::to_string(frame));
    for (double value : access.setCalls())
        if (!std::isfinite(value))
            violations.push_back("setChannel with " + formattedText("%g", value) + " at frame " + std::to_string(frame));
    return {frame, time, access.result(), !access.setCalls().empty()};
}

// Opens the options panel for the instance, shows it, applies the picks and
// shows it again as the refresh after a pick does.
bool openPanel(const LoadedModule& module, HostSession& session, host::InstanceHandle instance,
               const RunOptions& options, RunReport& report) {
    std::ostringstream log;
    const ServerEntry* server = module.findServer(HOST_CHANNEL_INTERFACE_CLASS, kServerName);
    if (server == nullptr) {
        report.error = "no server ChannelInterface \"Kelto\" in " + module.path();
        return false;
    }
    InterfaceBinding binding;
    int result = binding.activate(module, *server, instance, options.classVersion);
    log << "Activation  ChannelInterface \"Kelto\": " << describeActivationResult(result) << "\n";
    SimPanel* panel = result == host::kActivationOk ? session.panels().panelOf(binding.record().panel) : nullptr;
    if (panel == nullptr) {
        log << "Panel       none\n";
        report.log += log.str();
        if (!options.picks.empty()) report.error = "there is no panel to pick from";
        return options.picks.empty();
    }
    log << session.panels().draw(*panel);
    for (const PanelPick& pick : options.picks) {
        std::string error;
        int refresh = session.panels().pick(*panel, pick.label, pick.entry, error);
        if (refresh < 0) {
            report.log += log.str();
            report.error = "cannot pick " + quoted(pick.entry) + " in " + quoted(pick.label) + ": " + error;
            return false;
        }
        log << "Pick        " << pick.label << " = " << pick.entry << " (refresh " << refresh << ")\n";
    }
    if (!options.picks.empty()) log << session.panels().draw(*panel);
    report.log += log.str();
    return true;
}

}  // namespace

host::InstanceHandle startModifier(const LoadedModule& module, int classVersion, HandlerBinding& handler,
                                   std::string& log, std::string& error) {
    const ServerEntry* server = module.findServer(HOST_CHANNEL_HANDLER_CLASS, kServerName);
    if (server == nullptr) {
        error = "no server ChannelHandler \"Kelto\" in " + module.path();
        return nullptr;
    }
    int result = handler.activate(module, *server, classVersion);
    log += "Activation  ChannelHandler \"Kelto\": " + describeActivationResult(result) + "\n";
    if (result != host::kActivationOk) {
        error = "the ChannelHandler activation returned " + describeActivationResult(result);
        return nullptr;
    }
    if (!handler.complete()) {
        error = "the ChannelHandler activation left functions of the handler record empty";
        return nullptr;
    }
    host::InstanceHandle instance = handler.create();
    if (instance == nullptr) {
        error = "the module created no instance";
        return nullptr;
    }
    log += "Instance    " + quoted(handler.describe(instance)) + ", flags " + std::to_string(handler.flags(instance)) +
           "\n";
    return instance;
}

RunReport runScene(const LoadedModule& module, Scene& scene, const RunOptions& options) {
    RunReport report;
    HostSession session(scene);
    for (const std::string& service : options.withheldServices) session.withhold(service);
    std::ostringstream log;

    HandlerBinding handler;
    std::string started;
    host::InstanceHandle instance = startModifier(module, options.classVersion, handler, started, report.error);
    log << started;
    if (instance == nullptr) {
        report.log = log.str();
        return report;
    }
    if (!scene.modifierBlock.empty()) {
        BlockReader reader(scene.modifierBlock);
        const char* error = handler.load(instance, reader);
        log << "Load        " << scene.modifierBlock.size() << " lines, " << reader.readCount() << " reads"
            << (error != nullptr ? ", error: " + std::string(error) : std::string()) << "\n";
    }
    report.log = log.str();

    // The host shows a loaded scene at its first frame before the user can
    // open any panel, so the references are resolved by then.
    evaluateFrame(handler, instance, scene, scene.firstFrame, report.violations);
    bool panelOk = openPanel(module, session, instance, options, report);
    if (panelOk) {
        // Counted in a wider type: a range may end at the largest int.
        for (long long frame = scene.firstFrame; frame <= scene.lastFrame; ++frame)
            report.frames.push_back(evaluateFrame(handler, instance, scene, static_cast<int>(frame), report.violations));
        BlockWriter writer;
        handler.save(instance, writer);
        report.saved = writer.units();
    }
    handler.destroy(instance);
    for (const std::string& violation : session.violations()) report.violations.push_back(violation);
    return report;
}

}  // namespace sim
