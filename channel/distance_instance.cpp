#include "channel/distance_instance.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace kelto {

const char kDescriptionLine[] = "KELTO   by VEM";

namespace {

const uint32_t kNoFlags = 0;

void printDescription(DistanceInstance& instance) {
    std::snprintf(instance.description, sizeof instance.description, "%s", kDescriptionLine);
}

}  // namespace

DistanceInstance* createInstance() {
    void* memory = std::calloc(1, sizeof(DistanceInstance));
    if (memory == nullptr) return nullptr;
    DistanceInstance* instance = static_cast<DistanceInstance*>(memory);
    printDescription(*instance);
    return instance;
}

void destroyInstance(DistanceInstance* instance) { std::free(instance); }

void copyInstance(DistanceInstance& to, const DistanceInstance& from) {
    if (&to == &from) return;
    std::memcpy(&to, &from, sizeof to);
}

const char* describeInstance(DistanceInstance& instance) {
    printDescription(instance);
    return instance.description;
}

uint32_t instanceFlags(const DistanceInstance&) { return kNoFlags; }

}  // namespace kelto
