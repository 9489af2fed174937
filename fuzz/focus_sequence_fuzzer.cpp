// Drives Kelto Focus through its handler and interface records as the host
// does, with a sequence of calls the input chooses: instances created, copied
// and destroyed, blocks loaded, evaluations at any time, any value set on any
// of the panel's controls (not-a-number, infinities and negative lags
// included), and item edits that renumber IDs. After every step it checks
// what the modifier promises: names and descriptions terminated, every
// setting one the panel accepts, evaluations that keep the host's rules and
// are finite and no nearer than the near limit, a value that depends on the
// time alone (evaluated again after another time, the same bits), and a save
// that loads back and saves the same bytes.
#include <fuzzer/FuzzedDataProvider.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>

#include "focus/focus_block.h"
#include "focus/focus_handler_entry.h"
#include "focus/focus_interface_entry.h"
#include "focus/focus_panel.h"
#include "focus/focus_value.h"
#include "focus_settings_promise.h"
#include "handler_sequence.h"
#include "module/instance_handle.h"

namespace {

const size_t kMaxSteps = 64;
const size_t kMaxBlockLines = 14;
const size_t kMaxLineLength = 40;
using fuzz::require;

const uint32_t kControls[] = {kelto::kReferenceItemControl, kelto::kReferenceCameraControl, kelto::kMeasureControl,
                              kelto::kSubjectOffsetControl, kelto::kFocusOffsetControl,     kelto::kLagControl};
const size_t kControlCount = sizeof kControls / sizeof kControls[0];

// Lines a block may hold: every keyword, names, numbers at their limits.
const char* const kWords[] = {kelto::kFocusBlockStart,
                              kelto::kFocusBlockEnd,
                              "REFERENCE_ITEM",
                              "REFERENCE_CAMERA",
                              "VERSION 2",
                              "MEASURE 1",
                              "MEASURE 2",
                              "MEASURE -0",
                              "SUBJECT_OFFSET 0 0.5 -1",
                              "SUBJECT_OFFSET 1e308 1e308 1e308",
                              "FOCUS_OFFSET -1e300",
                              "FOCUS_OFFSET nan",
                              "LAG 0.5",
                              "LAG -1",
                              "LAG inf",
                              "LAG 1e-300",
                              "APERTURE 2.8",
                              "Ball",
                              "Camera",
                              "none",
                              ""};
const fuzz::BlockWords kBlockWords = {kWords, sizeof kWords / sizeof kWords[0], kMaxBlockLines, kMaxLineLength};

const double kOddValues[] = {0.0,
                             -0.0,
                             1e-300,
                             -1.0,
                             2.5,
                             1e308,
                             -1e308,
                             std::numeric_limits<double>::infinity(),
                             -std::numeric_limits<double>::infinity(),
                             std::numeric_limits<double>::quiet_NaN()};
const size_t kOddValueCount = sizeof kOddValues / sizeof kOddValues[0];

enum OwnStep { Evaluate, Revisit, Set, kOwnStepCount };

double valueFrom(FuzzedDataProvider& input) {
    return input.ConsumeBool() ? kOddValues[input.ConsumeIntegralInRange<size_t>(0, kOddValueCount - 1)]
                               : input.ConsumeFloatingPoint<double>();
}

class FocusSequence : public fuzz::HandlerSequence {
public:
    FocusSequence() : HandlerSequence(kelto::activateFocusHandler, kelto::activateFocusInterface, kBlockWords) {}
    void step(FuzzedDataProvider& input) { HandlerSequence::step(input, kOwnStepCount); }

private:
    void ownStep(int step, FuzzedDataProvider& input) override {
        switch (step) {
            case Evaluate:
                if (hasInstances()) evaluateFocus(pick(input), valueFrom(input));
                break;
            case Revisit:
                if (hasInstances()) revisit(pick(input), input);
                break;
            case Set:
                if (panel_ != nullptr) set(input);
                break;
        }
    }

    // The channel after one evaluation, which when set is no nearer than the
    // near limit, and reads no channel.
    double evaluateFocus(host::InstanceHandle instance, double time) {
        const sim::ChannelAccessRecord& access = evaluate(instance, time);
        require(access.getChannelCalls() == 0 && access.channelNameCalls() == 0);
        if (!access.setCalls().empty()) require(access.result() >= kelto::kNearestFocus);
        return access.result();
    }

    // No state is kept between evaluations: a time evaluated again after
    // another gives the same bits.
    void revisit(host::InstanceHandle instance, FuzzedDataProvider& input) {
        double time = valueFrom(input);
        double first = evaluateFocus(instance, time);
        evaluateFocus(instance, valueFrom(input));
        double again = evaluateFocus(instance, time);
        require(std::memcmp(&first, &again, sizeof first) == 0);
    }

    // Any control, with a value of its data type or of none.
    void set(FuzzedDataProvider& input) {
        uint32_t control = kControls[input.ConsumeIntegralInRange<size_t>(0, kControlCount - 1)];
        union {
            int32_t choice;
            double numbers[kelto::kAxisCount];
        } value;
        std::memset(&value, 0, sizeof value);
        if (input.ConsumeBool())
            value.choice = input.ConsumeIntegralInRange<int32_t>(-2, 9);
        else
            for (double& number : value.numbers) number = valueFrom(input);
        panel_->set(panel_->instance, control, &value);
        for (uint32_t each : kControls) panel_->get(panel_->instance, each);
    }

    void checkSaved(const sim::BlockWriter&) override {}

    void checkPromises() override {
        for (host::InstanceHandle handle : instances()) {
            const kelto::FocusInstance& instance = *kelto::instanceAs<kelto::FocusInstance>(handle);
            fuzz::requireTerminated(instance.itemName, sizeof instance.itemName);
            fuzz::requireTerminated(instance.cameraName, sizeof instance.cameraName);
            fuzz::requireTerminated(instance.description, sizeof instance.description);
            fuzz::requireAcceptable(instance.settings);
        }
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    FocusSequence sequence;
    for (size_t step = 0; step < kMaxSteps && input.remaining_bytes() > 0; ++step) sequence.step(input);
    return 0;
}
