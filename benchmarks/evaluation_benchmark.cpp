// What an evaluation costs once resolved, and what resolution costs as the
// scene grows: run build/native/kelto_benchmarks.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <memory>

#include "channel/distance_evaluation.h"
#include "channel/distance_instance.h"
#include "host/channel_handler.h"
#include "host/module_descriptor.h"
#include "module/handler_entry.h"
#include "simhost/host_session.h"

namespace {

// A scene of `items` objects and cameras, served and held as after activation.
struct BenchScene {
    explicit BenchScene(int items) {
        for (int i = 0; i < items; ++i) {
            scene.addObject("Object " + std::to_string(i), {double(i), 0, 0});
            scene.addCamera("Camera " + std::to_string(i), {0, double(i), 1});
        }
        session.reset(new sim::HostSession(scene));
        host::InstanceOperations operations{};
        host::HandlerRecord record{};
        record.instance = &operations;
        kelto::activateChannelHandler(host::kClassicClassVersion, sim::HostSession::lookup(), &record, nullptr);
        std::memset(&instance, 0, sizeof instance);
        std::snprintf(instance.itemName, sizeof instance.itemName, "Object %d", items - 1);
        std::snprintf(instance.cameraName, sizeof instance.cameraName, "Camera %d", items - 1);
    }
    sim::Scene scene;
    std::unique_ptr<sim::HostSession> session;
    kelto::DistanceInstance instance;
};

void ResolvedEvaluation(benchmark::State& state) {
    BenchScene bench(static_cast<int>(state.range(0)));
    double distance = 0;
    kelto::evaluateDistance(bench.instance, 0.5, distance);
    for (auto _ : state) kelto::evaluateDistance(bench.instance, 0.5, distance);
    benchmark::DoNotOptimize(distance);
}
BENCHMARK(ResolvedEvaluation)->Arg(2)->Arg(1000);

void FirstEvaluationResolvesNames(benchmark::State& state) {
    BenchScene bench(static_cast<int>(state.range(0)));
    double distance = 0;
    for (auto _ : state) {
        bench.instance.resolved = 0;
        kelto::evaluateDistance(bench.instance, 0.5, distance);
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK(FirstEvaluationResolvesNames)->Range(8, 4096)->Complexity();

}  // namespace

BENCHMARK_MAIN();
