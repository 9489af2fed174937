// The states through which an instance writes its data to a file and reads it back: a handler's block in
// the scene file (ASCII) or in an object file (binary), or a file the file I/O service opened. Laid out
// as the SDK's LWSaveState and LWLoadState (lwio.h), the same in every era.
//
// Every record here is owned by the host and valid only during the call it is handed to (a handler's
// save or load) or until the file I/O service closes it. Every function in it is called by the module,
// on the main thread, with the record's writeData or readData as its first argument; none may be
// kept past that call. What a function reads from the module's buffers is read before it returns.
#pragma once

#include <cstddef>

#include "host/host_types.h"

namespace host {

// How a file stores the data (LWIO_*). In BINARY mode a unit is raw bytes, numbers big-endian; in ASCII
// mode a unit is a line of text whose bytes lie in 32..255, numbers in decimal (unsigned ones in hex).
enum IoMode : int {
    kIoModeBinary = 0,
    kIoModeAscii = 1,
    kIoModeObject = kIoModeBinary,  // object files are binary
    kIoModeScene = kIoModeAscii,    // scene files are text
    // Modes only the file I/O service's open functions take: an IFF file, its chunk sizes of 16 bits, of
    // 32 bits, of 32 bits strictly, or of 64 bits.
    kIoModeBinaryIff = 0x8C0000,
    kIoModeBinaryIff32 = 0x8D0000,
    kIoModeBinaryIff32Strict = 0x8E0000,
    kIoModeBinaryIff64 = 0x8F0000,
};

// What read returns once the instance's data is exhausted: any negative value.
const int kReadEndOfData = -1;

// A four-byte code (LWID): four characters, the first in the high byte, as idCode builds it (LWID_).
typedef unsigned int IdCode;
constexpr IdCode idCode(char a, char b, char c, char d) {
    return static_cast<IdCode>(static_cast<unsigned char>(a)) << 24 |
           static_cast<IdCode>(static_cast<unsigned char>(b)) << 16 |
           static_cast<IdCode>(static_cast<unsigned char>(c)) << 8 | static_cast<IdCode>(static_cast<unsigned char>(d));
}
// No block: what findBlk and readID return when nothing they were given matches, and the id that ends
// a list of BlockIdent.
const IdCode kNoBlock = 0;

// Labels a block (LWBlockIdent). The module owns it; the host reads it during the call it is passed to
// and keeps nothing. A list handed to findBlk or readID ends with an entry whose id is kNoBlock.
struct BlockIdent {
    IdCode id;          // written in BINARY mode; what findBlk and readID return in either mode
    const char* token;  // written in ASCII mode: ASCII without spaces (LWCStringASCII since 2020)
};

struct SaveState {
    // IoMode of the file being written. Set by the host; the module only reads it.
    int ioMode;
    // The host's handle, the first argument of every function below.
    void* writeData;
    // Writes one unit: in BINARY mode `length` bytes; in ASCII mode one line, the text of `bytes` up to
    // its first NUL (a line's length counts its terminating NUL), copied at once.
    void(HOST_CALL* write)(void* writeData, const char* bytes, int length);

    // Write `count` numbers from the module's array (writeI1..writeU4, writeFP): in BINARY mode each as
    // 1, 2 or 4 big-endian bytes; in ASCII mode all on one line, signed ones in decimal and unsigned
    // ones in hex, the line ended unless a leaf block is open (its values share its line).
    void(HOST_CALL* writeI1)(void* writeData, const char* values, int count);
    void(HOST_CALL* writeI2)(void* writeData, const short* values, int count);
    void(HOST_CALL* writeI4)(void* writeData, const int* values, int count);
    void(HOST_CALL* writeU1)(void* writeData, const unsigned char* values, int count);
    void(HOST_CALL* writeU2)(void* writeData, const unsigned short* values, int count);
    void(HOST_CALL* writeU4)(void* writeData, const unsigned int* values, int count);
    void(HOST_CALL* writeFP)(void* writeData, const float* values, int count);
    // Writes a NUL-ended string in the module's encoding; in ASCII mode between double quotes.
    void(HOST_CALL* writeStr)(void* writeData, const char* text);
    // Writes a block's label: its id in BINARY mode, its token in ASCII mode.
    void(HOST_CALL* writeID)(void* writeData, const BlockIdent* ident);

    // Opens a block inside the current one, labelled by `ident`; `leaf` is non-zero when it will hold
    // no block of its own. Every beginBlk is matched by an endBlk before save returns.
    void(HOST_CALL* beginBlk)(void* writeData, const BlockIdent* ident, int leaf);
    // Closes the block opened last.
    void(HOST_CALL* endBlk)(void* writeData);
    // How many blocks are open: 0 outside every block.
    int(HOST_CALL* depth)(void* writeData);
    // As writeFP, for doubles: 8 big-endian bytes each in BINARY mode.
    void(HOST_CALL* writeDP)(void* writeData, const double* values, int count);
};

struct LoadState {
    // IoMode of the file being read. Set by the host; the module only reads it.
    int ioMode;
    // The host's handle, the first argument of every function below.
    void* readData;
    // Reads the next unit into the caller's buffer. In BINARY mode up to maxLength bytes, returning how
    // many. In ASCII mode the rest of the current line, at most maxLength - 1 bytes and a NUL, the rest
    // of a longer line dropped; returns the bytes copied. kReadEndOfData (buffer untouched) once the
    // data is exhausted.
    int(HOST_CALL* read)(void* readData, char* buffer, int maxLength);

