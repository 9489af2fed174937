// Instances: many of them, their copies, and what they tell the host of
// themselves.
#include <string>
#include <vector>

#include "host/channel_handler.h"
#include "simhost/modifiers/kelto_facts.h"
#include "simhost/validate/checks.h"
#include "simhost/validate/saved_blocks.h"

namespace sim {

namespace {

const int kInstances = 500;
// The frame copies are compared at.
const int kFrame = 24;
const char* const kNames[] = {"Ball", "Ground", "Tall Tree", kelto_facts::kNoneName, "Camera", "Close-up", "Missing"};

bool sameEvaluation(const Evaluation& a, const Evaluation& b) { return a.set == b.set && a.value == b.value; }

// An instance of random names and its copy, made after the original was
// evaluated or before; the copy is compared with its original, and its
// value at kFrame kept in `values`.
host::InstanceHandle copiedInstance(Bench& bench, std::mt19937& random, bool evaluatedFirst,
                                    std::vector<Evaluation>& values) {
    std::uniform_int_distribution<size_t> pickName(0, sizeof kNames / sizeof kNames[0] - 1);
    host::InstanceHandle original =
        bench.loaded(bench.referenceBlock(kNames[pickName(random)], kNames[pickName(random)]));
    host::InstanceHandle copy = bench.newInstance();
    if (original == nullptr || copy == nullptr) return nullptr;
    if (evaluatedFirst) bench.evaluated(original, 0);
    std::string error = bench.copied(copy, original);
    bench.expect().that(error.empty(), [&] { return "copy returned the error \"" + error + "\""; });
    double time = bench.timeOfFrame(kFrame);
    Evaluation a = bench.evaluated(original, time), b = bench.evaluated(copy, time);
    bench.expect().that(sameEvaluation(a, b), [&] {
        return "a copy evaluates to " + evaluationText(b) + ", its original to " + evaluationText(a);
    });
    bench.expect().that(sameLines(bench.saved(original), bench.saved(copy)), "a copy saves unlike its original");
    values.push_back(b);
    bench.discard(original);
    return copy;
}

void expectDescribed(Bench& bench, host::InstanceHandle instance, const char* when) {
    std::string line = bench.handler().describe(instance);
    bench.noteViolations();
    std::string problem = bench.modifier().descriptionProblem(line);
    bench.expect().that(problem.empty(), [&] {
        return "the description line of " + std::string(when) + " is \"" + line + "\", " + problem;
    });
    uint32_t flags = bench.handler().flags(instance);
    bench.expect().that(flags == host::kHandlerFlagsNone, [&] {
        return "the flags of " + std::string(when) + " are " + std::to_string(flags) + ", not 0";
    });
}

}  // namespace

// Copies of resolved and unresolved instances alike; originals destroyed
// while their copies live on, which must keep working as they did.
void checkInstances(CheckContext& context) {
    Bench bench(context.module(), context.protocol, context.modifier, context.expect);
    if (!bench.bind()) return;
    std::vector<host::InstanceHandle> copies;
    std::vector<Evaluation> values;
    for (int i = 0; i < kInstances && context.expect.ok(); ++i)
        copies.push_back(copiedInstance(bench, context.random, i % 2 == 0, values));
    for (size_t i = 0; i < copies.size() && context.expect.ok(); ++i) {
        Evaluation again = bench.evaluated(copies[i], bench.timeOfFrame(kFrame));
        context.expect.that(sameEvaluation(again, values[i]), [&] {
            return "a copy evaluates to " + evaluationText(again) + " once its original is destroyed, not " +
                   evaluationText(values[i]);
        });
    }
}

void checkDescription(CheckContext& context) {
    Bench bench(context.module(), context.protocol, context.modifier, context.expect);
    if (!bench.bind()) return;
    host::InstanceHandle fresh = bench.newInstance();
    host::InstanceHandle loaded = bench.loaded(bench.referenceBlock("Ball", "Camera"));
    host::InstanceHandle copy = bench.newInstance();
    if (fresh == nullptr || loaded == nullptr || copy == nullptr) return;
    expectDescribed(bench, fresh, "a new instance");
    expectDescribed(bench, loaded, "a loaded instance");
    bench.evaluated(loaded, 0);
    expectDescribed(bench, loaded, "an evaluated instance");
    expectDescribed(bench, loaded, "an instance described twice");
    bench.copied(copy, loaded);
    expectDescribed(bench, copy, "a copy");
}

const CheckDefinition kInstanceDefinitions[] = {
    {"instances", "many instances created, copied and destroyed: copies evaluate and save as their originals",
     CheckScope::EachProtocol, checkInstances},
    {"description", "the description line is the modifier's and the flags 0", CheckScope::EachProtocol,
     checkDescription},
};

constexpr CheckTable kInstanceChecks = checkTable(kInstanceDefinitions);

}  // namespace sim
