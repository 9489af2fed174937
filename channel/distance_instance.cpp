#include "channel/distance_instance.h"

#include <cstdio>

#include "channel/instance_record.h"

namespace kelto {

const char kDescriptionLine[] = "KELTO   by VEM";

namespace {

const uint32_t kNoFlags = 0;

void printDescription(DistanceInstance& instance) {
    std::snprintf(instance.description, sizeof instance.description, "%s", kDescriptionLine);
}

}  // namespace

DistanceInstance* createInstance() {
    DistanceInstance* instance = newZeroedRecord<DistanceInstance>();
    if (instance != nullptr) printDescription(*instance);
    return instance;
}

void destroyInstance(DistanceInstance* instance) { freeRecord(instance); }

void copyInstance(DistanceInstance& to, const DistanceInstance& from) { copyRecord(to, from); }

const char* describeInstance(DistanceInstance& instance) {
    printDescription(instance);
    return instance.description;
}

uint32_t instanceFlags(const DistanceInstance&) { return kNoFlags; }

}  // namespace kelto
