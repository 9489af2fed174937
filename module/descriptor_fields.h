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

// Each build carries its own platform's machine code: the Windows DLLs the
// Windows host's, the native shared module Linux's.
constexpr host::ModuleDescriptor moduleDescriptor(const host::ServerRecord* servers) {
    return {host::kModuleSyncWord,
            host::kPluginSystemVersion,
            host::kMachineCodeOfThisPlatform,
            startModule,
            shutDownModule,
            servers};
}

}  // namespace kelto
