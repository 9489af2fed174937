#include "bench_scene.h"

#include <cstdio>

namespace bench {

double g_channel = 0;

namespace {

void HOST_CALL storeChannel(host::ChannelId, double value) { g_channel = value; }
void HOST_CALL storeCurrentChannel(void*, host::ChannelId, double value) { g_channel = value; }

}  // namespace

std::unique_ptr<sim::LoadedModule> loadModule(const char* path, const char* program) {
    sim::LoadResult loaded = sim::LoadedModule::load(path);
    if (!loaded.module) std::fprintf(stderr, "%s: %s\n", program, loaded.error.c_str());
    return std::move(loaded.module);
}

BenchScene::BenchScene(const sim::LoadedModule& module, const char* serverName, ReferenceBlock makeBlock, int items,
                       int version) {
    for (int i = 0; i < items; ++i) {
        scene.addObject("Object " + std::to_string(i), {double(i), 0.25, 1});
        scene.addCamera("Camera " + std::to_string(i), {0.5, double(i), -2});
    }
    driver.reset(new sim::HandlerDriver(scene));
    const sim::ServerEntry* server = module.findServer(HOST_CHANNEL_HANDLER_CLASS, serverName);
    if (server == nullptr) {
        problem = std::string("the module has no ChannelHandler \"") + serverName + "\"";
        return;
    }
    if (driver->handler().activate(module, *server, version) != host::kActivationOk) {
        problem = "the handler refuses version " + std::to_string(version);
        return;
    }
    current = version == host::kCurrentClassVersion;
    instance = driver->create();
    std::string last = std::to_string(items - 1);
    block = makeBlock("Object " + last, "Camera " + last);
    loadBlock();
    access = {nullptr, 0, kTime, 0, nullptr, storeChannel, nullptr};
    currentAccess = {nullptr, nullptr, 0, kTime, 0, nullptr, storeCurrentChannel, nullptr};
}

void BenchScene::loadBlock(const std::vector<std::string>& lines) { driver->load(instance, lines); }

const host::ItemInfoService& BenchScene::itemInfo() const {
    return *static_cast<const host::ItemInfoService*>(sim::HostSession::lookup()(HOST_ITEM_INFO_SERVICE, 0));
}

host::ItemId BenchScene::referenced(int typeCode) const {
    const host::ItemInfoService& info = itemInfo();
    host::ItemId last = info.first(typeCode, nullptr);
    for (host::ItemId next = last; next != nullptr; next = info.next(next)) last = next;
    return last;
}

}  // namespace bench
