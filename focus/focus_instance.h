// Kelto Focus's per-channel record and the lifecycle operations that do not
// touch the scene file.
#pragma once

#include <cstddef>

#include "channel/instance_record.h"
#include "channel/item_references.h"
#include "focus/focus_settings.h"

namespace kelto {

const size_t kFocusDescriptionSize = 64;

// What every description line begins with; the measure's name follows.
extern const char kFocusDescriptionPrefix[];  // "KELTO FOCUS"

// The line of an instance with the default settings.
extern const char kFocusIdleDescription[];  // "KELTO FOCUS   Straight line"

// Fixed-size record, zero when new: the references, the settings (zero is
// each one's default) and the description line.
struct FocusInstance : ItemReferences {
    FocusSettings settings;
    char description[kFocusDescriptionSize];
};

// Writes the description: "KELTO FOCUS", three spaces and the measure in
// force, "KELTO FOCUS   Along view".
void writeFocusDescription(FocusInstance& instance);

// Kelto Focus's lifecycle: describe writes the measure in force afresh.
typedef InstanceOperations<FocusInstance, writeFocusDescription> FocusLifecycle;

}  // namespace kelto
