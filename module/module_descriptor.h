// What every module file's descriptor holds beside its own server table: the
// host's words, the start-up and shut-down pair, and how the one symbol is
// exported.
#pragma once

#include "host/module_descriptor.h"

#if defined(_WIN32)
#define KELTO_EXPORT __attribute__((used))
#else
#define KELTO_EXPORT __attribute__((visibility("default")))
#endif

namespace kelto {

// Start-up has no work; its non-null result tells the host that it succeeded.
void* HOST_CALL startModule();
void HOST_CALL shutDownModule(void* startupResult);

// Every build carries the Windows machine code. The Windows host reads it.
// The native Linux module exists for the simulated host: its loader reads
// the other words and leaves the machine code alone, but its conformance
// check (`kelto-host validate`) wants a host platform's, so the native build
// carries the Windows one too and both builds show the same descriptor.
constexpr host::ModuleDescriptor moduleDescriptor(const host::ServerRecord* servers) {
    return {host::kModuleSyncWord, host::kPluginSystemVersion, host::kMachineCodeWindows,
            startModule,           shutDownModule,             servers};
}

}  // namespace kelto
