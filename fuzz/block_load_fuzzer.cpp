// Loads an instance's block from a host whose every read is chosen by the
// input: any length returned, text with or without a NUL, the end of the data
// at any point. Then saves and evaluates it. Nothing may overrun, every name
// must stay terminated inside its buffer, and save must write six units.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "channel/distance_evaluation.h"
#include "channel/distance_instance.h"
#include "host/channel_handler.h"
#include "host/module_descriptor.h"
#include "module/handler_entry.h"
#include "persist/instance_block.h"
#include "simhost/services/host_session.h"
#include "simhost/modifiers/kelto_facts.h"
#include "simhost/services/block_states.h"

namespace {

// Each read takes a control byte: the top bit ends the data; the rest is how
// many of the following bytes to copy, with no NUL added.
struct UnrulyReader {
    const uint8_t* data;
    size_t size;

    static int HOST_CALL read(void* self, char* buffer, int maxLength) {
        UnrulyReader& r = *static_cast<UnrulyReader*>(self);
        if (r.size == 0) return host::kReadEndOfData;
        uint8_t control = *r.data++;
        --r.size;
        if (control & 0x80) return host::kReadEndOfData;
        size_t count = control;
        if (count > r.size) count = r.size;
        if (count > static_cast<size_t>(maxLength)) count = static_cast<size_t>(maxLength);
        std::memcpy(buffer, r.data, count);
        r.data += count;
        r.size -= count;
        return static_cast<int>(count);
    }
};

void requireTerminated(const char* text, size_t size) {
    if (std::memchr(text, '\0', size) == nullptr) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    sim::Scene scene;
    scene.addObject("Ball", {1, 2, 3});
    scene.addObject(sim::kelto_facts::kNoneName);
    scene.addCamera("Camera", {4, 5, 6});
    sim::HostSession session(scene);
    host::InstanceOperations operations{};
    host::HandlerRecord record{};
    record.instance = &operations;
    kelto::activateChannelHandler(host::kClassicClassVersion, sim::HostSession::lookup(), &record, nullptr);

    kelto::DistanceInstance* instance = kelto::createInstance();
    UnrulyReader reader{data, size};
    host::LoadState state = {0, &reader, UnrulyReader::read};
    kelto::loadInstanceBlock(*instance, state);
    requireTerminated(instance->itemName, sizeof instance->itemName);
    requireTerminated(instance->cameraName, sizeof instance->cameraName);

    sim::BlockWriter writer;
    kelto::saveInstanceBlock(*instance, writer.state());
    if (writer.units().size() != sim::kelto_facts::kBlockLines) std::abort();
    for (const sim::BlockWriter::Unit& unit : writer.units())
        if (unit.length <= 0 || unit.bytes.find('\0') != static_cast<size_t>(unit.length - 1)) std::abort();

    double distance = 0;
    kelto::evaluateDistance(*instance, 0.0, distance);
    if (!session.violations().empty()) std::abort();
    kelto::destroyInstance(instance);
    return 0;
}
