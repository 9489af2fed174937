#include "simhost/module_report.h"

#include <cstdio>
#include <sstream>

namespace sim {

std::string describeModule(const LoadedModule& module) {
    const host::ModuleDescriptor& d = module.descriptor();
    char words[128];
    std::snprintf(words, sizeof words, "sync 0x%08X, plug-in system %u, machine 0x%X", d.syncWord, d.systemVersion,
                  d.machineCode);
    std::ostringstream out;
    out << "Module      " << module.path() << "\n";
    out << "Descriptor  " << words << "\n";
    for (const ServerEntry& server : module.servers())
        out << "Server      " << server.className << " \"" << server.serverName << "\"\n";
    return out.str();
}

}  // namespace sim
