// Which channel of a host scene file the module runs on, as an artist puts a
// modifier on a channel in the Graph Editor: the one `--channel ITEM.CHANNEL`
// names, or else the one whose envelope holds a block of one of the module's
// channel handlers. The scene then carries that channel's name, its own
// value and the block.
#pragma once

#include <string>
#include <vector>

#include "simhost/scene/scene.h"

namespace sim {

// A channel of the scene: an item's and the channel's own name.
struct SceneChannel {
    size_t item = kNoItem;  // the item's serial
    std::string channel;    // "Position.X", "FocalDistance"
};

// The channel "ITEM.CHANNEL" names: the channel's name is one of the item's
// (its motion's, "Position.X", or another it has, "FocalDistance"), the
// item's name everything before it, the first item of that name in the
// host's lists' order. False with `error` set when none is.
bool findSceneChannel(const Scene& scene, const std::string& text, SceneChannel& found, std::string& error);

// The channel's value before any modifier, on the scene's clock.
Envelope sceneChannelValue(const Scene& scene, const SceneChannel& channel);

// Puts the run on a channel of a host scene file: the one `named` names (""
// for none), else the one whose block names one of `servers`, the first
// such. Sets the scene's channel name, value and block, and `server` to the
// block's server where `server` is empty. False with `error` set to one line
// when no channel fits.
bool chooseHostChannel(Scene& scene, const std::string& named, const std::vector<std::string>& servers,
                       std::string& server, SceneChannel& chosen, std::string& error);

// "Ball.Position.X"
std::string sceneChannelText(const Scene& scene, const SceneChannel& channel);

}  // namespace sim
