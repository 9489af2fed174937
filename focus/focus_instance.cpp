#include "focus/focus_instance.h"

#include <cstdio>

#include "channel/instance_record.h"

namespace kelto {

const char kFocusDescriptionPrefix[] = "KELTO FOCUS";
const char kFocusIdleDescription[] = "KELTO FOCUS   Straight line";

namespace {

const uint32_t kNoFlags = 0;

void printDescription(FocusInstance& instance) {
    std::snprintf(instance.description, sizeof instance.description, "%s   %s", kFocusDescriptionPrefix,
                  measureName(instance.settings));
}

}  // namespace

FocusInstance* createFocusInstance() {
    FocusInstance* instance = newZeroedRecord<FocusInstance>();
    if (instance != nullptr) printDescription(*instance);
    return instance;
}

void destroyFocusInstance(FocusInstance* instance) { freeRecord(instance); }

void copyFocusInstance(FocusInstance& to, const FocusInstance& from) { copyRecord(to, from); }

const char* describeFocusInstance(FocusInstance& instance) {
    printDescription(instance);
    return instance.description;
}

uint32_t focusInstanceFlags(const FocusInstance&) { return kNoFlags; }

}  // namespace kelto
