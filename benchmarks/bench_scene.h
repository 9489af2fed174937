// A scene for measuring a modifier through its loaded module file as the host
// calls it: `items` objects and as many cameras, driven by the simulated
// host's handler driver (simhost/run/handler_driver.h), the modifier's
// handler bound at a chosen version, and one instance
// whose block names the last object and the last camera (the far end of both
// lists). Beside it, the floor: the bare work any evaluation of a distance
// must do.
#pragma once

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "host/channel_handler.h"
#include "host/item_info.h"
#include "simhost/run/handler_driver.h"
#include "simhost/services/module_loader.h"

namespace bench {

const double kTime = 0.5;

// The module file at `path`, loaded as the host loads it; null, with a line
// on standard error that starts with `program`, when it does not load.
std::unique_ptr<sim::LoadedModule> loadModule(const char* path, const char* program);

// The lines of a block naming two references, in the modifier's own format.
typedef std::vector<std::string> (*ReferenceBlock)(const std::string& item, const std::string& camera);

// Where the set-channel of every access record below puts the value, so
// that no work is skipped.
extern double g_channel;

class BenchScene {
public:
    // On failure `problem` says why, in one line, and nothing can be measured.
    BenchScene(const sim::LoadedModule& module, const char* serverName, ReferenceBlock block, int items,
               int version = host::kClassicClassVersion);

    void loadBlock(const std::vector<std::string>& lines);
    void loadBlock() { loadBlock(block); }
    // One evaluation through the record of the bound version, straight into
    // the module: the driver's own record would be measured with it.
    void evaluateChannel() {
        if (current)
            driver->handler().currentRecord().evaluate(instance, &currentAccess);
        else
            driver->handler().record().evaluate(instance, &access);
    }
    const host::ItemInfoService& itemInfo() const;
    // The item of the type that the instance refers to: the last of its list.
    host::ItemId referenced(int typeCode) const;

    std::string problem;
    sim::Scene scene;
    std::unique_ptr<sim::HandlerDriver> driver;  // made once the scene holds its items
    host::InstanceHandle instance = nullptr;
    std::vector<std::string> block;
    bool current = false;
    host::ChannelAccess access;
    host::ChannelAccessCurrent currentAccess;
};

// The floor: two position queries through the host's item-info table, the
// distance by the same arithmetic as Kelto's ((dz² + dy²) + dx², then the
// square root) and one set-channel call through the access record, with
// nothing of a module around them.
template <typename SetChannel>
inline void bareEvaluation(const host::ItemInfoService& info, host::ItemId item, host::ItemId camera,
                           SetChannel setChannel) {
    double a[3], b[3];
    info.param(item, host::kItemParamWorldPosition, kTime, a);
    info.param(camera, host::kItemParamWorldPosition, kTime, b);
    double sz = std::pow(a[2] - b[2], 2.0);
    double sy = std::pow(a[1] - b[1], 2.0);
    double sx = std::pow(a[0] - b[0], 2.0);
    setChannel(std::sqrt((sz + sy) + sx));
}

}  // namespace bench