    // Read up to `count` numbers into the module's array, returning how many were read (readI1..readU4,
    // readFP): in BINARY mode big-endian bytes; in ASCII mode from the current line only, never the
    // next, signed ones in decimal and unsigned ones in hex.
    int(HOST_CALL* readI1)(void* readData, char* values, int count);
    int(HOST_CALL* readI2)(void* readData, short* values, int count);
    int(HOST_CALL* readI4)(void* readData, int* values, int count);
    int(HOST_CALL* readU1)(void* readData, unsigned char* values, int count);
    int(HOST_CALL* readU2)(void* readData, unsigned short* values, int count);
    int(HOST_CALL* readU4)(void* readData, unsigned int* values, int count);
    int(HOST_CALL* readFP)(void* readData, float* values, int count);
    // Reads a string into the module's buffer of `maxLength` bytes, at most maxLength - 1 and a NUL
    // (double quotes around it in an ASCII file removed); returns its length as copied.
    int(HOST_CALL* readStr)(void* readData, char* buffer, int maxLength);
    // Reads a block's label and returns the id of the entry of `idents` it matches (by id in BINARY
    // mode, by token in ASCII mode), or kNoBlock.
    IdCode(HOST_CALL* readID)(void* readData, const BlockIdent* idents);

    // Reads ahead, inside the current block, to the next block whose label is in `idents`, skipping
    // others, and enters it; returns its id, or kNoBlock when no later block of the current one is in
    // the list.
    IdCode(HOST_CALL* findBlk)(void* readData, const BlockIdent* idents);
    // Moves past the end of the block entered last, whatever of it was not read.
    void(HOST_CALL* endBlk)(void* readData);
    // How many blocks are entered: 0 outside every block.
    int(HOST_CALL* depth)(void* readData);
    // As readFP, for doubles.
    int(HOST_CALL* readDP)(void* readData, double* values, int count);
};

// The SDK's positions on every platform the module is built for (32-bit and 64-bit Windows, 64-bit
// Linux): an int then pointers, each pointer in a slot of its own size.
const size_t kStateSlot = sizeof(void*);
static_assert(sizeof(int) <= kStateSlot && sizeof(IdCode) <= kStateSlot, "an int fits the slot before a pointer");
static_assert(offsetof(BlockIdent, token) == kStateSlot && sizeof(BlockIdent) == 2 * kStateSlot,
              "a block label is an id then its token");
static_assert(offsetof(SaveState, writeData) == 1 * kStateSlot, "writeData is the 2nd field");
static_assert(offsetof(SaveState, write) == 2 * kStateSlot, "write is the 3rd field");
static_assert(offsetof(SaveState, writeI1) == 3 * kStateSlot, "writeI1 is the 4th field");
static_assert(offsetof(SaveState, writeU4) == 8 * kStateSlot, "writeU4 is the 9th field");
static_assert(offsetof(SaveState, writeFP) == 9 * kStateSlot, "writeFP is the 10th field");
static_assert(offsetof(SaveState, writeStr) == 10 * kStateSlot, "writeStr is the 11th field");
static_assert(offsetof(SaveState, writeID) == 11 * kStateSlot, "writeID is the 12th field");
static_assert(offsetof(SaveState, beginBlk) == 12 * kStateSlot, "beginBlk is the 13th field");
static_assert(offsetof(SaveState, endBlk) == 13 * kStateSlot, "endBlk is the 14th field");
static_assert(offsetof(SaveState, depth) == 14 * kStateSlot, "depth is the 15th field");
static_assert(offsetof(SaveState, writeDP) == 15 * kStateSlot && sizeof(SaveState) == 16 * kStateSlot,
              "writeDP is the 16th and last field");
static_assert(offsetof(LoadState, readData) == 1 * kStateSlot, "readData is the 2nd field");
static_assert(offsetof(LoadState, read) == 2 * kStateSlot, "read is the 3rd field");
static_assert(offsetof(LoadState, readI1) == 3 * kStateSlot, "readI1 is the 4th field");
static_assert(offsetof(LoadState, readU4) == 8 * kStateSlot, "readU4 is the 9th field");
static_assert(offsetof(LoadState, readFP) == 9 * kStateSlot, "readFP is the 10th field");
static_assert(offsetof(LoadState, readStr) == 10 * kStateSlot, "readStr is the 11th field");
static_assert(offsetof(LoadState, readID) == 11 * kStateSlot, "readID is the 12th field");
static_assert(offsetof(LoadState, findBlk) == 12 * kStateSlot, "findBlk is the 13th field");
static_assert(offsetof(LoadState, endBlk) == 13 * kStateSlot, "endBlk is the 14th field");
static_assert(offsetof(LoadState, depth) == 14 * kStateSlot, "depth is the 15th field");
static_assert(offsetof(LoadState, readDP) == 15 * kStateSlot && sizeof(LoadState) == 16 * kStateSlot,
              "readDP is the 16th and last field");

}  // namespace host
