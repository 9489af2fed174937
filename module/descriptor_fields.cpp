#include "module/descriptor_fields.h"

#include <cstdint>

namespace kelto {

namespace {
const uintptr_t kStartupValue = 4;
}  // namespace

void* HOST_CALL startModule() { return reinterpret_cast<void*>(kStartupValue); }

void HOST_CALL shutDownModule(void*) {}

}  // namespace kelto
