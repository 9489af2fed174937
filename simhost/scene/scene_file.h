// The simulated host's scene file: a small line format of its own.
//
//     # comment
//     frames 0 96
//     fps 24
//     object Ball
//     key 0 -20 0.5 30
//     rotation 0 90 0 0
//     scale 0 2 2 2
//     camera Camera
//     key 0 0 1.6 -4
//     channel Camera.FocalDistance
//     value 10
//     edit delete Ball@48
//     block
//     | KELTO_START
//     | REFERENCE_ITEM
//     | Ball
//     end block
//
// "frames FIRST LAST" and "fps N" give the frames evaluated; "object NAME" and
// "camera NAME" add an item, the name being the rest of the line; "key FRAME
// X Y Z" keys the item above, "rotation FRAME HEADING PITCH BANK" its
// rotation in degrees, and "scale FRAME X Y Z" its scale, each list of keys
// of its own (an item without rotation keys is not rotated, one without
// scale keys has a scale of 1 1 1). "channel NAME" and "value N" describe the
// channel that carries the modifier. "edit TEXT" is an edit of the items
// made before a frame is evaluated, in the text that scene_edit_text.h describes
// ("delete NAME@FRAME", "add object NAME@FRAME", "add camera NAME@FRAME",
// "rename OLD=NEW@FRAME"). Between "block" and "end block" stand the
// modifier's lines as the host's scene file holds them, each after "| " (a
// lone "|" is an empty line). A block saved in binary mode stands between
// "binary block" and "end block", its bytes in hex, kHexBytesPerLine a line.
// Items and edits keep their order; keys are sorted.
// Lines end as on any system: a line feed, a carriage return and a line feed,
// or a carriage return alone. A UTF-8 byte-order mark before the first
// line, as some editors write, is skipped.
//
// Limits, each an error naming the line:
// - "frames", "fps", "channel", "value" and the block come once each: a
//   second would silently undo the first;
// - every number is finite ("inf", "nan" and numbers beyond a double's range
//   are refused); frames are ints;
// - at most kMaxFrames frames, the last not before the first;
// - at most kMaxSceneItems objects and cameras, kMaxSceneEdits edits and
//   kMaxBlockLines block lines, so that a file of short lines cannot make
//   the scene many times its size (an item takes a hundred bytes, and its
//   line may be 7);
// - fps above 0, and small enough only so far that the time of every frame
//   (frame / fps) stays finite;
// - a key's frame and its three numbers (coordinates, angles or scales)
//   within +-kMaxKeyNumber, so that the difference of two, and its square,
//   stays finite: no distance between items and no interpolation overflows;
// - no NUL byte on any line: names and block lines reach the module as C
//   strings.
// A scene file is a regular file of at most kMaxSceneFileBytes; anything
// else is refused before it is read.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "simhost/scene/scene.h"

namespace sim {

const int kMaxFrames = 1000000;
const size_t kMaxSceneItems = 100000;
const size_t kMaxSceneEdits = 100000;
const size_t kMaxBlockLines = 100000;
const double kMaxKeyNumber = 1e150;
const size_t kMaxSceneFileBytes = size_t(64) << 20;
const size_t kHexBytesPerLine = 32;

struct SceneParse {
    Scene scene;
    std::string error;  // "FILE:LINE: what is wrong", empty when the text was read
};

SceneParse parseScene(const std::string& text, const std::string& sourceName);
// Reads either format: a file whose first line is "LWSC" is the host's
// (host_scene_file.h), whatever its name.
SceneParse readSceneFile(const std::string& path);

std::string formatScene(const Scene& scene);

// A binary block's bytes as the scene file's lines hold them, and back: false
// when a line is not whole bytes in hex.
std::vector<std::string> hexLinesOf(const std::string& bytes);
bool bytesOfHexLines(const std::vector<std::string>& lines, std::string& bytes);

// Why formatScene's text of `scene` would not read back as the same scene
// (a name or block line holds a line feed, a carriage return or a NUL, or
// the channel has no name), or "".
std::string sceneTextProblem(const Scene& scene);

}  // namespace sim
