// Drives the module through its handler and interface records as the host
// does, with a sequence of calls that the input chooses: instances created,
// copied and destroyed, blocks loaded, evaluations at any time, panel gets and
// sets, popup walks, and item edits that renumber IDs through changeID. After
// every step it checks what the module promises: names terminated inside their
// buffers, evaluations that keep the host's rules and Kelto's promises (one
// set-channel at most, a finite distance, no channel read), no call the host
// forbids (a dead ID included), and a save that loads back to the same
// references.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "channel/distance_instance.h"
#include "host/channel_handler.h"
#include "module/handler_entry.h"
#include "module/interface_entry.h"
#include "module/instance_handle.h"
#include "simhost/modifiers/kelto_facts.h"
#include "simhost/run/edit_application.h"
#include "simhost/services/host_session.h"
#include "simhost/services/server_bindings.h"

namespace {

const size_t kMaxInstances = 4;
const size_t kMaxSteps = 64;
const size_t kMaxBlockLines = 10;
using sim::kelto_facts::kCameraControl;
using sim::kelto_facts::kItemControl;
using sim::kelto_facts::kNameBufferSize;

const char* const kWords[] = {
    sim::kelto_facts::kBlockStart, sim::kelto_facts::kBlockEnd, sim::kelto_facts::kItemKeyword,
    sim::kelto_facts::kCameraKeyword, "REFERENCE", "Ball", "Ground", "Camera", "Close-up", sim::kelto_facts::kNoneName,
    "", " Ball", "Twin"};
const size_t kWordCount = sizeof kWords / sizeof kWords[0];
const char* const kNames[] = {"Ball", "Ground", "Twin", sim::kelto_facts::kNoneName, "Camera", "Close-up", "New"};
const size_t kNameCount = sizeof kNames / sizeof kNames[0];

enum Step { Create, Destroy, Copy, Load, Evaluate, OpenPanel, Pick, Walk, Edit, Save, kStepCount };

void require(bool promise) {
    if (!promise) std::abort();
}

sim::Scene startingScene() {
    sim::Scene scene;
    scene.addObject("Ball", {1, 2, 3}).keys.push_back({24, {-4, 2, 9}});
    scene.addObject("Ground");
    scene.addObject("Twin", {5, 5, 5});
    scene.addObject("none", {0, 1, 0});
    scene.addCamera("Camera", {4, 5, 6});
    scene.addCamera("Twin", {-1, -1, -1});
    scene.addCamera("Close-up", {2, 0.5, 3});
    return scene;
}

std::vector<std::string> blockFrom(FuzzedDataProvider& input) {
    std::vector<std::string> block;
    size_t lines = input.ConsumeIntegralInRange<size_t>(0, kMaxBlockLines);
    for (size_t i = 0; i < lines; ++i)
        block.push_back(input.ConsumeBool() ? kWords[input.ConsumeIntegralInRange<size_t>(0, kWordCount - 1)]
                                            : input.ConsumeRandomLengthString(300));
    return block;
}

class Sequence {
public:
    Sequence() : scene_(startingScene()), session_(scene_) {
        require(handler_.activateLinked(kelto::activateChannelHandler, host::kClassicClassVersion) ==
                host::kActivationOk);
    }
    ~Sequence() {
        for (host::InstanceHandle instance : instances_) handler_.destroy(instance);
    }

    void step(FuzzedDataProvider& input) {
        switch (input.ConsumeIntegralInRange<int>(0, kStepCount - 1)) {
            case Create:
                if (instances_.size() < kMaxInstances) instances_.push_back(handler_.create());
                break;
            case Destroy:
                if (!instances_.empty()) {
                    size_t at = pick(input);
                    handler_.destroy(instances_[at]);
                    instances_.erase(instances_.begin() + long(at));
                    panel_ = nullptr;  // it may have viewed that instance
                }
                break;
            case Copy:
                if (!instances_.empty()) require(handler_.copy(instances_[pick(input)], instances_[pick(input)]) == nullptr);
                break;
            case Load:
                if (!instances_.empty()) {
                    sim::BlockReader reader(blockFrom(input));
                    require(handler_.load(instances_[pick(input)], reader) == nullptr);
                }
                break;
            case Evaluate:
                if (!instances_.empty()) evaluateAndCheck(instances_[pick(input)], input.ConsumeFloatingPointInRange(-2.0, 6.0));
                break;
            case OpenPanel:
                if (!instances_.empty()) openPanel(instances_[pick(input)]);
                break;
            case Pick:
                if (panel_ != nullptr) {
                    int32_t value = input.ConsumeIntegralInRange<int32_t>(-2, 9);
                    uint32_t control = input.ConsumeBool() ? kItemControl : kCameraControl;
                    panel_->set(panel_->instance, control, &value);
                }
                break;
            case Walk:
                if (panel_ != nullptr) walk(input);
                break;
            case Edit:
                edit(input);
                break;
            case Save:
                if (!instances_.empty()) saveLoadsBack(instances_[pick(input)]);
                break;
        }
        checkPromises();
    }

private:
    size_t pick(FuzzedDataProvider& input) { return input.ConsumeIntegralInRange<size_t>(0, instances_.size() - 1); }

