#include "simhost/scene_run.h"

#include <algorithm>
#include <cstdio>
#include <sstream>

#include "host/channel_handler.h"
#include "host/channel_interface.h"
#include "simhost/host_session.h"
#include "simhost/server_bindings.h"

namespace sim {

namespace {

const char kServerName[] = "Kelto";

std::string quoted(const std::string& text) { return "\"" + text + "\""; }

std::string xmlEscaped(const std::string& text) {
    std::string escaped;
    for (char c : text) {
        if (c == '&') escaped += "&amp;";
        else if (c == '<') escaped += "&lt;";
        else if (c == '>') escaped += "&gt;";
        else if (c == '"') escaped += "&quot;";
        else escaped += c;
    }
    return escaped;
}

// Evaluates the channel at one frame, as the host does before drawing it.
FrameValue evaluateFrame(HandlerBinding& handler, host::InstanceHandle instance, const Scene& scene, int frame,
                         std::vector<std::string>& violations) {
    double time = scene.timeOfFrame(frame);
    ChannelAccessRecord access(frame, time, scene.channelValue);
    handler.evaluate(instance, access);
    for (const std::string& problem : access.problems) violations.push_back(problem);
    if (access.setCalls().size() > 1) violations.push_back("setChannel called more than once at frame " + std::to_string(frame));
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
        for (int frame = scene.firstFrame; frame <= scene.lastFrame; ++frame)
            report.frames.push_back(evaluateFrame(handler, instance, scene, frame, report.violations));
        BlockWriter writer;
        handler.save(instance, writer);
        for (const BlockWriter::Unit& unit : writer.units()) report.savedUnits.push_back({unit.bytes, unit.length});
        report.savedBlock = writer.lines();
    }
    handler.destroy(instance);
    for (const std::string& violation : session.violations()) report.violations.push_back(violation);
    return report;
}

std::string formatFrameTable(const Scene& scene, const RunReport& report, bool exact) {
    std::ostringstream out;
    out << "Channel     " << scene.channelName << "\n";
    out << "   frame        time         value\n";
    for (const FrameValue& row : report.frames) {
        char line[96];
        std::snprintf(line, sizeof line, exact ? "%8d %11.4f %24.17g%s\n" : "%8d %11.4f %13.6f%s\n", row.frame,
                      row.time, row.value, row.set ? "" : "  (not set)");
        out << line;
    }
    return out.str();
}

std::string formatSavedBlock(const RunReport& report) {
    std::ostringstream out;
    out << "Saved block\n";
    for (size_t i = 0; i < report.savedUnits.size(); ++i)
        out << "  " << report.savedBlock[i] << "  (" << report.savedUnits[i].second << " bytes)\n";
    return out.str();
}

std::string plotSvg(const Scene& scene, const RunReport& report) {
    const double width = 760, height = 380, left = 80, right = 24, top = 44, bottom = 56;
    const int ticks = 4;
    double low = 0, high = 1;
    for (const FrameValue& row : report.frames) high = std::max(high, row.value), low = std::min(low, row.value);
    double firstFrame = scene.firstFrame;
    double frameSpan = std::max(1, scene.lastFrame - scene.firstFrame);
    auto x = [&](double frame) { return left + (frame - firstFrame) / frameSpan * (width - left - right); };
    auto y = [&](double value) { return height - bottom - (value - low) / (high - low) * (height - top - bottom); };

    std::ostringstream out;
    out << "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" << width << "\" height=\"" << height
        << "\" font-family=\"sans-serif\" font-size=\"12\">\n<rect width=\"100%\" height=\"100%\" fill=\"white\"/>\n";
    out << "<text x=\"" << width / 2 << "\" y=\"24\" text-anchor=\"middle\" font-size=\"14\">"
        << xmlEscaped(scene.channelName) << "</text>\n";
    for (int t = 0; t <= ticks; ++t) {
        double value = low + (high - low) * t / ticks;
        double frame = firstFrame + frameSpan * t / ticks;
        out << "<line x1=\"" << left << "\" y1=\"" << y(value) << "\" x2=\"" << width - right << "\" y2=\"" << y(value)
            << "\" stroke=\"#ddd\"/>\n";
        out << "<text x=\"" << left - 8 << "\" y=\"" << y(value) + 4 << "\" text-anchor=\"end\">" << value << "</text>\n";
        out << "<text x=\"" << x(frame) << "\" y=\"" << height - bottom + 18 << "\" text-anchor=\"middle\">" << frame
            << "</text>\n";
    }
    out << "<text x=\"" << (left + width - right) / 2 << "\" y=\"" << height - 12
        << "\" text-anchor=\"middle\">frame</text>\n";
    // One line for each run of frames the modifier set; frames it left alone
    // are drawn apart, in grey.
    size_t row = 0;
    while (row < report.frames.size()) {
        bool set = report.frames[row].set;
        out << "<polyline fill=\"none\" stroke=\"" << (set ? "#1f6fb2" : "#999") << "\" stroke-width=\"2\" points=\"";
        for (; row < report.frames.size() && report.frames[row].set == set; ++row)
            out << x(report.frames[row].frame) << "," << y(report.frames[row].value) << " ";
        out << "\"/>\n";
    }
    out << "</svg>\n";
    return out.str();
}

}  // namespace sim
