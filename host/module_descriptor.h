// What the host reads from a loaded module file: the exported descriptor and the table of servers
// it points to, and the activation call through which the host binds one server each time it puts
// it to use.
#pragma once

#include "host/host_types.h"

namespace host {

// Name of the data symbol that the host looks up in every module file.
#define HOST_MODULE_DESCRIPTOR_SYMBOL "_mod_descrip"

// What ModuleDescriptor::syncWord must hold, else the host refuses the file.
const uint32_t kModuleSyncWord = 0x04121994u;
// The plug-in system version the host speaks, for ModuleDescriptor::systemVersion.
const uint32_t kPluginSystemVersion = 3;

// Machine codes of the platforms a module is built for. The Windows host loads DLLs of either width
// with the same code; the Mac host loads bundles with its own; Linux shared objects carry the third.
const uint32_t kMachineCodeWindows = 0x300;
const uint32_t kMachineCodeMac = 0x400;
const uint32_t kMachineCodeLinux = 0x500;

// The code of the platform this file is compiled for: what a module built here carries, and what a
// host built here wants.
#if defined(_WIN32)
const uint32_t kMachineCodeOfThisPlatform = kMachineCodeWindows;
#elif defined(__APPLE__)
const uint32_t kMachineCodeOfThisPlatform = kMachineCodeMac;
#else
const uint32_t kMachineCodeOfThisPlatform = kMachineCodeLinux;
#endif

// Activation results.
enum ActivationResult : int {
    kActivationOk = 0,
    kActivationBadVersion = 1,
    kActivationServiceMissing = 2,
};

// Activation of one server: called by the host each time it binds the server (for a handler, before
// it creates instances; for an interface, when the user opens an instance's options). `version` is
// the class version the host speaks; a server that does not speak it returns kActivationBadVersion
// and the host may try another. `lookup` is valid only during the call. `local` is the class's
// record, owned by the host, which a successful activation fills. `serverData` is the start-up
// function's result. Main thread.
typedef int(HOST_CALL* ActivateFunction)(int version, GlobalLookup lookup, void* local, void* serverData);

// One row of the server table.
struct ServerRecord {
    // Host class the server belongs to, e.g. "ChannelHandler"; the module's, read while it is
    // loaded.
    const char* className;
    // The name users see in the host's lists; the module's, read while it is loaded.
    const char* serverName;
    // Called by the host to bind the server; never null in a used row. Main thread.
    ActivateFunction activate;
    // Optional tag list read once at load; the module's; null for none.
    const void* tagInfo;
};

// The descriptor itself; the host reads it once, right after mapping the file.
struct ModuleDescriptor {
    // Must be kModuleSyncWord, else the host refuses the file.
    uint32_t syncWord;
    // Plug-in system version; the host refuses one it does not speak.
    uint32_t systemVersion;
    // Platform code (kMachineCodeWindows, kMachineCodeMac, kMachineCodeLinux); a host refuses another
    // platform's.
    uint32_t machineCode;
    // Called once after load, before any activation; a null result means the module failed to
    // start. No thread is promised.
    void*(HOST_CALL* startup)(void);
    // Called once before unload with start-up's result; no activation follows.
    // No thread is promised.
    void(HOST_CALL* shutdown)(void*);
    // The module's static table, ended by an all-null row; read at load.
    const ServerRecord* servers;
};

}  // namespace host
