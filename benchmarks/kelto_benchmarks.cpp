// What the modules cost the host, measured through the loaded kelto.p and
// kelto_focus.p as the host calls them: a resolved evaluation beside a bare
// loop that does the same queries and arithmetic, Kelto Focus's evaluation
// with each setting that changes its cost, allocations per evaluation,
// resolution and the popup functions per item, save and load.
// Run: tools/bench.sh
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "allocation_counter.h"
#include "bench_scene.h"
#include "focus_blocks.h"
#include "host/channel_handler.h"
#include "host/item_info.h"
#include "simhost/modifiers/kelto_facts.h"
#include "simhost/modifiers/kelto_focus_facts.h"
#include "simhost/run/scene_run.h"
#include "simhost/scene/scene_file.h"
#include "simhost/services/host_session.h"
#include "simhost/services/module_loader.h"
#include "simhost/services/server_bindings.h"

namespace {

const char kBareBaseline[] = "BareBaseline";
const char kModuleEvaluation[] = "ResolvedEvaluation";
const int kEvaluationsCounted = 1000000;

const sim::LoadedModule& kelto() {
    static std::unique_ptr<sim::LoadedModule> module = bench::loadModule(KELTO_MODULE_PATH, "kelto_benchmarks");
    return *module;
}

// The current build, where this build has one apart from kelto.p; else null.
const sim::LoadedModule* keltoCurrent() {
    static std::unique_ptr<sim::LoadedModule> module =
        std::string(KELTO_CURRENT_MODULE_PATH).empty()
            ? nullptr
            : bench::loadModule(KELTO_CURRENT_MODULE_PATH, "kelto_benchmarks");
    return module.get();
}

const sim::LoadedModule& keltoFocus() {
    static std::unique_ptr<sim::LoadedModule> module = bench::loadModule(KELTO_FOCUS_MODULE_PATH, "kelto_benchmarks");
    return *module;
}

// Kelto bound under the classic protocol, over `items` objects and cameras.
class BenchScene : public bench::BenchScene {
public:
    explicit BenchScene(int items)
        : bench::BenchScene(kelto(), sim::kelto_facts::kServerName, sim::kelto_facts::referenceBlock, items) {
        if (!problem.empty()) std::fprintf(stderr, "kelto_benchmarks: %s\n", problem.c_str());
    }
};

// The floor, as bench::bareEvaluation defines it.
void BareBaseline(benchmark::State& state) {
    BenchScene bench(2);
    const host::ChannelAccess* access = &bench.access;
    benchmark::DoNotOptimize(access);
    const host::ItemInfoService& info = bench.itemInfo();
    host::ItemId item = bench.referenced(host::kItemTypeObject);
    host::ItemId camera = bench.referenced(host::kItemTypeCamera);
    for (auto _ : state)
        bench::bareEvaluation(info, item, camera,
                              [access](double value) { access->setChannel(access->channel, value); });
    benchmark::DoNotOptimize(bench::g_channel);
}
BENCHMARK(BareBaseline);

void ResolvedEvaluation(benchmark::State& state) {
    BenchScene bench(2);
    bench.evaluateChannel();
    for (auto _ : state) bench.evaluateChannel();
    benchmark::DoNotOptimize(bench::g_channel);
}
BENCHMARK(ResolvedEvaluation);

// Kelto Focus's resolved evaluation with the settings of `block`.
void focusEvaluation(benchmark::State& state, bench::ReferenceBlock block) {
    bench::BenchScene bench(keltoFocus(), sim::kelto_focus_facts::kServerName, block, 2);
    if (!bench.problem.empty()) return state.SkipWithError(bench.problem.c_str());
    bench.evaluateChannel();
    for (auto _ : state) bench.evaluateChannel();
    benchmark::DoNotOptimize(bench::g_channel);
}
BENCHMARK_CAPTURE(focusEvaluation, StraightLine, bench::focusStraightBlock);
BENCHMARK_CAPTURE(focusEvaluation, AlongViewWithOffset, bench::focusAlongViewBlock);
BENCHMARK_CAPTURE(focusEvaluation, Lag, bench::focusLagBlock);

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
    sim::SimPanel* panel = bench.driver->session().panels().panelOf(binding.record().panel);
    if (panel == nullptr) return state.SkipWithError("no panel");
    const sim::SimPopup& popup = panel->popups.at(sim::kelto_facts::kItemControl);
    for (auto _ : state) {
        int count = popup.count(bench.instance);
        benchmark::DoNotOptimize(popup.name(bench.instance, count - 1));
    }
    perItem(state, items);
}
BENCHMARK(PopupLastEntry)->Arg(10)->Arg(1000)->Arg(100000);

