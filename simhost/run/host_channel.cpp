#include "simhost/run/host_channel.h"

#include <algorithm>

#include "simhost/scene/item_hierarchy.h"
#include "simhost/text/printable_text.h"

namespace sim {

namespace {

std::string quoted(const std::string& text) { return "\"" + shownText(text) + "\""; }

const NamedChannel* namedChannel(const SceneItem& item, const std::string& name) {
    for (const NamedChannel& channel : item.channels)
        if (channel.name == name) return &channel;
    return nullptr;
}

bool hasChannel(const SceneItem& item, const std::string& name) {
    return motionChannelNamed(name) < kMotionChannels || namedChannel(item, name) != nullptr;
}

}  // namespace

bool findSceneChannel(const Scene& scene, const std::string& text, SceneChannel& found, std::string& error) {
    // Item names may hold dots: every split is tried, the item's name first
    // whole.
    for (int typeCode : kHostItemTypes)
        for (const SceneItem& item : *scene.list(typeCode)) {
            if (text.size() <= item.name.size() + 1 || text.compare(0, item.name.size(), item.name) != 0 ||
                text[item.name.size()] != '.')
                continue;
            const std::string channel = text.substr(item.name.size() + 1);
            if (!hasChannel(item, channel)) continue;
            found = {item.serial, channel};
            return true;
        }
    error = "the scene has no channel " + quoted(text) +
            ": a channel is ITEM.CHANNEL, e.g. Camera.FocalDistance or Ball.Position.X";
    return false;
}

Envelope sceneChannelValue(const Scene& scene, const SceneChannel& channel) {
    const SceneItem* item = scene.itemOfSerial(channel.item);
    if (item == nullptr) return Envelope::constant(0);
    int motion = motionChannelNamed(channel.channel);
    if (motion < kMotionChannels) {
        const Envelope& keyed = item->motion.channels[motion];
        return keyed.keys.empty() ? Envelope::constant(restValue(motion)) : keyed;
    }
    const NamedChannel* named = namedChannel(*item, channel.channel);
    return named != nullptr ? named->value : Envelope::constant(0);
}

std::string sceneChannelText(const Scene& scene, const SceneChannel& channel) {
    const SceneItem* item = scene.itemOfSerial(channel.item);
    return (item != nullptr ? item->name : std::string()) + "." + channel.channel;
}

bool chooseHostChannel(Scene& scene, const std::string& named, const std::vector<std::string>& servers,
                       std::string& server, SceneChannel& chosen, std::string& error) {
    auto serves = [&](const std::string& name) {
        return server.empty() ? std::find(servers.begin(), servers.end(), name) != servers.end() : name == server;
    };
    const ChannelModifierBlock* block = nullptr;
    if (!named.empty()) {
        if (!findSceneChannel(scene, named, chosen, error)) return false;
        for (const ChannelModifierBlock& held : scene.channelModifiers)
            if (held.item == chosen.item && held.channel == chosen.channel && serves(held.server)) {
                block = &held;
                break;
            }
    } else {
        for (const ChannelModifierBlock& held : scene.channelModifiers)
            if (serves(held.server)) {
                block = &held;
                break;
            }
        if (block == nullptr) {
            error = "no channel of the scene carries " +
                    (server.empty() ? std::string("any of the module's channel handlers") : quoted(server)) +
                    ": choose one with --channel ITEM.CHANNEL, e.g. --channel Camera.FocalDistance";
            return false;
        }
        chosen = {block->item, block->channel};
    }
    if (block != nullptr && server.empty()) server = block->server;
    scene.channelName = sceneChannelText(scene, chosen);
    scene.channelValue = sceneChannelValue(scene, chosen);
    scene.modifierBlock = block != nullptr ? block->lines : std::vector<std::string>();
    scene.binaryBlock = false;
    return true;
}

}  // namespace sim
