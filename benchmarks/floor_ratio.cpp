// kelto-floor: what a resolved evaluation costs the host against the floor,
// for any build of the modules, Windows ones under Wine included (it needs no
// benchmark library). Each case is timed in rounds, the cases interleaved
// within a round so that they share the machine's drift, and the medians
// compared. Run: tools/bench.sh, or
//   kelto-floor [--rounds N] KELTO_MODULE [KELTO_FOCUS_MODULE]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "bench_scene.h"
#include "focus_blocks.h"
#include "simhost/modifiers/kelto_facts.h"
#include "simhost/modifiers/kelto_focus_facts.h"

namespace {

const int kDefaultRounds = 15;
const int kMaxRounds = 1000;
// Iterations of a case per round: long enough that the clock's grain is lost.
const long kIterations = 200000;
const char kUsage[] = "usage: kelto-floor [--rounds N] KELTO_MODULE [KELTO_FOCUS_MODULE]";

struct Case {
    std::string name;
    std::function<double()> nanosecondsPerCall;  // one timed run of the case
    std::vector<double> nanoseconds;
};

// A case's call inlined into its own timing loop, so that no case pays for
// an indirection the others do not.
template <typename Call>
std::function<double()> timed(Call call) {
    return [call] {
        call();  // warm up
        auto start = std::chrono::steady_clock::now();
        for (long i = 0; i < kIterations; ++i) call();
        std::chrono::duration<double, std::nano> spent = std::chrono::steady_clock::now() - start;
        return spent.count() / double(kIterations);
    };
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Every case once a round, starting one further along each round.
void measure(std::vector<Case>& cases, int rounds) {
    for (int round = 0; round < rounds; ++round)
        for (size_t k = 0; k < cases.size(); ++k) {
            Case& each = cases[(k + size_t(round)) % cases.size()];
            each.nanoseconds.push_back(each.nanosecondsPerCall());
        }
}

// The floor for evaluations through the record of `scene`'s version.
Case bareCase(bench::BenchScene& scene) {
    const host::ItemInfoService* info = &scene.itemInfo();
    host::ItemId item = scene.referenced(host::kItemTypeObject);
    host::ItemId camera = scene.referenced(host::kItemTypeCamera);
    if (scene.current) {
        const host::ChannelAccessCurrent* access = &scene.currentAccess;
        return {"bare baseline",
                timed([=] {
                    bench::bareEvaluation(*info, item, camera, [access](double value) {
                        access->setChannel(access->hostData, access->channel, value);
                    });
                }),
                {}};
    }
    const host::ChannelAccess* access = &scene.access;
    return {"bare baseline",
            timed([=] {
                bench::bareEvaluation(*info, item, camera,
                                      [access](double value) { access->setChannel(access->channel, value); });
            }),
            {}};
}

Case evaluationCase(const std::string& name, bench::BenchScene& scene) {
    scene.evaluateChannel();  // resolves the references
    bench::BenchScene* bound = &scene;
    return {name, timed([bound] { bound->evaluateChannel(); }), {}};
}

std::string versionText(int version) {
    return version == host::kCurrentClassVersion ? "current protocol (version 5)" : "classic protocol (version 4)";
}

// Measures one module at one version; false when it cannot be bound there.
bool report(const sim::LoadedModule& kelto, const sim::LoadedModule* focus, int version, int rounds) {
    bench::BenchScene keltoScene(kelto, sim::kelto_facts::kServerName, sim::kelto_facts::referenceBlock, 2, version);
    if (!keltoScene.problem.empty()) {
        std::printf("%s: %s\n", versionText(version).c_str(), keltoScene.problem.c_str());
        return false;
    }
    std::vector<Case> cases = {bareCase(keltoScene), evaluationCase("Kelto, resolved evaluation", keltoScene)};
    std::vector<std::unique_ptr<bench::BenchScene>> focusScenes;
    const struct {
        const char* name;
        bench::ReferenceBlock block;
    } focusCases[] = {{"Kelto Focus, straight line", bench::focusStraightBlock},
                      {"Kelto Focus, along view with an offset", bench::focusAlongViewBlock},
                      {"Kelto Focus, lag of 0.5 s", bench::focusLagBlock}};
    if (focus != nullptr)
        for (const auto& each : focusCases) {
            focusScenes.emplace_back(
                new bench::BenchScene(*focus, sim::kelto_focus_facts::kServerName, each.block, 2, version));
            if (!focusScenes.back()->problem.empty()) {
                std::printf("kelto-floor: %s: %s\n", each.name, focusScenes.back()->problem.c_str());
                return false;
            }
            cases.push_back(evaluationCase(each.name, *focusScenes.back()));
        }
    measure(cases, rounds);
    double floor = median(cases[0].nanoseconds);
    std::printf("%s, medians of %d rounds:\n", versionText(version).c_str(), rounds);
    for (const Case& each : cases) {
        double ns = median(each.nanoseconds);
        std::printf("  %-40s %8.2f ns  %6.3f x the floor\n", each.name.c_str(), ns, ns / floor);
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    int rounds = kDefaultRounds;
    std::vector<const char*> paths;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--rounds") == 0 && i + 1 < argc) {
            char* end = nullptr;
            long value = std::strtol(argv[++i], &end, 10);
            if (*end != '\0' || value < 1 || value > kMaxRounds) {
                std::fprintf(stderr, "kelto-floor: --rounds takes a number from 1 to %d\n", kMaxRounds);
                return 2;
            }
            rounds = int(value);
        } else {
            paths.push_back(argv[i]);
        }
    }
    if (paths.empty() || paths.size() > 2) {
        std::fprintf(stderr, "%s\n", kUsage);
        return 2;
    }
    std::unique_ptr<sim::LoadedModule> kelto = bench::loadModule(paths[0], "kelto-floor");
    std::unique_ptr<sim::LoadedModule> focus = paths.size() > 1 ? bench::loadModule(paths[1], "kelto-floor") : nullptr;
    if (!kelto || (paths.size() > 1 && !focus)) return 1;
    std::printf("kelto-floor: %s%s%s\n", paths[0], focus ? " and " : "", focus ? paths[1] : "");
    if (!report(*kelto, focus.get(), host::kClassicClassVersion, rounds)) {
        std::fprintf(stderr, "kelto-floor: the modules cannot be bound under the classic protocol\n");
        return 1;
    }
    report(*kelto, focus.get(), host::kCurrentClassVersion, rounds);
    return 0;
}
