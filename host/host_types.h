// Basic types shared by every host record: the calling convention, the opaque identifiers that the
// host hands out, and the global-service lookup.
#pragma once

#include <cstdint>

// Every call across the host boundary, in either direction, uses the platform's plain C convention.
#if defined(_WIN32)
#define HOST_CALL __cdecl
#else
#define HOST_CALL
#endif

namespace host {

// A scene item, pointer-sized and opaque; owned by the host's scene. An ID names its item only
// until the host renumbers its items (when items are added or deleted); null means no item.
typedef void* ItemId;

// An animated channel, pointer-sized and opaque; owned by the host.
typedef void* ChannelId;

// A panel built by the panel toolkit; owned and destroyed by the host.
typedef void* PanelId;

// A plug-in instance: the module creates and owns what it points to; the host holds it between
// create and destroy and hands it back unchanged in every call.
typedef void* InstanceHandle;

// Item list type codes of the item-info service's first-item call.
enum ItemTypeCode : int {
    kItemTypeObject = 0,
    kItemTypeLight = 1,
    kItemTypeCamera = 2,
    kItemTypeBone = 3,
};

// The use mode that asks a global lookup for a service table shared by the whole process (the only
// mode whose tables need no release).
const int kGlobalUseMode = 0;

// Global lookup, handed to every activation and valid only during that call: (service name, use
// mode) -> the service's function table, or null when the host lacks the service. The table is the
// host's and stays valid while the module is loaded. Called by the module during the activation.
// Main thread.
typedef void*(HOST_CALL* GlobalLookup)(const char* serviceName, int useMode);

}  // namespace host
