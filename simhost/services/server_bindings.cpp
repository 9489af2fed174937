#include "simhost/services/server_bindings.h"

#include "simhost/platform/crash_report.h"
#include "simhost/services/host_session.h"

namespace sim {

namespace {

int g_markerTarget = 0;

// Each call through a record is marked with the record's function, unless
// its caller marked it already: a module that crashes in it, or ends the
// process, is named wherever the call was made from (validate's checks too).
const MarkNesting kNested = MarkNesting::OuterFirst;

}  // namespace

void* const kHostOwnedMarker = &g_markerTarget;

HandlerBinding::HandlerBinding() : operations_{}, itemOperations_{}, record_{}, currentRecord_{} {
    operations_.hostData = kHostOwnedMarker;
    itemOperations_.renameNotice = kHostOwnedMarker;
    record_.instance = currentRecord_.instance = &operations_;
    record_.itemOperations = currentRecord_.itemOperations = &itemOperations_;
}

int HandlerBinding::activate(const LoadedModule& module, const ServerEntry& server, int version) {
    return activateLinked(server.activate, version, module.serverData());
}

int HandlerBinding::activateLinked(host::ActivateFunction activation, int version, void* serverData) {
    bool current = version == host::kCurrentClassVersion;
    void* record = current ? static_cast<void*>(&currentRecord_) : static_cast<void*>(&record_);
    ModuleCallMark mark("the ChannelHandler activation", kNested);
    int result = activation(version, HostSession::lookup(), record, serverData);
    if (result == host::kActivationOk) boundVersion_ = version;
    return result;
}

bool HandlerBinding::speaksCurrent() const { return boundVersion_ == host::kCurrentClassVersion; }

bool HandlerBinding::complete() const {
    const host::InstanceOperations& o = operations_;
    bool evaluates =
        speaksCurrent() ? currentRecord_.evaluate && currentRecord_.flags : record_.evaluate && record_.flags;
    return o.create && o.destroy && o.copy && o.load && o.save && o.describe && evaluates;
}

host::InstanceHandle HandlerBinding::create() {
    ModuleCallMark mark("create", kNested);
    const char* error = nullptr;
    return operations_.create != nullptr ? operations_.create(operations_.hostData, nullptr, &error) : nullptr;
}

void HandlerBinding::destroy(host::InstanceHandle instance) {
    ModuleCallMark mark("destroy", kNested);
    if (operations_.destroy != nullptr) operations_.destroy(instance);
}

const char* HandlerBinding::copy(host::InstanceHandle to, host::InstanceHandle from) {
    ModuleCallMark mark("copy", kNested);
    return operations_.copy != nullptr ? operations_.copy(to, from) : "no copy function";
}

std::string HandlerBinding::describe(host::InstanceHandle instance) {
    if (operations_.describe == nullptr) return "";
    ModuleCallMark mark("describe", kNested);
    const char* line = operations_.describe(instance);
    return line != nullptr ? line : "";
}

uint32_t HandlerBinding::flags(host::InstanceHandle instance) {
    ModuleCallMark mark("flags", kNested);
    uint32_t(HOST_CALL * read)(host::InstanceHandle) = speaksCurrent() ? currentRecord_.flags : record_.flags;
    return read != nullptr ? read(instance) : 0;
}

const char* HandlerBinding::load(host::InstanceHandle instance, BlockReader& reader) {
    ModuleCallMark mark("load", kNested);
    return operations_.load != nullptr ? operations_.load(instance, &reader.state()) : "no load function";
}

const char* HandlerBinding::save(host::InstanceHandle instance, BlockWriter& writer) {
    ModuleCallMark mark("save", kNested);
    return operations_.save != nullptr ? operations_.save(instance, &writer.state()) : "no save function";
}

void HandlerBinding::evaluate(host::InstanceHandle instance, ChannelAccessRecord& access) {
    ModuleCallMark mark("evaluate", access.access().frame, kNested);
    if (speaksCurrent()) {
        if (currentRecord_.evaluate != nullptr) currentRecord_.evaluate(instance, &access.currentAccess());
    } else if (record_.evaluate != nullptr) {
        record_.evaluate(instance, &access.access());
    }
}

const host::ItemId* HandlerBinding::useItems(host::InstanceHandle instance) {
    ModuleCallMark mark("useItems", kNested);
    return itemOperations_.useItems != nullptr ? itemOperations_.useItems(instance) : nullptr;
}

bool HandlerBinding::changeID(host::InstanceHandle instance, const host::ItemId* pairs) {
    if (itemOperations_.changeID == nullptr) return false;
    ModuleCallMark mark("changeID", kNested);
    itemOperations_.changeID(instance, pairs);
    return true;
}

int InterfaceBinding::activate(const LoadedModule& module, const ServerEntry& server, host::InstanceHandle instance,
                               int version) {
    return activateLinked(server.activate, instance, version, module.serverData());
}

int InterfaceBinding::activateLinked(host::ActivateFunction activation, host::InstanceHandle instance, int version,
                                     void* serverData) {
    record_ = host::InterfaceRecord{};
    record_.instance = instance;
    // Stale values that a successful activation must overwrite.
    record_.panel = kHostOwnedMarker;
    record_.options = reinterpret_cast<const char*(HOST_CALL*)(host::InstanceHandle)>(kHostOwnedMarker);
    ModuleCallMark mark("the ChannelInterface activation", kNested);
    return activation(version, HostSession::lookup(), &record_, serverData);
}

}  // namespace sim
