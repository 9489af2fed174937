// What the simulated host's scenes cost it: a world position through a deep
// hierarchy, which costs the item's depth and not the scene's size, and
// reading the host's scene file, linear in the file in time and memory.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <cstdio>
#include <string>

#include "host/item_info.h"
#include "simhost/scene/host_scene_file.h"
#include "simhost/services/host_session.h"
#include "simhost/services/item_ids.h"
#include "simhost/services/service_tables.h"

namespace {

const int kFrames = 1000;
const double kFramesPerSecond = 24;
const double kBytesPerMiB = 1024.0 * 1024.0;

// `items` objects in chains of `depth`, each the child of the one before,
// turned and moved by spline keys over kFrames frames.
sim::Scene hierarchy(int items, int depth) {
    sim::Scene scene;
    scene.clock = sim::MotionClock::Seconds;
    scene.framesPerSecond = kFramesPerSecond;
    scene.lastFrame = kFrames - 1;
    for (int n = 0; n < items; ++n) {
        sim::SceneItem& item = scene.add(host::kItemTypeObject, "Link " + std::to_string(n));
        if (n % depth != 0) item.parent = scene.objects[size_t(n - 1)].serial;
        for (int key = 0; key < 4; ++key) {
            const double time = key * kFrames / 3.0 / kFramesPerSecond;
            for (int channel = sim::kPositionX; channel <= sim::kBank; ++channel) {
                sim::EnvelopeKey k;
                k.time = time;
                k.value = channel < sim::kHeading ? (n % 7) - 3.0 + key : 10.0 * key + channel;
                item.motion.channels[channel].keys.push_back(k);
            }
        }
    }
    return scene;
}

// Per query of the deepest item of the last chain, a frame after another.
void WorldPositionQuery(benchmark::State& state) {
    const int items = int(state.range(0)), depth = int(state.range(1));
    sim::Scene scene = hierarchy(items, depth);
    sim::HostSession session(scene);
    const host::ItemInfoService& info = sim::itemInfoServiceTable();
    host::ItemId deepest = sim::itemIdAt(host::kItemTypeObject, size_t(items - 1));
    double position[3];
    int frame = 0;
    for (auto _ : state) {
        info.param(deepest, host::kItemParamWorldPosition, frame / kFramesPerSecond, position);
        benchmark::DoNotOptimize(position[0]);
        frame = (frame + 1) % kFrames;
    }
    state.counters["depth"] = depth;
}
BENCHMARK(WorldPositionQuery)->Args({100, 100})->Args({10000, 100})->Args({10000, 10})->Args({10000, 1});

// A version 5 file of about `mebibytes` MiB: objects each the child of the
// one before, in chains of 100, keyed at every tenth frame of 1,000.
std::string hostSceneText(double mebibytes) {
    std::string text = "LWSC\n5\n\nFirstFrame 0\nLastFrame 999\nFrameStep 1\nFramesPerSecond 24\n\n";
    char line[128];
    for (int item = 0; text.size() < mebibytes * kBytesPerMiB; ++item) {
        std::snprintf(line, sizeof line, "AddNullObject %08X Null %d\nObjectMotion\nNumChannels 9\n", 0x10000000 + item,
                      item);
        text += line;
        for (int channel = 0; channel < 9; ++channel) {
            std::snprintf(line, sizeof line, "Channel %d\n{ Envelope\n  100\n", channel);
            text += line;
            for (int key = 0; key < 100; ++key) {
                std::snprintf(line, sizeof line, "  Key %.17g %.17g 0 0 0 0 0 0 0\n", channel + key * 0.25,
                              key * 10 / 24.0);
                text += line;
            }
            text += "  Behaviors 1 1\n}\n";
        }
        if (item % 100 != 0) {
            std::snprintf(line, sizeof line, "ParentItem %08X\n", 0x10000000 + item - 1);
            text += line;
        }
        text += "\n";
    }
    return text;
}

long peakResidentKiB() {
    rusage usage;
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// Time per MiB of file, and the peak of the process's memory.
void ReadHostScene(benchmark::State& state) {
    const std::string text = hostSceneText(double(state.range(0)));
    for (auto _ : state) {
        sim::SceneParse parsed = sim::parseHostScene(text, "bench.lws");
        if (!parsed.error.empty()) return state.SkipWithError(parsed.error.c_str());
        benchmark::DoNotOptimize(parsed.scene.objects.size());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(text.size()));
    state.counters["file MiB"] = double(text.size()) / kBytesPerMiB;
    state.counters["peak RSS MiB"] = double(peakResidentKiB()) / 1024.0;
}
BENCHMARK(ReadHostScene)->Arg(8)->Arg(64)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
