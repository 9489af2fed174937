#include "channel/distance_instance.h"

#include <cstdio>

namespace kelto {

const char kDescriptionLine[] = "KELTO   by VEM";

void writeDistanceDescription(DistanceInstance& instance) {
    std::snprintf(instance.description, sizeof instance.description, "%s", kDescriptionLine);
}

}  // namespace kelto
