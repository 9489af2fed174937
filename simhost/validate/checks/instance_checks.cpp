// Instances: many of them, their copies, and what they tell the host of
// themselves.
#include <string>
#include <vector>

#include "host/channel_handler.h"
#include "simhost/modifiers/reference_facts.h"
#include "simhost/validate/checks/check_tables.h"
#include "simhost/validate/saved_blocks.h"

namespace sim {

namespace {

const int kInstances = 500;
// The frame copies are compared at.
const int kFrame = 24;
const char* const kNames[] = {"Ball",   "Ground",   "Tall Tree", reference_facts::kNoneName,
                              "Camera", "Close-up", "Missing"};

bool sameEvaluation(const Evaluation& a, const Evaluation& b) { return a.set == b.set && a.value == b.value; }

// An instance of random names and its copy, made after the original was
// evaluated or before; the copy is compared with its original, and its
// value at kFrame kept in `values`.
host::InstanceHandle copiedInstance(CheckRig& rig, std::mt19937& random, bool evaluatedFirst,
                                    std::vector<Evaluation>& values) {
    std::uniform_int_distribution<size_t> pickName(0, sizeof kNames / sizeof kNames[0] - 1);
    host::InstanceHandle original = rig.loaded(rig.referenceBlock(kNames[pickName(random)], kNames[pickName(random)]));
    host::InstanceHandle copy = rig.newInstance();
    if (original == nullptr || copy == nullptr) return nullptr;
    if (evaluatedFirst) rig.evaluated(original, 0);
    std::string error = rig.copied(copy, original);
    rig.expect().that(error.empty(), [&] { return "copy returned the error \"" + error + "\""; });
    double time = rig.timeOfFrame(kFrame);
    Evaluation a = rig.evaluated(original, time), b = rig.evaluated(copy, time);
    rig.expect().that(sameEvaluation(a, b), [&] {
        return "a copy evaluates to " + evaluationText(b) + ", its original to " + evaluationText(a);
    });
    rig.expect().that(sameLines(rig.saved(original), rig.saved(copy)), "a copy saves unlike its original");
    values.push_back(b);
    rig.discard(original);
    return copy;
}

void expectDescribed(CheckRig& rig, host::InstanceHandle instance, const char* when) {
    std::string line = rig.handler().describe(instance);
    rig.noteViolations();
    std::string problem = rig.modifier().descriptionProblem(line);
    rig.expect().that(problem.empty(), [&] {
        return "the description line of " + std::string(when) + " is \"" + line + "\", " + problem;
    });
    uint32_t flags = rig.handler().flags(instance);
    rig.expect().that(flags == host::kHandlerFlagsNone, [&] {
        return "the flags of " + std::string(when) + " are " + std::to_string(flags) + ", not 0";
    });
}

}  // namespace

// Copies of resolved and unresolved instances alike; originals destroyed
// while their copies live on, which must keep working as they did.
void checkInstances(CheckContext& context) {
    CheckRig rig(context.module(), context.protocol, context.modifier, context.expect);
    if (!rig.bind()) return;
    std::vector<host::InstanceHandle> copies;
    std::vector<Evaluation> values;
    for (int i = 0; i < kInstances && context.expect.ok(); ++i)
        copies.push_back(copiedInstance(rig, context.random, i % 2 == 0, values));
    for (size_t i = 0; i < copies.size() && context.expect.ok(); ++i) {
        Evaluation again = rig.evaluated(copies[i], rig.timeOfFrame(kFrame));
        context.expect.that(sameEvaluation(again, values[i]), [&] {
            return "a copy evaluates to " + evaluationText(again) + " once its original is destroyed, not " +
                   evaluationText(values[i]);
        });
    }
}

void checkDescription(CheckContext& context) {
    CheckRig rig(context.module(), context.protocol, context.modifier, context.expect);
    if (!rig.bind()) return;
    host::InstanceHandle fresh = rig.newInstance();
    host::InstanceHandle loaded = rig.loaded(rig.referenceBlock("Ball", "Camera"));
    host::InstanceHandle copy = rig.newInstance();
    if (fresh == nullptr || loaded == nullptr || copy == nullptr) return;
    expectDescribed(rig, fresh, "a new instance");
    expectDescribed(rig, loaded, "a loaded instance");
    rig.evaluated(loaded, 0);
    expectDescribed(rig, loaded, "an evaluated instance");
    expectDescribed(rig, loaded, "an instance described twice");
    rig.copied(copy, loaded);
    expectDescribed(rig, copy, "a copy");
}

const CheckDefinition kInstanceDefinitions[] = {
    {"instances", "many instances created, copied and destroyed: copies evaluate and save as their originals",
     CheckScope::EachProtocol, checkInstances},
    {"description", "the description line is the modifier's and the flags 0", CheckScope::EachProtocol,
     checkDescription},
};

constexpr CheckTable kInstanceChecks = checkTable(kInstanceDefinitions);

}  // namespace sim
