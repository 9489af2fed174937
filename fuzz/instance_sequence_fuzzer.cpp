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
#include <cstring>

#include "channel/distance_instance.h"
#include "handler_sequence.h"
#include "module/distance_handle.h"
#include "module/handler_entry.h"
#include "module/interface_entry.h"
#include "simhost/modifiers/kelto_facts.h"

namespace {

const size_t kMaxSteps = 64;
const size_t kMaxBlockLines = 10;
const size_t kMaxLineLength = 300;
using fuzz::require;
using sim::kelto_facts::kCameraControl;
using sim::kelto_facts::kItemControl;
using sim::kelto_facts::kNameBufferSize;

const char* const kWords[] = {sim::kelto_facts::kBlockStart,
                              sim::kelto_facts::kBlockEnd,
                              sim::kelto_facts::kItemKeyword,
                              sim::kelto_facts::kCameraKeyword,
                              "REFERENCE",
                              "Ball",
                              "Ground",
                              "Camera",
                              "Close-up",
                              sim::kelto_facts::kNoneName,
                              "",
                              " Ball",
                              "Twin"};
const fuzz::BlockWords kBlockWords = {kWords, sizeof kWords / sizeof kWords[0], kMaxBlockLines, kMaxLineLength};

enum OwnStep { Evaluate, Pick, Walk, kOwnStepCount };

class Sequence : public fuzz::HandlerSequence {
public:
    Sequence() : HandlerSequence(kelto::activateChannelHandler, kelto::activateChannelInterface, kBlockWords) {}
    void step(FuzzedDataProvider& input) { HandlerSequence::step(input, kOwnStepCount); }

private:
    void ownStep(int step, FuzzedDataProvider& input) override {
        switch (step) {
            case Evaluate:
                // Kelto's promises beyond the host's rules: no channel read, no name asked.
                if (hasInstances())
                    require(sim::kelto_facts::brokenPromise(
                                evaluate(pick(input), input.ConsumeFloatingPointInRange(-2.0, 6.0)))
                                .empty());
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
        }
    }

    // Popup entries as the toolkit reads them, any index asked for, and
    // both values read: every text a terminated string.
    void walk(FuzzedDataProvider& input) {
        uint32_t control = input.ConsumeBool() ? kItemControl : kCameraControl;
        const sim::SimPopup& popup = panel_->popups.at(control);
        void* user = session().panels().popupData(*panel_, control);
        int count = popup.count(user);
        require(count >= 1);
        int index = input.ConsumeIntegralInRange<int>(-2, count + 2);
        const char* name = popup.name(user, index);
        require(name != nullptr && std::strlen(name) < kNameBufferSize);
        require(session().panels().valueOf(*panel_, kItemControl) != nullptr);
        require(session().panels().valueOf(*panel_, kCameraControl) != nullptr);
    }

    void checkSaved(const sim::BlockWriter& writer) override {
        require(writer.units().size() == sim::kelto_facts::kBlockLines);
        for (const sim::BlockWriter::Unit& unit : writer.units()) require(size_t(unit.length) <= kNameBufferSize);
    }

    void checkPromises() override {
        for (host::InstanceHandle handle : instances()) {
            const kelto::DistanceInstance& instance = *kelto::instanceOf(handle);
            fuzz::requireTerminated(instance.itemName, sizeof instance.itemName);
            fuzz::requireTerminated(instance.cameraName, sizeof instance.cameraName);
            fuzz::requireTerminated(instance.description, sizeof instance.description);
        }
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    Sequence sequence;
    for (size_t step = 0; step < kMaxSteps && input.remaining_bytes() > 0; ++step) sequence.step(input);
    return 0;
}
