// Loads a Kelto Focus block from a host whose every read is chosen by the
// input (see unruly_reader.h), then holds it to what the block promises:
// names terminated inside their buffers, every setting one the panel would
// accept, a save that loads back and saves the same bytes, and an evaluation
// that is either declined or finite and no nearer than the near limit.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "block_fuzz_host.h"
#include "focus/focus_block.h"
#include "focus/focus_handler_entry.h"
#include "focus/focus_value.h"
#include "focus_settings_promise.h"
#include "fuzz_promises.h"
#include "simhost/services/block_states.h"

namespace {

std::vector<std::string> savedLines(kelto::FocusInstance& instance) {
    sim::BlockWriter writer;
    kelto::saveFocusBlock(instance, writer.state());
    for (const sim::BlockWriter::Unit& unit : writer.units())
        fuzz::require(unit.length > 0 && unit.bytes.find('\0') == static_cast<size_t>(unit.length - 1));
    return writer.lines();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::BlockFuzzHost fuzzHost(kelto::activateFocusHandler, data, size);
    kelto::FocusInstance* instance = kelto::FocusLifecycle::create();
    kelto::loadFocusBlock(*instance, fuzzHost.unrulyState());
    fuzz::requireTerminated(instance->itemName, sizeof instance->itemName);
    fuzz::requireTerminated(instance->cameraName, sizeof instance->cameraName);
    fuzz::requireAcceptable(instance->settings);

    std::vector<std::string> first = savedLines(*instance);
    kelto::FocusInstance* again = kelto::FocusLifecycle::create();
    sim::BlockReader lines(first);
    kelto::loadFocusBlock(*again, lines.state());
    fuzz::require(savedLines(*again) == first);

    double value = 0;
    if (kelto::evaluateFocus(*instance, 0.0, value))
        fuzz::require(std::isfinite(value) && value >= kelto::kNearestFocus);
    fuzzHost.requireNoViolations();
    kelto::FocusLifecycle::destroy(again);
    kelto::FocusLifecycle::destroy(instance);
    return 0;
}
