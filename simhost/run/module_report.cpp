#include "simhost/run/module_report.h"

#include <sstream>

#include "simhost/text/printable_text.h"
#include "simhost/text/text_format.h"

namespace sim {

namespace {

const char* platformOfMachineCode(uint32_t code) {
    switch (code) {
        case host::kMachineCodeWindows: return "Windows";
        case host::kMachineCodeMac: return "Mac";
        case host::kMachineCodeLinux: return "Linux";
        default: return "no platform's";
    }
}

}  // namespace

std::string moduleText(const LoadedModule& module) {
    const host::ModuleDescriptor& d = module.descriptor();
    std::ostringstream out;
    out << "Module      " << printableText(module.path()) << "\n";
    out << "Descriptor  sync " << hexText(d.syncWord, 8) << ", plug-in system " << d.systemVersion << ", machine "
        << hexText(d.machineCode) << " (" << platformOfMachineCode(d.machineCode) << ")\n";
    for (const ServerEntry& server : module.servers())
        out << "Server      " << shownText(server.className) << " \"" << shownText(server.serverName) << "\"\n";
    return out.str();
}

}  // namespace sim
