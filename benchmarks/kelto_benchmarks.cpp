// What the module costs the host, measured through the loaded kelto.p as the
// host calls it: a resolved evaluation beside a bare loop that does the same
// queries and arithmetic, allocations per evaluation, resolution and the popup
// functions per item, save and load. Run: tools/bench.sh
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <map>
#include <set>
#include <memory>
#include <string>
#include <vector>

#include "allocation_counter.h"
#include "host/channel_handler.h"
#include "host/item_info.h"
#include "simhost/modifiers/kelto_facts.h"
#include "simhost/services/host_session.h"
#include "simhost/services/module_loader.h"
#include "simhost/services/server_bindings.h"

namespace {

const double kTime = 0.5;
const char kBareBaseline[] = "BareBaseline";
const char kModuleEvaluation[] = "ResolvedEvaluation";
const int kEvaluationsCounted = 1000000;

const sim::LoadedModule& kelto() {
    static std::unique_ptr<sim::LoadedModule> module = [] {
        sim::LoadResult loaded = sim::LoadedModule::load(KELTO_MODULE_PATH);
        if (!loaded.module) std::fprintf(stderr, "kelto_benchmarks: %s\n", loaded.error.c_str());
        return std::move(loaded.module);
    }();
    return *module;
}

// Where the benchmark's set-channel puts the value, so no work is skipped.
double g_channel = 0;
void HOST_CALL storeChannel(host::ChannelId, double value) { g_channel = value; }

// A scene of `items` objects and as many cameras, served by the simulated
// host, with the module's handler bound and one instance referring to the
// last object and the last camera: the far end of both lists.
class BenchScene {
public:
    explicit BenchScene(int items) {
        for (int i = 0; i < items; ++i) {
            scene.addObject("Object " + std::to_string(i), {double(i), 0.25, 1});
            scene.addCamera("Camera " + std::to_string(i), {0.5, double(i), -2});
        }
        session.reset(new sim::HostSession(scene));
        const sim::ServerEntry* server = kelto().findServer(HOST_CHANNEL_HANDLER_CLASS, sim::kelto_facts::kServerName);
        if (server == nullptr || handler.activate(kelto(), *server) != host::kActivationOk)
            std::fprintf(stderr, "kelto_benchmarks: the handler is not bound\n");
        instance = handler.create();
        std::string last = std::to_string(items - 1);
        block = sim::kelto_facts::referenceBlock("Object " + last, "Camera " + last);
        loadBlock();
        access = {nullptr, 0, kTime, 0, nullptr, storeChannel, nullptr};
    }
    ~BenchScene() { handler.destroy(instance); }

    void loadBlock() {
        sim::BlockReader reader(block);
        handler.load(instance, reader);
    }
    void evaluateChannel() { handler.record().evaluate(instance, &access); }

