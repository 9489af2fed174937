#include "simhost/scene/unmodelled_motion.h"

#include <algorithm>

namespace sim {

namespace {

struct ControllerKeyword {
    const char* keyword;
    const char* channel;
};

const ControllerKeyword kControllers[] = {
    {"HController", "heading"},    {"PController", "pitch"},      {"BController", "bank"},
    {"XController", "position X"}, {"YController", "position Y"}, {"ZController", "position Z"},
};

// The host's controllers by code (its item info's LWMOTCTL_ values).
const char* const kControllerNames[] = {
    "keyframes", "targeting", "alignment to velocity", "IK", "alignment to path", "a pole", "another item's channel",
};
const long long kKeyframes = 0;

std::string text(std::string_view view) { return std::string(view); }

}  // namespace

void noteUnmodelled(SceneItem& item, const std::string& note) {
    if (item.unmodelled.size() < kMostUnmodelledNotes &&
        std::find(item.unmodelled.begin(), item.unmodelled.end(), note) == item.unmodelled.end())
        item.unmodelled.push_back(note);
}

bool isControllerKeyword(std::string_view keyword) {
    return std::any_of(std::begin(kControllers), std::end(kControllers),
                       [&](const ControllerKeyword& controller) { return keyword == controller.keyword; });
}

std::string controllerNote(std::string_view keyword, long long code) {
    if (code == kKeyframes) return "";
    const char* channel = "a channel";
    for (const ControllerKeyword& controller : kControllers)
        if (keyword == controller.keyword) channel = controller.channel;
    const long long codes = static_cast<long long>(std::size(kControllerNames));
    const std::string by = code > 0 && code < codes ? kControllerNames[code] : "controller " + std::to_string(code);
    return std::string(channel) + " by " + by + " (" + text(keyword) + " " + std::to_string(code) + ")";
}

std::string targetingNote(std::string_view line) { return "targeting (" + text(line) + ")"; }

std::string goalNote(std::string_view line) { return "IK goal (" + text(line) + ")"; }

std::string ikChainNote(const std::string& seeker, std::string_view line) {
    return "in the IK chain of " + seeker + " (" + text(line) + ")";
}

std::string motionPluginNote(std::string_view server) {
    return "motion plug-in " + text(server) + " (Plugin ItemMotionHandler)";
}

std::string motionModifierNote(const std::string& server, const std::string& channel) {
    return "channel modifier " + server + " on " + channel + " ({ ChannelHandler)";
}

std::string boneParentNote(const std::string& bone, std::string_view line) {
    return "parented to bone " + bone + " (" + text(line) + ")";
}

}  // namespace sim
