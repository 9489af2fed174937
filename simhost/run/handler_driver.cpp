#include "simhost/run/handler_driver.h"

#include <algorithm>

namespace sim {

HandlerDriver::HandlerDriver(Scene& scene, HostKind kind) : session_(scene) { session_.setKind(kind); }

HandlerDriver::~HandlerDriver() {
    for (host::InstanceHandle instance : instances_) handler_.destroy(instance);
}

host::InstanceHandle HandlerDriver::create() {
    host::InstanceHandle instance = handler_.create();
    if (instance != nullptr) instances_.push_back(instance);
    return instance;
}

void HandlerDriver::destroy(host::InstanceHandle instance) {
    instances_.erase(std::remove(instances_.begin(), instances_.end(), instance), instances_.end());
    handler_.destroy(instance);
}

const char* HandlerDriver::load(host::InstanceHandle instance, const std::vector<std::string>& lines) {
    BlockReader reader(lines);
    return load(instance, reader);
}

const char* HandlerDriver::load(host::InstanceHandle instance, BlockReader& reader) {
    return handler_.load(instance, reader);
}

}  // namespace sim
