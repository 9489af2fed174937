// The instance record's life: create, describe, flags, copy, destroy.
#include <gtest/gtest.h>

#include <cstring>

#include "channel/distance_instance.h"

using kelto::DistanceInstance;

namespace {

struct InstanceDeleter {
    void operator()(DistanceInstance* instance) const { kelto::destroyInstance(instance); }
};
using InstancePtr = std::unique_ptr<DistanceInstance, InstanceDeleter>;

InstancePtr newInstance() { return InstancePtr(kelto::createInstance()); }

}  // namespace

TEST(InstanceLifecycle, NewInstanceIsBlankAndDescribesItself) {
    InstancePtr instance = newInstance();
    ASSERT_NE(instance, nullptr);
    EXPECT_STREQ(instance->description, "KELTO   by VEM");
    EXPECT_STREQ(instance->itemName, "");
    EXPECT_STREQ(instance->cameraName, "");
    EXPECT_EQ(instance->itemId, nullptr);
    EXPECT_EQ(instance->cameraId, nullptr);
    EXPECT_EQ(instance->itemChoice, 0);
    EXPECT_EQ(instance->cameraChoice, 0);
    EXPECT_EQ(instance->resolved, 0);
    EXPECT_EQ(instance->choicesStale, 0);
    for (host::ItemId used : instance->usedItems) EXPECT_EQ(used, nullptr);
    EXPECT_EQ(kelto::instanceFlags(*instance), 0u);
}

TEST(InstanceLifecycle, DescribeRewritesTheLineIntoTheInstance) {
    InstancePtr instance = newInstance();
    std::strcpy(instance->description, "scribbled over");
    const char* line = kelto::describeInstance(*instance);
    EXPECT_EQ(line, instance->description);
    EXPECT_STREQ(line, "KELTO   by VEM");
}

TEST(InstanceLifecycle, CopyDuplicatesEveryFieldAndLeavesTheSource) {
    InstancePtr source = newInstance();
    std::strcpy(source->itemName, "Ball");
    std::strcpy(source->cameraName, "Camera with a long name");
    int itemTarget = 0, cameraTarget = 0;
    source->itemId = &itemTarget;
    source->cameraId = &cameraTarget;
    source->itemChoice = 3;
    source->cameraChoice = -2;
    source->resolved = 1;
    source->choicesStale = 1;
    source->usedItems[0] = &cameraTarget;
    DistanceInstance before = *source;

    InstancePtr destination = newInstance();
    std::strcpy(destination->itemName, "Old");
    destination->cameraChoice = 9;
    kelto::copyInstance(*destination, *source);

    EXPECT_EQ(std::memcmp(destination.get(), source.get(), sizeof(DistanceInstance)), 0);
    EXPECT_EQ(std::memcmp(source.get(), &before, sizeof(DistanceInstance)), 0);

    kelto::copyInstance(*source, *source);
    EXPECT_EQ(std::memcmp(source.get(), &before, sizeof(DistanceInstance)), 0);
}

TEST(InstanceLifecycle, DestroyOfNullIsHarmless) {
    kelto::destroyInstance(nullptr);
    InstancePtr instance = newInstance();
    EXPECT_NE(instance, nullptr);
}
