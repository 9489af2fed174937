// Kelto Focus's per-channel record and the lifecycle operations that do not
// touch the scene file.
#pragma once

#include <cstddef>
#include <cstdint>

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

// A zero-filled instance from the heap with its description set, or null when
// the heap is exhausted.
FocusInstance* createFocusInstance();

// Returns the instance to the heap; null is ignored.
void destroyFocusInstance(FocusInstance* instance);

// Makes `to` an exact duplicate of `from`.
void copyFocusInstance(FocusInstance& to, const FocusInstance& from);

// Rewrites and returns the instance's description: "KELTO FOCUS", three
// spaces and the measure in force, "KELTO FOCUS   Along view".
const char* describeFocusInstance(FocusInstance& instance);

// Handler flags: none.
uint32_t focusInstanceFlags(const FocusInstance& instance);

}  // namespace kelto
