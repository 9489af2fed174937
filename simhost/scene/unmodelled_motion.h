// What the host adds to an item's motion beyond its keys and the simulated
// host does not compute, each a note of a few words naming the scene file's
// line that asks for it ("heading by IK (HController 3)"). The item moves by
// its keys alone here; its children move with it.
#pragma once

#include <string>
#include <string_view>

#include "simhost/scene/scene.h"

namespace sim {

// The most notes an item keeps: far more than the things that can move an
// item, few enough that a file repeating lines cannot grow them without
// bound.
const size_t kMostUnmodelledNotes = 32;

// Adds the note to the item's, once, while it has fewer than the most.
void noteUnmodelled(SceneItem& item, const std::string& note);

// The note for a controller line ("HController 3"): what controls which
// channel, or "" for keyframes (code 0), which the simulated host computes.
std::string controllerNote(std::string_view keyword, long long code);
// Whether the keyword names a motion controller.
bool isControllerKeyword(std::string_view keyword);

// Aiming at another item ("TargetItem 10000002").
std::string targetingNote(std::string_view line);
// Seeking an IK goal ("GoalObject 17"), and being in the chain that turns
// to reach it.
std::string goalNote(std::string_view line);
std::string ikChainNote(const std::string& seeker, std::string_view line);
// A motion plug-in ("Plugin ItemMotionHandler 1 LW_Follower").
std::string motionPluginNote(std::string_view server);
// A channel modifier on one of its motion channels.
std::string motionModifierNote(const std::string& server, const std::string& channel);
// A parent that is a bone, whose placement the simulated host does not
// compute as the host does.
std::string boneParentNote(const std::string& bone, std::string_view line);

}  // namespace sim
