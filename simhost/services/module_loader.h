// Loads a module file the way the host does: maps it, reads its descriptor,
// checks it, lists its servers and runs start-up. Unloading runs shut-down.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "host/module_descriptor.h"
#include "simhost/platform/dynamic_library.h"

namespace sim {

struct ServerEntry {
    std::string className;
    std::string serverName;
    host::ActivateFunction activate;
};

class LoadedModule;

struct LoadResult {
    std::unique_ptr<LoadedModule> module;  // null when loading failed
    std::string error;                     // one line saying why, when it failed
};

class LoadedModule {
public:
    // Maps `path`, checks its descriptor and calls its start-up function.
    static LoadResult load(const std::string& path);

    ~LoadedModule();  // calls shut-down, then unmaps the file
    LoadedModule(const LoadedModule&) = delete;
    LoadedModule& operator=(const LoadedModule&) = delete;

    const std::string& path() const { return path_; }
    const host::ModuleDescriptor& descriptor() const { return *descriptor_; }
    const std::vector<ServerEntry>& servers() const { return servers_; }

    // The server of that class and name, or null.
    const ServerEntry* findServer(const std::string& className, const std::string& serverName) const;

    // The start-up function's result, handed to every activation.
    void* serverData() const { return serverData_; }

private:
    LoadedModule() = default;

    std::string path_;
    DynamicLibrary library_;
    const host::ModuleDescriptor* descriptor_ = nullptr;
    void* serverData_ = nullptr;
    std::vector<ServerEntry> servers_;
};

// Text for an activation result: "0 (success)", "1 (wrong version)", ...
std::string describeActivationResult(int result);

}  // namespace sim
