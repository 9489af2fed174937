// The host's scene files as the tests write them: a section's lines from a
// few words each, as the host would save them.
#pragma once

#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "simhost/scene/host_scene_file.h"

namespace lws {

// "Key VALUE TIME SHAPE P1 ... P6" from its first words, the rest 0.
inline std::string key(const std::string& words) {
    std::istringstream in(words);
    std::string word, line = "Key";
    int count = 0;
    while (in >> word) {
        line += " " + word;
        ++count;
    }
    for (; count < 9; ++count) line += " 0";
    return line;
}

// An envelope block at the top level, its keys and behaviours, then
// `inside` (lines already indented) before its "}".
inline std::string envelope(const std::vector<std::string>& keys, const std::string& behaviours = "1 1",
                            const std::string& inside = "") {
    std::string text = "{ Envelope\n  " + std::to_string(keys.size()) + "\n";
    for (const std::string& k : keys) text += "  " + key(k) + "\n";
    return text + "  Behaviors " + behaviours + "\n" + inside + "}\n";
}

// A motion from version 3 on: each channel one key at time 0 of `values`,
// unless `keyed` gives the channel's envelope block.
inline std::string motion(const std::string& keyword, const std::vector<double>& values,
                          const std::map<int, std::string>& keyed = {}) {
    std::ostringstream text;
    text.precision(17);
    text << keyword << "\nNumChannels " << values.size() << "\n";
    for (size_t channel = 0; channel < values.size(); ++channel) {
        text << "Channel " << channel << "\n";
        auto found = keyed.find(static_cast<int>(channel));
        if (found != keyed.end()) {
            text << found->second;
        } else {
            std::ostringstream value;
            value.precision(17);
            value << values[channel];
            text << envelope({value.str()});
        }
    }
    return text.str();
}

const std::vector<double> kStill = {0, 0, 0, 0, 0, 0, 1, 1, 1};
const std::vector<double> kStillCamera = {0, 0, 0, 0, 0, 0};

// The first lines of a file of `version`.
inline std::string header(int version, int first = 0, int last = 10, double fps = 10) {
    std::ostringstream text;
    text << "LWSC\n"
         << version << "\n\nFirstFrame " << first << "\nLastFrame " << last << "\nFrameStep 1\n"
         << "FramesPerSecond " << fps << "\n\n";
    return text.str();
}

inline sim::SceneParse read(const std::string& text) { return sim::parseHostScene(text, "s.lws"); }

inline std::string error(const std::string& text, size_t maxKeys = sim::kMaxHostSceneKeys) {
    return sim::parseHostScene(text, "s.lws", maxKeys).error;
}

inline const sim::NamedChannel* channel(const sim::SceneItem& item, const std::string& name) {
    for (const sim::NamedChannel& each : item.channels)
        if (each.name == name) return &each;
    return nullptr;
}

}  // namespace lws
