#include "simhost/scene/item_motion.h"

#include <algorithm>

namespace sim {

namespace {

const char* const kChannelNames[kMotionChannels] = {
    "Position.X", "Position.Y", "Position.Z", "Rotation.H", "Rotation.P", "Rotation.B", "Scale.X", "Scale.Y", "Scale.Z",
};

const double kRestScale = 1;

// A key of the simulated host's own scene file: linear from the key before.
EnvelopeKey linearKey(double time, double value) {
    EnvelopeKey key;
    key.time = time;
    key.value = value;
    key.shape = SpanShape::Linear;
    return key;
}

}  // namespace

const char* motionChannelName(int channel) {
    return channel >= 0 && channel < kMotionChannels ? kChannelNames[channel] : "";
}

int motionChannelNamed(const std::string& name) {
    for (int channel = 0; channel < kMotionChannels; ++channel)
        if (name == kChannelNames[channel]) return channel;
    return kMotionChannels;
}

double restValue(int channel) { return channel >= kScaleX && channel <= kScaleZ ? kRestScale : 0; }

double ItemMotion::value(int channel, double time) const {
    const Envelope& envelope = channels[channel];
    return envelope.keys.empty() ? restValue(channel) : envelope.valueAt(time);
}

Vec3 ItemMotion::position(double time) const {
    return {value(kPositionX, time), value(kPositionY, time), value(kPositionZ, time)};
}

Rotation ItemMotion::rotation(double time) const {
    return {value(kHeading, time), value(kPitch, time), value(kBank, time)};
}

Vec3 ItemMotion::scale(double time) const { return {value(kScaleX, time), value(kScaleY, time), value(kScaleZ, time)}; }

void ItemMotion::keyPosition(double time, const Vec3& position) {
    channels[kPositionX].keys.push_back(linearKey(time, position.x));
    channels[kPositionY].keys.push_back(linearKey(time, position.y));
    channels[kPositionZ].keys.push_back(linearKey(time, position.z));
}

void ItemMotion::keyRotation(double time, const Rotation& rotation) {
    channels[kHeading].keys.push_back(linearKey(time, rotation.heading));
    channels[kPitch].keys.push_back(linearKey(time, rotation.pitch));
    channels[kBank].keys.push_back(linearKey(time, rotation.bank));
}

void ItemMotion::keyScale(double time, const Vec3& scale) {
    channels[kScaleX].keys.push_back(linearKey(time, scale.x));
    channels[kScaleY].keys.push_back(linearKey(time, scale.y));
    channels[kScaleZ].keys.push_back(linearKey(time, scale.z));
}

void ItemMotion::placeAt(const Vec3& position) {
    clearPosition();
    keyPosition(0, position);
}

void ItemMotion::clearPosition() {
    for (int channel = kPositionX; channel <= kPositionZ; ++channel) channels[channel].keys.clear();
}

void ItemMotion::clearRotation() {
    for (int channel = kHeading; channel <= kBank; ++channel) channels[channel].keys.clear();
}

void ItemMotion::clearScale() {
    for (int channel = kScaleX; channel <= kScaleZ; ++channel) channels[channel].keys.clear();
}

void ItemMotion::sortKeys() {
    for (Envelope& envelope : channels)
        std::stable_sort(envelope.keys.begin(), envelope.keys.end(),
                         [](const EnvelopeKey& a, const EnvelopeKey& b) { return a.time < b.time; });
}

}  // namespace sim
