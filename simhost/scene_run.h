// Runs a scene as the host would: binds the module's channel handler, creates
// the modifier's instance, loads its block, shows the scene at its first
// frame, opens the options panel and applies the user's picks, evaluates the
// channel at every frame and saves the block again.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "simhost/module_loader.h"
#include "simhost/scene.h"
#include "simhost/scene_states.h"
#include "simhost/server_bindings.h"

namespace sim {

struct PanelPick {
    std::string label;  // a control's label, e.g. "Reference Item"
    std::string entry;  // the popup entry to choose, e.g. an item's name
};

struct RunOptions {
    std::vector<PanelPick> picks;
    std::vector<std::string> withheldServices;
    int classVersion = host::kClassVersion;  // the version both activations are called with
};

struct FrameValue {
    int frame;
    double time;
    double value;  // the channel after the modifier
    bool set;      // whether the modifier set it
};

struct RunReport {
    std::string error;               // why the run stopped, empty when it ran through
    std::string log;                 // activation, instance, panel and picks, as lines
    std::vector<FrameValue> frames;
    std::vector<std::pair<std::string, int>> savedUnits;  // each written unit's text and length
    std::vector<std::string> savedBlock;                  // the saved units as scene-file lines
    std::vector<std::string> violations;                  // calls the module should not have made
};

// Activates the module's "ChannelHandler" server "Kelto" in the current host
// session and creates one instance, adding a line for each to `log`. Returns
// the instance, or null with `error` set to one line saying why.
host::InstanceHandle startModifier(const LoadedModule& module, int classVersion, HandlerBinding& handler,
                                   std::string& log, std::string& error);

RunReport runScene(const LoadedModule& module, Scene& scene, const RunOptions& options);

// The frame table: frame, time and value, one row a frame; `exact` prints
// every value with 17 significant digits, enough to tell any two apart.
std::string formatFrameTable(const Scene& scene, const RunReport& report, bool exact = false);
// The saved block, a unit a line with its length.
std::string formatSavedBlock(const RunReport& report);
// An SVG plot of the channel over the frames.
std::string plotSvg(const Scene& scene, const RunReport& report);

}  // namespace sim
