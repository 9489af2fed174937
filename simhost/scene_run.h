// Runs a scene as the host would: binds the module's channel handler, creates
// the modifier's instance, loads its block, shows the scene at its first
// frame, opens the options panel and applies the user's picks, evaluates the
// channel at every frame, making the scene's edits and then the options'
// before the frames they name, and saves the block again.
#pragma once

#include <string>
#include <vector>

#include "module_loader.h"
#include "run_report.h"
#include "scene.h"
#include "scene_states.h"
#include "server_bindings.h"

namespace sim {

struct PanelPick {
    std::string label;  // a control's label, e.g. "Reference Item"
    std::string entry;  // the popup entry to choose, e.g. an item's name
};

struct RunOptions {
    std::vector<PanelPick> picks;
    std::vector<std::string> withheldServices;
    int classVersion = host::kClassicClassVersion;  // the version both activations are called with
    std::vector<SceneEdit> edits;  // made after the scene's own edits; each before its frame's evaluation
};

// Activates the module's "ChannelHandler" server "Kelto" in the current host
// session and creates one instance, adding a line for each to `log`. Returns
// the instance, or null with `error` set to one line saying why.
host::InstanceHandle startModifier(const LoadedModule& module, int classVersion, HandlerBinding& handler,
                                   std::string& log, std::string& error);

// The scene is left as the edits made it, with none pending.
RunReport runScene(const LoadedModule& module, Scene& scene, const RunOptions& options);

}  // namespace sim
