// Motions and envelopes as versions 1 and 2 of the host's scene file hold
// them: bare numbers on the lines after their keyword, read as one stream
// whatever lines they stand on (the host's own documents break a key's
// numbers over lines differently from its files).
//
// Version 1, after "ObjectMotion (unnamed)" (or LightMotion, CameraMotion,
// BoneMotion): NCHANNELS, NKEYS, then for each key a value for each channel
// (x, y, z, heading, pitch, bank in degrees, the three scales) and FRAME
// LINEAR TENSION CONTINUITY BIAS. LINEAR 1 makes the span that ends at the
// key linear, 0 a TCB curve. After "NAME (envelope)" the same with one
// channel. "EndBehavior N" follows: 0 reset, 1 constant, 2 repeat after the
// last key; before the first key the motion holds it.
//
// Version 2 (an interim version of the host's): NCHANNELS, then for each
// channel NKEYS and for each key VALUE TIME SHAPE TENSION CONTINUITY BIAS,
// TIME in seconds, angles in degrees. No document gives SHAPE's codes; the
// one file known writes 2 on every key, which reads as TCB (its twin in
// version 5 keys TCB spans), and 3 and 4 are read as linear and stepped, as
// from version 3 on. "Pre/PostBehavior" follows: a pair of behaviour codes
// for each channel.
//
// Counts are whole numbers; a count of keys that runs past them is an
// error naming the line where a key's number was due.
#pragma once

#include <vector>

#include "simhost/scene/envelope.h"
#include "simhost/scene/host_scene_input.h"

namespace sim {

// The most channels a motion has: the host's nine.
const int kMostOldMotionChannels = 9;

// Reads the numbers after a motion's keyword (read already) into one
// envelope per channel, times as the version keys them (version 1 frames,
// version 2 seconds).
bool readOldMotion(HostSceneInput& input, int version, int keywordLine, std::vector<Envelope>& channels);

// Reads the numbers after "NAME (envelope)" (read already).
bool readOldEnvelope(HostSceneInput& input, int version, int keywordLine, Envelope& envelope);

// Version 1's "EndBehavior" code as the behaviour after the last key.
bool endBehaviourOfCode(int code, Extrapolation& post);

}  // namespace sim
