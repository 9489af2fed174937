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

// The record's layout is fixed: fields in this order and of these sizes.
static_assert(offsetof(kelto::DistanceInstance, description) == 0, "description first");
static_assert(offsetof(kelto::DistanceInstance, itemName) == kelto::kDescriptionSize, "itemName follows");
static_assert(offsetof(kelto::DistanceInstance, cameraName) == kelto::kDescriptionSize + kelto::kNameSize,
              "cameraName follows");
static_assert(offsetof(kelto::DistanceInstance, itemId) >= kelto::kDescriptionSize + 2 * kelto::kNameSize,
              "itemId follows the names");
static_assert(offsetof(kelto::DistanceInstance, cameraId) == offsetof(kelto::DistanceInstance, itemId) + sizeof(void*),
              "cameraId follows itemId");
static_assert(offsetof(kelto::DistanceInstance, itemChoice) == offsetof(kelto::DistanceInstance, cameraId) + sizeof(void*),
              "itemChoice follows cameraId");
static_assert(offsetof(kelto::DistanceInstance, cameraChoice) == offsetof(kelto::DistanceInstance, itemChoice) + 4,
              "cameraChoice follows itemChoice");
static_assert(offsetof(kelto::DistanceInstance, resolved) == offsetof(kelto::DistanceInstance, cameraChoice) + 4,
              "resolved last");
static_assert(sizeof(kelto::DistanceInstance::resolved) == 1, "resolved is one byte");