    void evaluateAndCheck(host::InstanceHandle instance, double time) {
        sim::ChannelAccessRecord access(0, time, -1);
        handler_.evaluate(instance, access);
        require(sim::kelto_facts::evaluationProblem(access).empty());
    }

    void openPanel(host::InstanceHandle instance) {
        sim::InterfaceBinding binding;
        require(binding.activateLinked(kelto::activateChannelInterface, instance, host::kClassicClassVersion) ==
                host::kActivationOk);
        panel_ = session_.panels().panelOf(binding.record().panel);
        require(panel_ != nullptr);
    }

    // Popup entries as the toolkit reads them, any index asked for, and
    // both values read: every text a terminated string.
    void walk(FuzzedDataProvider& input) {
        uint32_t control = input.ConsumeBool() ? kItemControl : kCameraControl;
        const sim::SimPopup& popup = panel_->popups.at(control);
        void* user = panel_->userData[host::kPanelControlId];
        int count = popup.count(user);
        require(count >= 1);
        int index = input.ConsumeIntegralInRange<int>(-2, count + 2);
        const char* name = popup.name(user, index);
        require(name != nullptr && std::strlen(name) < kNameBufferSize);
        require(session_.panels().valueOf(*panel_, kItemControl) != nullptr);
        require(session_.panels().valueOf(*panel_, kCameraControl) != nullptr);
    }

    void edit(FuzzedDataProvider& input) {
        sim::SceneEdit change;
        change.kind = sim::EditKind(input.ConsumeIntegralInRange<int>(0, 2));
        change.typeCode = input.ConsumeBool() ? host::kItemTypeObject : host::kItemTypeCamera;
        change.name = kNames[input.ConsumeIntegralInRange<size_t>(0, kNameCount - 1)];
        change.newName = kNames[input.ConsumeIntegralInRange<size_t>(0, kNameCount - 1)];
        // An edit of an item that is not there is refused by the host, and fine.
        sim::makeEdit(session_, handler_, instances_, change);
    }

    // A save loads back into a new instance that saves the same block again.
    void saveLoadsBack(host::InstanceHandle instance) {
        sim::BlockWriter first;
        require(handler_.save(instance, first) == nullptr);
        require(first.units().size() == sim::kelto_facts::kBlockLines);
        for (const sim::BlockWriter::Unit& unit : first.units())
            require(unit.length == int(unit.line().size()) + 1 && size_t(unit.length) <= kNameBufferSize);
        host::InstanceHandle copy = handler_.create();
        sim::BlockReader reader(first.lines());
        handler_.load(copy, reader);
        sim::BlockWriter second;
        handler_.save(copy, second);
        handler_.destroy(copy);
        require(first.lines() == second.lines());
    }

    void checkPromises() {
        for (host::InstanceHandle handle : instances_) {
            const kelto::DistanceInstance& instance = *kelto::instanceOf(handle);
            require(std::memchr(instance.itemName, '\0', sizeof instance.itemName) != nullptr);
            require(std::memchr(instance.cameraName, '\0', sizeof instance.cameraName) != nullptr);
            require(std::memchr(instance.description, '\0', sizeof instance.description) != nullptr);
        }
        require(session_.violations().empty());
    }

    sim::Scene scene_;
    sim::HostSession session_;
    sim::HandlerBinding handler_;
    std::vector<host::InstanceHandle> instances_;
    sim::SimPanel* panel_ = nullptr;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    Sequence sequence;
    for (size_t step = 0; step < kMaxSteps && input.remaining_bytes() > 0; ++step) sequence.step(input);
    return 0;
}
