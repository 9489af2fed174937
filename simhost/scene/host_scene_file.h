// The host's own scene file (".lws": its first line "LWSC", its second the
// version, 1 to 8), read into the simulated host's scene and written back as
// the host would save it.
//
// Reading, every version the host has written:
// - Items in the order the file declares them, each list apart: objects
//   ("LoadObject", "LoadObjectLayer") named by their file's name without
//   folder and extension ("/", "\" and ":" all separate folders), nulls
//   ("AddNullObject") by their names, lights ("AddLight", "LightName"),
//   cameras ("AddCamera", "CameraName") and bones ("AddBone", "BoneName",
//   each of the object declared last). Version 1 has one camera, "Camera",
//   that no line declares. Lines after a declaration describe that item.
// - Motions: version 1 and 2 as old_motion_text.h reads them; from version 3
//   on "ObjectMotion" (or LightMotion, CameraMotion, BoneMotion), then for
//   each channel "Channel N" and its envelope (host_envelope_block.h), in
//   seconds and radians. Angles are kept in degrees (item_motion.h), times
//   in seconds (version 1's frames over the frame rate). A camera's motion
//   has six channels from version 2 on; the scales left out are 1.
// - Parents as host_item_references.h reads them; "PivotPoint" (version 1)
//   or "PivotPosition" the pivot, "PivotRotation" its rotation in degrees.
// - "FirstFrame", "LastFrame", "FrameStep" and "FramesPerSecond": the frames
//   a run evaluates (1 to 60, every frame, at 30 a second where the file
//   gives none: the host's defaults).
// - A camera's "FocalDistance", as a value or as "FocalDistance (envelope)"
//   and an envelope, is its channel "FocalDistance"; a camera whose file
//   gives none has the host's default, kDefaultFocalDistance. Any other
//   "NAME (envelope)" is the channel NAME of the item whose section holds it
//   (the scene's own, such as "AmbientIntensity", of none).
// - Every channel modifier's block in an envelope (host_channel_handler.h)
//   is one of Scene::channelModifiers.
// - What moves an item beyond its keys (targeting, IK, controllers other
//   than keyframes, motion plug-ins, channel modifiers on its motion, a bone
//   for a parent) is noted in its SceneItem::unmodelled (unmodelled_motion.h).
// - Every other line is passed over: the host's files hold hundreds of
//   keywords that move nothing. So are blocks ("{ NAME" to its "}") and a
//   plug-in's data ("Plugin" to the line "EndPlugin", whatever it holds).
//
// Errors name the file and line ("FILE:LINE: what"): a first line that is
// not "LWSC", a version that is not 1 to 8, a number that is none, not
// finite or beyond the bounds of the simulated host's own scene file
// (scene_file.h), a block or a plug-in's data cut short, a count of keys in
// version 1 or 2 that runs past them, an envelope without keys, a parent that
// is no item or a loop of parents, more than kMaxSceneItems items, more than
// the most keys, more than kMaxFrames frames, a NUL byte. Reading costs time
// and memory linear in the file: its text is kept as one string, its lines
// read in place.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "simhost/scene/scene.h"
#include "simhost/scene/scene_file.h"

namespace sim {

// The host's focal distance for a camera whose file gives none, in metres:
// every file read that writes the line while depth of field is off (the host
// writes it from version 2 on) writes 1, as it stands for a new camera.
const double kDefaultFocalDistance = 1;

// The most keys a scene read from the host's file holds, all its envelopes'
// together: enough for any 64 MiB file from version 3 on (a key takes a line
// of 22 bytes at least there), and a bound on memory for version 1, whose
// lines key all nine channels at once.
const size_t kMaxHostSceneKeys = 4000000;

// The channel's name in the host's file for a camera's focus distance.
const char kFocalDistanceChannel[] = "FocalDistance";

// Whether the text is the host's scene file: its first line is "LWSC" (after
// a UTF-8 byte-order mark, as some editors write).
bool isHostSceneText(const std::string& text);

// Reads the host's scene file into a scene on the seconds clock, its angles
// in degrees; the scene keeps the text (Scene::hostText) to write it back.
SceneParse parseHostScene(const std::string& text, const std::string& sourceName, size_t maxKeys = kMaxHostSceneKeys);

// The file as the host would save it with the module of `server` on the
// channel `channel` of the item of serial `item`, its saved lines in that
// channel's envelope; every other line as it was read. "" with `error` set
// to one line when it cannot be written (a version with no place for a
// channel modifier, a line that would read back as something else).
//
// The block stands last in the envelope, after its behaviours, as
// host_channel_handler.h shows it, or where a block of the same server stood
// on that channel. A camera's "FocalDistance" given as a value becomes
// "FocalDistance (envelope)" and an envelope of one key holding it; a camera
// without one gets one at kDefaultFocalDistance where the host writes it:
// after its "DepthOfField" line, or its "ApertureHeight" line, or its motion.
// New lines end as the line before them does.
std::string formatHostScene(const Scene& scene, size_t item, const std::string& channel, const std::string& server,
                            const std::vector<std::string>& lines, std::string& error);

}  // namespace sim
