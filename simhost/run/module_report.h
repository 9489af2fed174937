// Text the simulated host prints about a loaded module.
#pragma once

#include <string>

#include "simhost/services/module_loader.h"

namespace sim {

// Descriptor words and the server table, one line each.
std::string moduleText(const LoadedModule& module);

}  // namespace sim
