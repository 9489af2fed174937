// What the call-sequence targets of both modifiers share: a scene driven by
// the simulated host's handler driver (simhost/run/handler_driver.h), the
// modifier's handler bound through its linked activation, a few instances,
// the panel last opened, and the steps every
// modifier takes alike (instances created, destroyed and copied, blocks
// loaded, the panel opened, item edits that renumber IDs, a save that must
// load back to the same lines). A target adds its own steps and promises.
#pragma once

#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "fuzz_promises.h"
#include "host/host_types.h"
#include "simhost/run/handler_driver.h"

namespace fuzz {

// Lines a loaded block is made of: one of `words`, or any text of up to
// `maxLength` bytes; up to `maxLines` of them.
struct BlockWords {
    const char* const* words;
    size_t count;
    size_t maxLines;
    size_t maxLength;
};

class HandlerSequence {
public:
    enum SharedStep { Create, Destroy, Copy, Load, OpenPanel, Edit, Save, kSharedStepCount };

    HandlerSequence(host::ActivateFunction handler, host::ActivateFunction interface, BlockWords words);
    ~HandlerSequence();
    HandlerSequence(const HandlerSequence&) = delete;
    HandlerSequence& operator=(const HandlerSequence&) = delete;

    // Takes one step: a shared one, or the target's own (step - kSharedStepCount)
    // through ownStep; then checks the target's promises and that the host saw
    // no forbidden call.
    void step(FuzzedDataProvider& input, int ownStepCount);

protected:
    virtual void ownStep(int step, FuzzedDataProvider& input) = 0;
    virtual void checkPromises() = 0;
    // What a saved block must hold beyond loading back to the same lines.
    virtual void checkSaved(const sim::BlockWriter& writer) = 0;

    bool hasInstances() const { return !instances().empty(); }
    host::InstanceHandle pick(FuzzedDataProvider& input) {
        return instances()[input.ConsumeIntegralInRange<size_t>(0, instances().size() - 1)];
    }
    const std::vector<host::InstanceHandle>& instances() const { return driver_.instances(); }
    sim::HostSession& session() { return driver_.session(); }
    // The channel after one evaluation at `time`, which must keep the host's rules.
    const sim::ChannelAccessRecord& evaluate(host::InstanceHandle instance, double time);

    sim::Scene scene_;
    sim::HandlerDriver driver_;
    sim::SimPanel* panel_ = nullptr;

private:
    void sharedStep(int step, FuzzedDataProvider& input);
    std::vector<std::string> blockFrom(FuzzedDataProvider& input) const;
    void edit(FuzzedDataProvider& input);
    void saveLoadsBack(host::InstanceHandle instance);

    host::ActivateFunction interface_;
    BlockWords words_;
    std::unique_ptr<sim::ChannelAccessRecord> access_;
};

}  // namespace fuzz
