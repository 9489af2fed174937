// States through which an instance writes its block to the scene file and
// reads it back. Both records are owned by the host and valid only during the
// save or load call they are passed to.
#pragma once

#include "host/host_types.h"

namespace host {

// Result of a read once the instance's data is exhausted: any negative value.
const int kReadEndOfData = -1;

struct SaveState {
    int ioMode;                                                       // set by the host; not consulted by the module
    void* writeData;                                                  // host's handle, passed back to write
    void (HOST_CALL* write)(void* writeData, const char* bytes, int length);  // called by save; the host copies `length` bytes at once
};

struct LoadState {
    int ioMode;                                                       // set by the host; not consulted by the module
    void* readData;                                                   // host's handle, passed back to read
    int (HOST_CALL* read)(void* readData, char* buffer, int maxLength);  // called by load; fills the module's buffer with the next line, returns bytes copied or negative at end of data
};

}  // namespace host
