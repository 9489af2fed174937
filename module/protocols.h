// The channel protocols this build serves. The classic build (the 32-bit DLL)
// serves version 4 alone; the current build (the 64-bit DLL) serves version 5
// as well. Each protocol names the services it looks up, newest name first.
#pragma once

#include "host/host_types.h"

namespace kelto {

struct Protocol {
    int classVersion;
    const char* const* messageServices;  // each list ends with a null name
    const char* const* textureServices;
    const char* const* itemInfoServices;
    const char* const* panelToolkitServices;
};

// The protocol of that class version, or null when this build does not serve it.
const Protocol* servedProtocol(int classVersion);

// The first of `names` that the host serves, or null when it serves none.
const void* lookUpService(host::GlobalLookup lookup, const char* const* names);

}  // namespace kelto
