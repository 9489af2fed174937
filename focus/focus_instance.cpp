#include "focus/focus_instance.h"

#include <cstdio>

namespace kelto {

const char kFocusDescriptionPrefix[] = "KELTO FOCUS";
const char kFocusIdleDescription[] = "KELTO FOCUS   Straight line";

void writeFocusDescription(FocusInstance& instance) {
    std::snprintf(instance.description, sizeof instance.description, "%s   %s", kFocusDescriptionPrefix,
                  measureName(instance.settings));
}

}  // namespace kelto
