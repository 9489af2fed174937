// The load and save states the host hands an instance, over the simulated
// host's own storage.
#pragma once

#include <string>
#include <vector>

#include "host/scene_file_states.h"

namespace sim {

// Serves a block's lines to load. Each read copies the next line, cut to the
// maximum length less one byte and ended with a NUL; the rest of a longer line
// is dropped. Once the lines are exhausted every read returns -1.
class BlockReader {
public:
    explicit BlockReader(std::vector<std::string> lines);
    BlockReader(const BlockReader&) = delete;
    BlockReader& operator=(const BlockReader&) = delete;
    const host::LoadState& state() const { return state_; }
    size_t readCount() const { return reads_; }

    int read(char* buffer, int maxLength);

private:
    std::vector<std::string> lines_;
    size_t next_ = 0;
    size_t reads_ = 0;
    host::LoadState state_;
};

// Collects what save writes: one unit per write call, with its length.
class BlockWriter {
public:
    struct Unit {
        std::string bytes;  // exactly the bytes written, NUL included
        int length;
        // The line the scene file holds: the text up to the first NUL.
        std::string line() const { return bytes.substr(0, bytes.find('\0')); }
    };

    BlockWriter();
    BlockWriter(const BlockWriter&) = delete;
    BlockWriter& operator=(const BlockWriter&) = delete;
    const host::SaveState& state() const { return state_; }
    const std::vector<Unit>& units() const { return units_; }
    // Each unit as the line the scene file holds (linesOf).
    std::vector<std::string> lines() const;

    void write(const char* bytes, int length);

private:
    std::vector<Unit> units_;
    host::SaveState state_;
};

// Each unit as the line the scene file holds: its text up to the first NUL.
std::vector<std::string> linesOf(const std::vector<BlockWriter::Unit>& units);

}  // namespace sim
