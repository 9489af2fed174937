// A channel modifier's block as the host's scene file holds it: inside the
// envelope of its channel, after the envelope's behaviours,
//
//     { Envelope
//       1
//       Key 10 0 0 0 0 0 0 0 0
//       Behaviors 1 1
//       { ChannelHandler
//         "Kelto"
//         0
//         KELTO_START
//         ...
//       }
//     }
//
// its server's name in double quotes, the host's word of flags for the
// server (0; bit 0 set: disabled, as item info's server flags have it), then
// the lines the module saved, each indented by the block's depth (two spaces
// a level: the opening line's indentation and two), then "}" at the opening
// line's indentation. Lines that open a block of their own ("{ ...") are
// counted, so that the first "}" that closes nothing closes this one.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "simhost/scene/host_scene_input.h"

namespace sim {

// The name after "{ " on the block's opening line.
const char kChannelHandlerBlockName[] = "ChannelHandler";
// Bit 0 of the flags: the host does not run the server.
const unsigned kChannelHandlerDisabled = 1;

struct ChannelHandlerText {
    std::string server;              // without its quotes
    unsigned flags = 0;              // the host's word after the name
    std::vector<std::string> lines;  // as the module saved them: the block's indentation taken off
    int lineNumber = 0;              // of the opening line
    size_t begin = 0, end = 0;       // the block's bytes in the file, from its opening line to after its "}" line
};

// Reads the block whose opening line, "{ ChannelHandler", is `opening` (read
// already) through its closing line.
bool readChannelHandler(HostSceneInput& input, const SceneLine& opening, ChannelHandlerText& block);

// Why the module's saved line cannot stand in the block and read back the
// same (it holds a line break or a NUL; blanks aside, it is "}" or begins
// with "{"), or "".
std::string channelHandlerLineProblem(const std::string& line);

// The block as the host writes it, its opening line indented by `depth`
// spaces, every line ending in `ending`.
std::string formatChannelHandler(const std::string& server, const std::vector<std::string>& lines, size_t depth,
                                 std::string_view ending);

}  // namespace sim
