// The record the host reads from a loaded module: the exported descriptor and
// the table of servers it points to.
#pragma once

#include "host/host_types.h"

namespace host {

const uint32_t kModuleSyncWord = 0x04121994u;
const uint32_t kPluginSystemVersion = 3;
const uint32_t kMachineCodeX86Windows = 0x300;

// Name of the data symbol the host looks up in every module file.
#define HOST_MODULE_DESCRIPTOR_SYMBOL "_mod_descrip"

// Class version that both activations of this module accept.
const int kClassVersion = 4;

// Activation results.
enum ActivationResult : int {
    kActivationOk = 0,
    kActivationBadVersion = 1,
    kActivationServiceMissing = 2,
};

// Activation of one server: called by the host each time it puts the server to
// use. `local` is the class's record (handler or interface), owned by the host,
// which the activation fills; `serverData` is the start-up value, unused here.
typedef int (HOST_CALL* ActivateFunction)(int version, GlobalLookup lookup,
                                          void* local, void* serverData);

struct ServerRecord {
    const char* className;        // host class, e.g. "ChannelHandler"; static string owned by the module
    const char* serverName;       // server name shown to users; static string owned by the module
    ActivateFunction activate;    // called by the host to bind the server; never null in a used row
    const void* tagInfo;          // optional tag list read by the host at load; null in every row here
};

struct ModuleDescriptor {
    uint32_t syncWord;                   // checked by the host at load; must be kModuleSyncWord
    uint32_t systemVersion;              // plug-in system version checked by the host at load
    uint32_t machineCode;                // platform code the module was built for
    void* (HOST_CALL* startup)(void);    // called once after load; non-null result means success, passed back as serverData
    void (HOST_CALL* shutdown)(void*);   // called once before unload with the start-up value
    const ServerRecord* servers;         // static table owned by the module, ended by an all-null row
};

}  // namespace host
