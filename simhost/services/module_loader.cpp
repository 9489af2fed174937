#include "simhost/services/module_loader.h"

#include <algorithm>
#include <cstring>

#include "simhost/platform/crash_report.h"
#include "simhost/platform/file_system.h"
#include "simhost/text/text_format.h"

namespace sim {

namespace {

// The calls into the module that loading and unloading make, as a report names them.
const char kLoadCall[] = "loading, and start-up";
const char kUnloadCall[] = "shut-down, and unloading";

// A server table longer than this is taken as unterminated.
const size_t kMaxServers = 256;
// A class or server name longer than this is taken as unterminated.
const size_t kMaxNameBytes = 1024;

// Why `path` is no file to hand the dynamic loader, or "".
std::string moduleFileProblem(const std::string& path) {
    FileStatus status = fileStatus(path);
    if (!status.error.empty()) return "cannot read module file " + path + ": " + status.error;
    switch (status.kind) {
        case FileKind::Missing: return "no such module file: " + path;
        case FileKind::Directory: return "module file " + path + " is a directory";
        case FileKind::Other: return "module file " + path + " is not a regular file";
        case FileKind::Regular: break;
    }
    return "";
}

// Whether `size` bytes at `address` lie within the module's own image, where
// everything the descriptor points to belongs. Anything else would be read
// at random, or crash the host.
bool within(const DynamicLibrary& library, const void* address, size_t size) {
    return address != nullptr && library.bytesWithin(address) >= size;
}

template <typename Function>
bool codeWithin(const DynamicLibrary& library, Function function) {
    return within(library, reinterpret_cast<const void*>(function), 1);
}

// A NUL-terminated name within the image, or false.
bool nameWithin(const DynamicLibrary& library, const char* name, std::string& text) {
    size_t bytes = name != nullptr ? std::min(library.bytesWithin(name), kMaxNameBytes) : 0;
    const void* end = bytes > 0 ? std::memchr(name, '\0', bytes) : nullptr;
    if (end == nullptr) return false;
    text.assign(name, static_cast<const char*>(end));
    return true;
}

// Reads the server table into `servers`; returns an error line or "".
std::string readServers(const DynamicLibrary& library, const host::ServerRecord* table,
                        std::vector<ServerEntry>& servers) {
    if (table == nullptr) return "the module's server table is null";
    for (size_t row = 0; row < kMaxServers; ++row) {
        std::string where = "server table row " + std::to_string(row + 1);
        if (!within(library, table + row, sizeof *table)) return where + " does not lie within the module";
        const host::ServerRecord& record = table[row];
        if (record.className == nullptr && record.serverName == nullptr && record.activate == nullptr) return "";
        if (record.className == nullptr || record.serverName == nullptr || record.activate == nullptr)
            return where + " is incomplete";
        ServerEntry entry{"", "", record.activate};
        if (!nameWithin(library, record.className, entry.className) ||
            !nameWithin(library, record.serverName, entry.serverName))
            return where + " names a class or server outside the module";
        if (!codeWithin(library, record.activate)) return where + " activates outside the module";
        servers.push_back(entry);
    }
    return "the server table has no end row within " + std::to_string(kMaxServers) + " rows";
}

// The first problem of the descriptor of the module at `path`, as one line,
// reading its server table into `servers` on the way; "" when there is none.
// The host checks the synchronisation word, the plug-in system version, the
// server table and where the start-up and shut-down functions lie; it does
// not read the machine code.
std::string descriptorProblem(const DynamicLibrary& library, const host::ModuleDescriptor& descriptor,
                              const std::string& path, std::vector<ServerEntry>& servers) {
    if (descriptor.syncWord != host::kModuleSyncWord)
        return "wrong synchronisation word " + hexText(descriptor.syncWord, 8) + " in " + path + " (expected " +
               hexText(host::kModuleSyncWord, 8) + ")";
    if (descriptor.systemVersion != host::kPluginSystemVersion)
        return "unsupported plug-in system version " + std::to_string(descriptor.systemVersion) + " in " + path +
               " (expected " + std::to_string(host::kPluginSystemVersion) + ")";
    std::string tableError = readServers(library, descriptor.servers, servers);
    if (!tableError.empty()) return tableError + " in " + path;
    if ((descriptor.startup != nullptr && !codeWithin(library, descriptor.startup)) ||
        (descriptor.shutdown != nullptr && !codeWithin(library, descriptor.shutdown)))
        return "the start-up or shut-down function of " + path + " does not lie within the module";
    return "";
}

}  // namespace

LoadResult LoadedModule::load(const std::string& path) {
    ModuleCallMark mark(kLoadCall, MarkNesting::OuterFirst);
    LoadResult result;
    result.error = moduleFileProblem(path);
    if (!result.error.empty()) return result;
    std::unique_ptr<LoadedModule> module(new LoadedModule());
    module->path_ = path;
    std::string loaderError;
    module->library_ = DynamicLibrary::open(path, loaderError);
    if (!module->library_.isOpen()) {
        result.error = "not a loadable module: " + path + " (" + loaderError + ")";
        return result;
    }
    void* symbol = module->library_.symbol(HOST_MODULE_DESCRIPTOR_SYMBOL);
    if (symbol == nullptr) {
        result.error = "no " HOST_MODULE_DESCRIPTOR_SYMBOL " in " + path;
        return result;
    }
    if (!within(module->library_, symbol, sizeof(host::ModuleDescriptor))) {
        result.error = HOST_MODULE_DESCRIPTOR_SYMBOL " in " + path + " does not lie within the module";
        return result;
    }
    module->descriptor_ = static_cast<const host::ModuleDescriptor*>(symbol);
    const host::ModuleDescriptor& descriptor = *module->descriptor_;
    result.error = descriptorProblem(module->library_, descriptor, path, module->servers_);
    if (!result.error.empty()) return result;
    if (descriptor.startup == nullptr || (module->serverData_ = descriptor.startup()) == nullptr) {
        result.error = "start-up failed in " + path;
        return result;
    }
    result.module = std::move(module);
    return result;
}

LoadedModule::~LoadedModule() {
    ModuleCallMark mark(kUnloadCall, MarkNesting::OuterFirst);
    if (serverData_ != nullptr && descriptor_->shutdown != nullptr) descriptor_->shutdown(serverData_);
    library_.close();
}

const ServerEntry* LoadedModule::findServer(const std::string& className, const std::string& serverName) const {
    for (const ServerEntry& server : servers_)
        if (server.className == className && server.serverName == serverName) return &server;
    return nullptr;
}

std::string describeActivationResult(int result) {
    switch (result) {
        case host::kActivationOk: return "0 (success)";
        case host::kActivationBadVersion: return "1 (wrong version)";
        case host::kActivationServiceMissing: return "2 (a host service is missing)";
        default: return std::to_string(result) + " (unknown result)";
    }
}

}  // namespace sim
