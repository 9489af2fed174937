// The load and save states the host hands an instance, over the simulated host's own storage, with
// every function of the SDK's records served in both I/O modes.
//
// ASCII (a scene file): a block is lines. A leaf block is one line, its token and then its values; any
// other block is "{ TOKEN", its lines indented by two spaces, and "}". Values written outside a leaf
// block are a line each call. BINARY (an object file): a block is its id's four bytes, its size in two
// big-endian bytes, and its bytes; numbers are big-endian, a string ends with its NUL.
//
// Where the SDK is silent the states do this: a read past the end of the data, or of the block entered
// last, reads nothing (0 values, an empty string, kReadEndOfData from read); a findBlk that finds
// nothing leaves the reader where it was; endBlk with no block open does nothing; writeStr in ASCII
// drops bytes below 32, which a line cannot hold. A call with a null array and a positive count, a
// null label, an endBlk with no block open in save, and a save that returns with blocks open, are
// calls the module should not make (violations()); each is answered as if the count were 0.
#pragma once

#include <string>
#include <vector>

#include "host/scene_file_states.h"

namespace sim {

// Serves a block to load, in either mode. In ASCII mode each read copies the rest of the current line,
// cut to the maximum length less one byte and ended with a NUL; the rest of a longer line is dropped.
// Once the lines are exhausted every read returns -1.
class BlockReader {
public:
    explicit BlockReader(std::vector<std::string> lines);  // ASCII: the block's lines
    static BlockReader binary(std::string bytes);
    BlockReader(const BlockReader&) = delete;
    BlockReader& operator=(const BlockReader&) = delete;
    const host::LoadState& state() const { return state_; }
    size_t readCount() const { return reads_; }
    const std::vector<std::string>& violations() const { return violations_; }

    int read(char* buffer, int maxLength);
    template <typename T>
    int readValues(T* values, int count);
    int readString(char* buffer, int maxLength);
    host::IdCode readId(const host::BlockIdent* idents);
    host::IdCode findBlock(const host::BlockIdent* idents);
    void endBlock();
    int depth() const { return static_cast<int>(open_.size()); }

private:
    // findBlock in each mode: a binary block by its ID and size, an ASCII one by its first word.
    host::IdCode findBinaryBlock(const host::BlockIdent* idents);
    host::IdCode findAsciiBlock(const host::BlockIdent* idents);
    struct OpenBlock {
        bool leaf;   // ASCII: its one line is the current line
        size_t end;  // BINARY: the offset just past it
    };
    struct Place {  // where the reader is, for a findBlk that finds nothing to go back to
        size_t next;
        bool hasLine;
        std::string line;
        size_t openCount;
    };

    BlockReader(host::IoMode mode, std::vector<std::string> lines, std::string bytes);
    bool ascii() const { return state_.ioMode == host::kIoModeAscii; }
    // ASCII: the current line, taken from the lines when none is; null at the end of the data or of the
    // block entered last.
    std::string* currentLine();
    bool atBlockClose() const;
    size_t openPlainBlocks() const;
    std::string withoutIndent(const std::string& line) const;
    void skipToClose();
    size_t limit() const;  // BINARY: the end of the block entered last, or of the data
    bool unusable(const void* pointer, int count, const char* what);
    Place place() const;
    void goBack(const Place& place);

    std::vector<std::string> lines_;
    std::string bytes_;
    size_t next_ = 0;  // ASCII: the next line; BINARY: the next byte
    bool hasLine_ = false;
    std::string line_;  // ASCII: what is left of the current line
    std::vector<OpenBlock> open_;
    size_t reads_ = 0;
    std::vector<std::string> violations_;
    host::LoadState state_;
};

// Collects what save writes. In ASCII mode one unit per line: each write call's string, its length
// taken from the string whatever length the call gave, as the SDK's ASCII write does, or the line a
// block function or a value write made; in BINARY mode the bytes, as many as each write gives.
class BlockWriter {
public:
    struct Unit {
        std::string bytes;  // the line and its NUL
        int length;         // the line's bytes and its NUL
        // The line the scene file holds: the text up to the first NUL.
        std::string line() const { return bytes.substr(0, bytes.find('\0')); }
    };

    explicit BlockWriter(host::IoMode mode = host::kIoModeAscii);
    BlockWriter(const BlockWriter&) = delete;
    BlockWriter& operator=(const BlockWriter&) = delete;
    const host::SaveState& state() const { return state_; }
    const std::vector<Unit>& units() const { return units_; }
    const std::string& bytes() const { return bytes_; }
    // Each unit as the line the scene file holds (linesOf).
    std::vector<std::string> lines() const;
    const std::vector<std::string>& violations() const { return violations_; }
    // Once save has returned: closes what it left open, a violation.
    void finish();

    void write(const char* bytes, int length);
    template <typename T>
    void writeValues(const T* values, int count);
    void writeString(const char* text);
    void writeId(const host::BlockIdent* ident);
    void beginBlock(const host::BlockIdent* ident, int leaf);
    void endBlock();
    int depth() const { return static_cast<int>(open_.size()); }

private:
    struct OpenBlock {
        bool leaf;
        size_t start;  // BINARY: the offset of its size
    };

    bool ascii() const { return state_.ioMode == host::kIoModeAscii; }
    std::string indent() const;
    // ASCII: adds `words` to the open leaf block's line, or else makes them a line.
    void putWords(const std::string& words);
    void addLine(const std::string& text);
    bool unusable(const void* pointer, int count, const char* what);

    std::vector<Unit> units_;
    std::string bytes_;
    std::string leafLine_;  // ASCII: the open leaf block's line so far
    std::vector<OpenBlock> open_;
    std::vector<std::string> violations_;
    host::SaveState state_;
};

// Each unit as the line the scene file holds: its text up to the first NUL.
std::vector<std::string> linesOf(const std::vector<BlockWriter::Unit>& units);

}  // namespace sim
