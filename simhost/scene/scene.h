// A scene of the simulated host: named objects and cameras in list order, each
// with keyed positions, rotations and scales, the frame range, and the channel that carries the
// modifier with the block the scene file holds for it, and the edits of its
// items that a run makes between evaluations.
#pragma once

#include <string>
#include <vector>

#include "simhost/scene/scene_edit_text.h"

namespace sim {

struct Vec3 {
    double x = 0, y = 0, z = 0;
};

struct PositionKey {
    double frame = 0;
    Vec3 position;
};

// Heading about Y, pitch about X, bank about Z, in degrees, as the host's
// scene files key them.
struct Rotation {
    double heading = 0, pitch = 0, bank = 0;
};

struct RotationKey {
    double frame = 0;
    Rotation rotation;
};

struct ScaleKey {
    double frame = 0;
    Vec3 scale;
};

struct SceneItem {
    std::string name;
    std::vector<PositionKey> keys;          // ascending frames
    std::vector<RotationKey> rotationKeys;  // ascending frames
    std::vector<ScaleKey> scaleKeys;        // ascending frames

    // Each linear between its keys, channel by channel, held before the
    // first and after the last. With no keys: the origin, no rotation, and
    // a scale of 1 on every axis.
    Vec3 positionAtFrame(double frame) const;
    Rotation rotationAtFrame(double frame) const;
    Vec3 scaleAtFrame(double frame) const;
};

struct Scene {
    // In list order; an item's ID is its place here (services/item_ids.h).
    std::vector<SceneItem> objects;
    std::vector<SceneItem> cameras;

    int firstFrame = 0;
    int lastFrame = 0;
    double framesPerSecond = 24;

    std::string channelName = "Channel";     // the channel that carries the modifier
    double channelValue = 0;                 // its value before the modifier
    std::vector<std::string> modifierBlock;  // the modifier's lines in the scene file; empty for a new modifier
    bool binaryBlock = false;      // whether the block is binary (an object file's), its lines then its bytes in hex
    std::vector<SceneEdit> edits;  // edits of the items between evaluations, in the order given

    SceneItem& addObject(const std::string& name, Vec3 position = Vec3());
    SceneItem& addCamera(const std::string& name, Vec3 position = Vec3());

    double timeOfFrame(double frame) const { return frame / framesPerSecond; }
    double frameOfTime(double time) const { return time * framesPerSecond; }
};

}  // namespace sim
