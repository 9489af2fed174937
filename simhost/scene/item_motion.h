// An item's motion as the host keys it: nine channels, each an envelope,
// relative to the item's parent. Angles are in degrees whatever the file
// keyed them in, so that the simulated host's own scene file reads back as it
// was written; the host's item info hands them out in radians.
#pragma once

#include <string>

#include "simhost/scene/envelope.h"

namespace sim {

struct Vec3 {
    double x = 0, y = 0, z = 0;
};

// Heading about Y, pitch about X, bank about Z, in degrees.
struct Rotation {
    double heading = 0, pitch = 0, bank = 0;
};

// The host's motion channels, in the order its scene files number them.
enum MotionChannel {
    kPositionX,
    kPositionY,
    kPositionZ,
    kHeading,
    kPitch,
    kBank,
    kScaleX,
    kScaleY,
    kScaleZ,
    kMotionChannels
};

// The channel's name as the host's Graph Editor shows it ("Position.X").
const char* motionChannelName(int channel);
// The channel of that name, or kMotionChannels for a name that is none.
int motionChannelNamed(const std::string& name);

// An unkeyed channel holds its rest value: the origin, no rotation, a scale
// of 1.
double restValue(int channel);

struct ItemMotion {
    Envelope channels[kMotionChannels];

    // A channel's value at a time on the scene's motion clock
    // (Scene::motionTime): its rest value while it has no keys.
    double value(int channel, double time) const;

    // At a time on the scene's motion clock (Scene::motionTime).
    Vec3 position(double time) const;
    Rotation rotation(double time) const;
    Vec3 scale(double time) const;

    // Keys all three channels of a vector at once, linear from the key
    // before, holding outside the keys: the simulated host's own scene file
    // keys them so. Keys stay in the order given; sortKeys orders them.
    void keyPosition(double time, const Vec3& position);
    void keyRotation(double time, const Rotation& rotation);
    void keyScale(double time, const Vec3& scale);
    // One key at time 0: there for all time.
    void placeAt(const Vec3& position);
    // Drops every key of a vector's channels: unkeyed again.
    void clearPosition();
    void clearRotation();
    void clearScale();
    // Orders each channel's keys by time, keys of equal times as given.
    void sortKeys();
};

}  // namespace sim
