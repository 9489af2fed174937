// Basic types shared by every host record: the calling convention, opaque
// identifiers handed out by the host, and the global-service lookup.
#pragma once

#include <cstdint>

// Every call across the host boundary uses the platform's plain C convention.
#if defined(_WIN32)
#define HOST_CALL __cdecl
#else
#define HOST_CALL
#endif

namespace host {

// Opaque, pointer-sized handle of a scene item; owned by the host's scene and
// valid while the item exists. Null means "no item".
typedef void* ItemId;

// Opaque, pointer-sized handle of an animated channel; owned by the host.
typedef void* ChannelId;

// Opaque handle of a panel built by the panel toolkit; owned by the host.
typedef void* PanelId;

// Opaque handle of a plug-in instance: the module creates and owns what it
// points to, the host holds it between create and destroy.
typedef void* InstanceHandle;

// Item list type codes understood by the item-info service's first-item call.
enum ItemTypeCode : int {
    kItemTypeObject = 0,
    kItemTypeCamera = 2,
};

// Use mode passed to every global lookup.
const int kGlobalUseMode = 0;

// Global lookup, handed to every activation: (service name, use mode) -> the
// service's function table, or null when the host lacks it. The table is owned
// by the host and stays valid while the module is loaded.
typedef void* (HOST_CALL* GlobalLookup)(const char* serviceName, int useMode);

}  // namespace host
