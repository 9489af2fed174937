// The host's scene file a scene was read from, kept to be written back: its
// text as it was read, and the places in it that writing a channel
// modifier's block changes (host_scene_file.h).
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "simhost/scene/scene.h"

namespace sim {

// A channel modifier's block inside an envelope.
struct HandlerPlace {
    std::string server;
    size_t begin = 0, end = 0;  // from its opening line to after its closing one
};

// The envelope of a channel.
struct EnvelopePlace {
    size_t item = kNoItem;   // the item's serial; kNoItem for the scene's own channels
    std::string channel;     // "Position.X", "FocalDistance"
    size_t indentation = 0;  // of its "{ Envelope" line
    size_t close = 0;        // where its closing "}" line begins
    std::string ending;      // of its "{ Envelope" line
    std::vector<HandlerPlace> handlers;
};

// A camera's focal distance given as a value: "FocalDistance 12.5".
struct ValueLinePlace {
    size_t item = kNoItem;
    size_t begin = 0, end = 0;  // the line, its ending left out
    std::string value;          // as the file writes it
};

// Where the host writes a camera's focal distance, for a camera whose file
// gives none: after the line that ends at `at`.
struct InsertPlace {
    size_t item = kNoItem;
    size_t at = 0;
    std::string ending;  // that line's; "" when it is the file's last and has none
};

struct HostSceneText {
    std::string text;
    int version = 0;
    std::string ending;  // of the file's first line
    std::vector<EnvelopePlace> envelopes;
    std::vector<ValueLinePlace> focalDistanceValues;
    std::vector<InsertPlace> focalDistanceInserts;
};

}  // namespace sim
