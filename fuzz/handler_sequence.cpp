#include "handler_sequence.h"

namespace fuzz {

namespace {

const size_t kMaxInstances = 4;
const double kChannelValue = -1;  // what the channel holds before the modifier
const char* const kNames[] = {"Ball", "Ground", "Twin", "none", "Camera", "Close-up", "New"};
const size_t kNameCount = sizeof kNames / sizeof kNames[0];

// Objects and cameras with a name in common, one named "none", and keys.
sim::Scene startingScene() {
    sim::Scene scene;
    scene.addObject("Ball", {1, 2, 3}).motion.keyPosition(24, {-4, 2, 9});
    scene.addObject("Ground");
    scene.addObject("Twin", {5, 5, 5});
    scene.addObject("none", {0, 1, 0});
    scene.addCamera("Camera", {4, 5, 6}).motion.keyPosition(48, {1, 2, 3});
    scene.addCamera("Twin", {-1, -1, -1});
    scene.addCamera("Close-up", {2, 0.5, 3});
    return scene;
}

}  // namespace

HandlerSequence::HandlerSequence(host::ActivateFunction handler, host::ActivateFunction interface, BlockWords words)
    : scene_(startingScene()), driver_(scene_), interface_(interface), words_(words) {
    require(driver_.handler().activateLinked(handler, host::kClassicClassVersion) == host::kActivationOk);
}

// The record ends before the driver destroys the instances.
HandlerSequence::~HandlerSequence() { access_.reset(); }

void HandlerSequence::step(FuzzedDataProvider& input, int ownStepCount) {
    int chosen = input.ConsumeIntegralInRange<int>(0, kSharedStepCount + ownStepCount - 1);
    if (chosen < kSharedStepCount)
        sharedStep(chosen, input);
    else
        ownStep(chosen - kSharedStepCount, input);
    checkPromises();
    require(session().violations().empty());
}

void HandlerSequence::sharedStep(int step, FuzzedDataProvider& input) {
    switch (step) {
        case Create:
            if (instances().size() < kMaxInstances) require(driver_.create() != nullptr);
            break;
        case Destroy:
            if (hasInstances()) {
                driver_.destroy(pick(input));
                panel_ = nullptr;  // it may have viewed that instance
            }
            break;
        case Copy:
            if (hasInstances()) require(driver_.handler().copy(pick(input), pick(input)) == nullptr);
            break;
        case Load:
            if (hasInstances()) {
                std::vector<std::string> block = blockFrom(input);
                require(driver_.load(pick(input), block) == nullptr);
            }
            break;
        case OpenPanel:
            if (hasInstances()) {
                sim::InterfaceBinding binding;
                require(binding.activateLinked(interface_, pick(input), host::kClassicClassVersion) ==
                        host::kActivationOk);
                panel_ = session().panels().panelOf(binding.record().panel);
                require(panel_ != nullptr);
            }
            break;
        case Edit: edit(input); break;
        case Save:
            if (hasInstances()) saveLoadsBack(pick(input));
            break;
    }
}

std::vector<std::string> HandlerSequence::blockFrom(FuzzedDataProvider& input) const {
    std::vector<std::string> block;
    size_t lines = input.ConsumeIntegralInRange<size_t>(0, words_.maxLines);
    for (size_t i = 0; i < lines; ++i)
        block.push_back(input.ConsumeBool() ? words_.words[input.ConsumeIntegralInRange<size_t>(0, words_.count - 1)]
                                            : input.ConsumeRandomLengthString(words_.maxLength));
    return block;
}

void HandlerSequence::edit(FuzzedDataProvider& input) {
    sim::SceneEdit change;
    change.kind = sim::EditKind(input.ConsumeIntegralInRange<int>(0, 2));
    change.typeCode = input.ConsumeBool() ? host::kItemTypeObject : host::kItemTypeCamera;
    change.name = kNames[input.ConsumeIntegralInRange<size_t>(0, kNameCount - 1)];
    change.newName = kNames[input.ConsumeIntegralInRange<size_t>(0, kNameCount - 1)];
    // An edit of an item that is not there is refused by the host, and fine.
    driver_.edit(change);
}

const sim::ChannelAccessRecord& HandlerSequence::evaluate(host::InstanceHandle instance, double time) {
    access_.reset();  // one record is current at a time: the old one ends first
    access_.reset(new sim::ChannelAccessRecord(0, time, kChannelValue));
    driver_.evaluate(instance, *access_);
    require(access_->brokenRule().empty());
    return *access_;
}

// A save loads back into a new instance that saves the same lines again.
void HandlerSequence::saveLoadsBack(host::InstanceHandle instance) {
    sim::BlockWriter first;
    require(driver_.save(instance, first) == nullptr);
    for (const sim::BlockWriter::Unit& unit : first.units()) require(unit.length == int(unit.line().size()) + 1);
    checkSaved(first);
    host::InstanceHandle copy = driver_.create();
    require(copy != nullptr && driver_.load(copy, first.lines()) == nullptr);
    sim::BlockWriter second;
    driver_.save(copy, second);
    driver_.destroy(copy);
    require(first.lines() == second.lines());
}

}  // namespace fuzz
