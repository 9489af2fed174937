// An envelope as the host's scene file holds it from version 3 on: a block
// after the line that names its channel ("Channel 0", "FocalDistance
// (envelope)"),
//
//     { Envelope
//       NKEYS
//       Key VALUE TIME SHAPE P1 P2 P3 P4 P5 P6
//       ...
//       Behaviors PRE POST
//       { ChannelHandler
//         ...
//       }
//     }
//
// TIME in seconds, SHAPE and P1..P6 as envelope.h reads them, PRE and POST
// the behaviours' codes. Keys are read to the closing "}" whatever NKEYS
// says: the host has saved counts that are not the number of its keys. An
// envelope without keys is refused. Channel modifiers' blocks are read
// (host_channel_handler.h); other blocks and lines inside are passed over.
#pragma once

#include <cstddef>
#include <vector>

#include "simhost/scene/envelope.h"
#include "simhost/scene/host_channel_handler.h"
#include "simhost/scene/host_scene_input.h"

namespace sim {

const char kEnvelopeBlockName[] = "Envelope";

struct EnvelopeText {
    Envelope envelope;                         // its keys in the file's units, ordered by time
    std::vector<ChannelHandlerText> handlers;  // in the file's order
    size_t indentation = 0;                    // of the opening line
    size_t close = 0;                          // where its closing "}" line begins
    std::string_view ending;                   // of its opening line
};

// Reads the block whose opening line, "{ Envelope", is `opening` (read
// already) through its closing line.
bool readEnvelopeBlock(HostSceneInput& input, const SceneLine& opening, EnvelopeText& block);

}  // namespace sim