// A run of a scene whose edits all fall before one frame, each adding an
// object: the panel is drawn once for them all, so the cost per edit stays
// flat however many there are.
void EditsBeforeOneFrame(benchmark::State& state) {
    const int edits = int(state.range(0));
    sim::Scene scene;
    scene.addObject("Ball");
    scene.addCamera("Camera");
    scene.modifierBlock = sim::kelto_facts::referenceBlock("Ball", "Camera");
    for (int n = 0; n < edits; ++n) {
        sim::SceneEdit edit;
        edit.kind = sim::EditKind::Add;
        edit.name = "Added " + std::to_string(n);
        scene.edits.push_back(edit);
    }
    for (auto _ : state) {
        sim::Scene run = scene;
        sim::RunReport report = sim::runScene(kelto(), run, sim::RunOptions());
        if (!report.error.empty()) return state.SkipWithError(report.error.c_str());
    }
    perItem(state, edits);
}
BENCHMARK(EditsBeforeOneFrame)->Arg(1000)->Arg(80000)->Iterations(1)->Unit(benchmark::kMillisecond);

// The scene file a user writes to try many edits: `items` items (objects and
// a camera), then as many edit lines before frame 1, the first half adding
// objects and the second deleting them again, the latest first.
std::string manyEditsScene(int items) {
    std::string text = "frames 0 1\ncamera Camera\nkey 0 0 1.6 -10\n";
    for (int n = 1; n < items; ++n)
        text += "object Object " + std::to_string(n) + "\nkey 0 " + std::to_string(n) + " 0 0\n";
    const int added = items / 2;
    for (int n = 0; n < added; ++n) text += "edit add object Added " + std::to_string(n) + "@1\n";
    for (int n = added - 1; n >= 0; --n) text += "edit delete Added " + std::to_string(n) + "@1\n";
    text += "block\n";
    for (const std::string& line : sim::kelto_facts::referenceBlock("Object 1", "Camera")) text += "| " + line + "\n";
    return text + "end block\n";
}

// That scene read and run, on a classic host (0) or a current one (1) with
// the current build: every edit made before the one frame costs the same
// however many items and edits there are (the time per item stays flat).
void ManyEditsBeforeOneFrame(benchmark::State& state) {
    const int items = int(state.range(0));
    const bool current = state.range(1) != 0;
    const sim::LoadedModule* module = current ? keltoCurrent() : &kelto();
    if (module == nullptr) return state.SkipWithError("no current build here");
    const std::string text = manyEditsScene(items);
    sim::RunOptions options;
    options.host = current ? sim::HostKind::Current : sim::HostKind::Classic;
    for (auto _ : state) {
        sim::SceneParse parsed = sim::parseScene(text, "many-edits.scene");
        if (!parsed.error.empty()) return state.SkipWithError(parsed.error.c_str());
        sim::RunReport report = sim::runScene(*module, parsed.scene, options);
        if (!report.error.empty() || !report.violations.empty()) return state.SkipWithError("the run failed");
    }
    perItem(state, items);
}
BENCHMARK(ManyEditsBeforeOneFrame)
    ->ArgNames({"items", "current"})
    ->Args({25000, 0})
    ->Args({100000, 0})
    ->Args({25000, 1})
    ->Args({100000, 1})
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

void SaveBlock(benchmark::State& state) {
    BenchScene bench(2);
    bench.evaluateChannel();
    for (auto _ : state) {
        sim::BlockWriter writer;
        bench.driver->save(bench.instance, writer);
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
