// The states through which an instance writes its block to the scene file and reads it back. Each
// record is owned by the host and valid only during the save or load call it is handed to.
#pragma once

#include "host/host_types.h"

namespace host {

// How the scene file stores the data: as text lines or as binary.
enum IoMode : int {
    kIoModeBinary = 0,
    kIoModeAscii = 1,
};

// What read returns once the instance's data is exhausted: any negative value.
const int kReadEndOfData = -1;

struct SaveState {
    // IoMode of the file being written.
    int ioMode;
    // The host's handle, passed back to write.
    void* writeData;
    // Writes one unit: `length` bytes, copied at once. In an ASCII file a unit is one line, cut at
    // its first NUL, so a line's length counts its terminating NUL. Called by the module during
    // save. Main thread.
    void (HOST_CALL* write)(void* writeData, const char* bytes, int length);
};

struct LoadState {
    // IoMode of the file being read.
    int ioMode;
    // The host's handle, passed back to read.
    void* readData;
    // Reads the next unit into the caller's buffer. In an ASCII file: the next line, at most
    // maxLength - 1 bytes and a NUL, the rest of a longer line dropped; returns the bytes copied,
    // or kReadEndOfData (buffer untouched) once the instance's lines are exhausted. Called by the
    // module during load. Main thread.
    int (HOST_CALL* read)(void* readData, char* buffer, int maxLength);
};

}  // namespace host