    sim::Scene scene;
    std::unique_ptr<sim::HostSession> session;
    sim::HandlerBinding handler;
    host::InstanceHandle instance = nullptr;
    std::vector<std::string> block;
    host::ChannelAccess access;
};

// The floor: the same two position queries through the same item-info table,
// the same arithmetic and the same set-channel call through the access
// record, with nothing of the module around them.
void BareBaseline(benchmark::State& state) {
    BenchScene bench(2);
    const host::ChannelAccess* access = &bench.access;
    benchmark::DoNotOptimize(access);
    const host::ItemInfoService& info =
        *static_cast<const host::ItemInfoService*>(sim::HostSession::lookup()(HOST_ITEM_INFO_SERVICE, 0));
    host::ItemId item = info.next(info.first(host::kItemTypeObject, nullptr));
    host::ItemId camera = info.next(info.first(host::kItemTypeCamera, nullptr));
    for (auto _ : state) {
        double a[3], b[3];
        info.param(item, host::kItemParamWorldPosition, kTime, a);
        info.param(camera, host::kItemParamWorldPosition, kTime, b);
        double sz = std::pow(a[2] - b[2], 2.0);
        double sy = std::pow(a[1] - b[1], 2.0);
        double sx = std::pow(a[0] - b[0], 2.0);
        access->setChannel(access->channel, std::sqrt((sz + sy) + sx));
    }
    benchmark::DoNotOptimize(g_channel);
}
BENCHMARK(BareBaseline);

void ResolvedEvaluation(benchmark::State& state) {
    BenchScene bench(2);
    bench.evaluateChannel();
    for (auto _ : state) bench.evaluateChannel();
    benchmark::DoNotOptimize(g_channel);
}
BENCHMARK(ResolvedEvaluation);

// Heap allocations over a million resolved evaluations; the count is the result.
void AllocationsPerMillionEvaluations(benchmark::State& state) {
    BenchScene bench(2);
    bench.evaluateChannel();
    size_t allocations = 0;
    for (auto _ : state) {
        size_t before = bench::allocationCount();
        for (int i = 0; i < kEvaluationsCounted; ++i) bench.evaluateChannel();
        allocations = bench::allocationCount() - before;
    }
    state.counters["allocations"] = double(allocations);
}
BENCHMARK(AllocationsPerMillionEvaluations)->Iterations(1)->Unit(benchmark::kMillisecond);

// Time per item of the list, the figure that must stay flat as scenes grow.
void perItem(benchmark::State& state, int items) {
    state.counters["per_item"] =
        benchmark::Counter(double(items), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

// The first evaluation after a load finds both references by name.
void Resolution(benchmark::State& state) {
    int items = int(state.range(0));
    BenchScene bench(items);
    for (auto _ : state) {
        bench.loadBlock();
        bench.evaluateChannel();
    }
    perItem(state, items);
}
BENCHMARK(Resolution)->Arg(10)->Arg(1000)->Arg(100000);

// The popup functions as the toolkit calls them for the last entry.
void PopupLastEntry(benchmark::State& state) {
    int items = int(state.range(0));
    BenchScene bench(items);
    sim::InterfaceBinding binding;
    binding.activate(kelto(), *kelto().findServer(HOST_CHANNEL_INTERFACE_CLASS, sim::kelto_facts::kServerName),
                     bench.instance);
    sim::SimPanel* panel = bench.session->panels().panelOf(binding.record().panel);
    if (panel == nullptr) return state.SkipWithError("no panel");
    const sim::SimPopup& popup = panel->popups.at(sim::kelto_facts::kItemControl);
    for (auto _ : state) {
        int count = popup.count(bench.instance);
        benchmark::DoNotOptimize(popup.name(bench.instance, count - 1));
    }
    perItem(state, items);
}
BENCHMARK(PopupLastEntry)->Arg(10)->Arg(1000)->Arg(100000);

void SaveBlock(benchmark::State& state) {
    BenchScene bench(2);
    bench.evaluateChannel();
    for (auto _ : state) {
        sim::BlockWriter writer;
        bench.handler.save(bench.instance, writer);
        benchmark::DoNotOptimize(writer.units().size());
    }
}
BENCHMARK(SaveBlock);

void LoadBlock(benchmark::State& state) {
    BenchScene bench(2);
    for (auto _ : state) bench.loadBlock();
}
BENCHMARK(LoadBlock);

// The console's table, and the time per iteration of each benchmark kept by
// name: its median over repetitions when there are any, else its one run.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            const std::string& name = run.run_name.function_name;
            bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
            if (median || (run.run_type == Run::RT_Iteration && medians.count(name) == 0))
                times[name] = run.GetAdjustedRealTime();
            if (median) medians.insert(name);
        }
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, double> times;
    std::set<std::string> medians;
};

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    kelto();
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    auto bare = reporter.times.find(kBareBaseline), module = reporter.times.find(kModuleEvaluation);
    if (bare != reporter.times.end() && module != reporter.times.end() && bare->second > 0)
        std::printf("\nResolved evaluation / bare baseline: %.3f (%.2f ns / %.2f ns)\n", module->second / bare->second,
                    module->second, bare->second);
    benchmark::Shutdown();
    return 0;
}
