// Runs a scene as the host would: binds the module's channel handler, creates
// the modifier's instance, loads its block, shows the scene at its first
// frame, opens the options panel and applies the user's picks, evaluates the
// channel at every frame, making the scene's edits and then the options'
// before the frames they name, and saves the block again.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "simhost/run/handler_driver.h"
#include "simhost/run/run_report.h"
#include "simhost/scene/scene.h"
#include "simhost/services/block_states.h"
#include "simhost/services/host_session.h"
#include "simhost/services/module_loader.h"
#include "simhost/services/server_bindings.h"

namespace sim {

struct PanelPick {
    std::string label;     // a control's label, e.g. "Reference Item"
    std::string entry;     // the popup entry to choose, e.g. an item's name, or the numbers to enter
    bool numbers = false;  // whether `entry` is numbers for a field rather than a popup entry
};

struct RunOptions {
    std::string serverName;        // the channel handler to run; "" for the one the module offers
    std::vector<PanelPick> picks;  // picks and entries, in the order given
    // Picks that later runs of the same scene make: each must name a popup,
    // checked when the panel opens, so that no run is made of a set that
    // cannot all be made.
    std::vector<PanelPick> laterPicks;
    std::vector<std::string> withheldServices;
    HostKind host = HostKind::Classic;
    int forcedVersion = 0;         // when not 0, both activations are called with this version alone
    std::vector<SceneEdit> edits;  // made after the scene's own edits; each before its frame's evaluation
    bool binarySave = false;       // save is handed a binary state, as for an object file, not the scene file's ASCII
};

// Where a run's log goes as it is made: activation, instance, load, panel,
// picks and edits, each text whole lines with every name and module text in
// it shown bounded and on its line (shownText). Nothing of it is kept, so a
// run of many edits holds no more than one panel drawing at a time.
using RunLog = std::function<void(const std::string& lines)>;

// The versions the host activates a server with, in the order it tries them
// until one succeeds: a classic host knows version 4 alone; a current host
// asks a handler from 5 downward and its interface from 1 upward.
std::vector<int> handlerVersions(const RunOptions& options);
std::vector<int> interfaceVersions(const RunOptions& options);

// Makes the session the host that the options describe.
void prepareSession(HostSession& session, const RunOptions& options);

// The name of the channel handler a run drives: the one the options name,
// or else the one "ChannelHandler" server the module offers. "" with
// `error` set to one line when the module has none of that name, none at
// all, or several and the options name none.
std::string chosenServer(const LoadedModule& module, const RunOptions& options, std::string& error);

// Activates the module's chosen "ChannelHandler" server through the driver,
// negotiating the version, and creates one instance the driver holds, telling `log`
// the activation's line before create is called, so that a crash in create
// loses it not. Returns the instance, or null with `error` set to one line
// saying why.
host::InstanceHandle startModifier(const LoadedModule& module, const RunOptions& options, HandlerDriver& driver,
                                   const RunLog& log, std::string& error);

// The line that describes an instance (its description and flags), asked of
// the module.
std::string instanceLine(HandlerBinding& handler, host::InstanceHandle instance);

// Told each frame's row as soon as the frame is evaluated.
using FrameLog = std::function<void(const FrameValue& row)>;

// The scene is left as the edits made it, with none pending.
RunReport runScene(const LoadedModule& module, Scene& scene, const RunOptions& options, const RunLog& log = RunLog(),
                   const FrameLog& frameLog = FrameLog());

}  // namespace sim
