// What the readers of the host's scene file share: its lines, the first
// fault found in them, and the keys and channel modifiers' lines read so far
// against the most a scene may hold. Numbers are read as the simulated host's own scene file reads
// them (scene_file.h): finite, values and times within +-kMaxKeyNumber.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "simhost/scene/host_scene_lines.h"

namespace sim {

class HostSceneInput {
public:
    HostSceneInput(std::string_view text, size_t from, size_t maxKeys) : lines(text, from), maxKeys_(maxKeys) {}

    SceneLines lines;

    // Records the fault unless one is recorded already (what follows a fault
    // is no news); returns false, for "return input.fail(...)".
    bool fail(int line, const std::string& what);
    bool failed() const { return !fault_.empty(); }
    int faultLine() const { return faultLine_; }
    const std::string& fault() const { return fault_; }

    // The word as a number within +-kMaxKeyNumber; `usage` says what the
    // line should be, for a word that is no number at all.
    bool number(std::string_view word, int line, double& value, std::string_view usage = {});
    // The word as a whole number from `least` to `most`.
    bool wholeNumber(std::string_view word, int line, long long least, long long most, long long& value,
                     std::string_view usage);
    // The word as an item number in hexadecimal ("1000000e").
    bool itemNumber(std::string_view word, int line, uint32_t& value);

    // Reads past the block that `opening` (read already) opens, through
    // the "}" that closes it, blocks inside it counted.
    bool skipBlock(const SceneLine& opening);

    // Counts a key read on `line`; false past the most a scene may hold.
    bool addKey(int line);
    // Counts a channel modifier's line; false past kMaxBlockLines in all.
    bool addBlockLine(int line);

private:
    std::string fault_;
    int faultLine_ = 0;
    size_t keys_ = 0;
    size_t blockLines_ = 0;
    size_t maxKeys_;
};

}  // namespace sim
