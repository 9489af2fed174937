// Loads an instance's block from a host whose every read is chosen by the
// input: any length returned, text with or without a NUL, the end of the data
// at any point. Then saves and evaluates it. Nothing may overrun, every name
// must stay terminated inside its buffer, and save must write six units.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "block_fuzz_host.h"
#include "channel/distance_evaluation.h"
#include "channel/distance_instance.h"
#include "fuzz_promises.h"
#include "host/module_descriptor.h"
#include "module/handler_entry.h"
#include "persist/instance_block.h"
#include "simhost/modifiers/kelto_facts.h"
#include "simhost/services/block_states.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::BlockFuzzHost fuzzHost(kelto::activateChannelHandler, data, size);
    kelto::DistanceInstance* instance = kelto::DistanceLifecycle::create();
    kelto::loadInstanceBlock(*instance, fuzzHost.unrulyState());
    fuzz::requireTerminated(instance->itemName, sizeof instance->itemName);
    fuzz::requireTerminated(instance->cameraName, sizeof instance->cameraName);

    sim::BlockWriter writer;
    kelto::saveInstanceBlock(*instance, writer.state());
    if (writer.units().size() != sim::kelto_facts::kBlockLines) std::abort();
    for (const sim::BlockWriter::Unit& unit : writer.units())
        if (unit.length <= 0 || unit.bytes.find('\0') != static_cast<size_t>(unit.length - 1)) std::abort();

    double distance = 0;
    kelto::evaluateDistance(*instance, 0.0, distance);
    fuzzHost.requireNoViolations();
    kelto::DistanceLifecycle::destroy(instance);
    return 0;
}
