// The instance record's life apart from the scene file: its description, and
// copies, which must go on alone. What a new instance holds, its flags and a
// null destroy are tested through kelto.p (the e2e suites ChannelFixture,
// PanelFixture, ModuleFixture and KeltoHost.InfoShowsTheModuleAndAnInstance).
#include <sys/resource.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include "channel/distance_evaluation.h"
#include "channel/distance_instance.h"
#include "channel/item_renumbering.h"
#include "host/channel_handler.h"
#include "module/handler_entry.h"
#include "panel/reference_panel.h"
#include "simhost/scene/scene.h"
#include "simhost/services/host_session.h"
#include "unit_support.h"

#if defined(__has_feature)
#define KELTO_HAS_ADDRESS_SANITIZER __has_feature(address_sanitizer)
#else
#define KELTO_HAS_ADDRESS_SANITIZER 0
#endif

using kelto::DistanceInstance;

namespace {

struct InstanceDeleter {
    void operator()(DistanceInstance* instance) const { kelto::DistanceLifecycle::destroy(instance); }
};
using InstancePtr = std::unique_ptr<DistanceInstance, InstanceDeleter>;

// A new instance holding the names a loaded block would give it.
InstancePtr newInstance(const char* item = "", const char* camera = "") {
    InstancePtr instance(kelto::DistanceLifecycle::create());
    if (instance != nullptr) {
        std::snprintf(instance->itemName, sizeof instance->itemName, "%s", item);
        std::snprintf(instance->cameraName, sizeof instance->cameraName, "%s", camera);
    }
    return instance;
}

// The host keeps the line it is handed until its next call for that
// instance, and may hold several instances' lines at once: each reads the
// modifier's line whatever is done to the others meanwhile, a copy made from
// it and the other's destruction included.
TEST(InstanceLifecycle, EachDescriptionLineHoldsUntilTheNextCallForItsInstance) {
    InstancePtr first = newInstance("Ball", "Camera");
    InstancePtr second = newInstance();
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    const char* firstLine = kelto::DistanceLifecycle::describe(*first);
    kelto::DistanceLifecycle::describe(*second);
    kelto::DistanceLifecycle::copy(*second, *first);
    EXPECT_STREQ(kelto::DistanceLifecycle::describe(*second), "KELTO   by VEM");
    second.reset();
    EXPECT_STREQ(firstLine, "KELTO   by VEM");
}

// With the heap exhausted, create gives no instance rather than writing
// through none. Tried in a child whose address space is closed, once its heap
// has no room left for a record; a sanitizer's allocator cannot be run out that way.
#if defined(__SANITIZE_ADDRESS__) || KELTO_HAS_ADDRESS_SANITIZER
TEST(InstanceLifecycle, AnExhaustedHeapGivesNoInstance) {
    GTEST_SKIP() << "an address-space limit cannot be set under AddressSanitizer";
}
#else
// Create is called as the host calls it, through the activated handler's
// table.
[[noreturn]] void createWithTheHeapExhausted() {
    sim::Scene scene;
    sim::HostSession session(scene);
    host::InstanceOperations operations{};
    host::HandlerRecord record{};
    record.instance = &operations;
    if (kelto::activateChannelHandler(host::kClassicClassVersion, sim::HostSession::lookup(), &record, nullptr) !=
        host::kActivationOk)
        ::_exit(3);
    const struct rlimit closed = {0, 0};
    if (::setrlimit(RLIMIT_AS, &closed) != 0) ::_exit(2);
    void* volatile taken = nullptr;  // volatile, so that no allocation is left out
    while ((taken = std::calloc(1, sizeof(DistanceInstance))) != nullptr) {}
    ::_exit(operations.create(operations.hostData, nullptr, nullptr) == nullptr ? 0 : 1);
}

TEST(InstanceLifecycle, AnExhaustedHeapGivesNoInstance) {
    EXPECT_EXIT(createWithTheHeapExhausted(), ::testing::ExitedWithCode(0), "");
}
#endif

class Copies : public unit::SceneFixture {
protected:
    void SetUp() override {
        scene.addObject("Ground", {5, 5, 5});
        scene.addObject("Ball", {0, 0, 0});
        scene.addCamera("Camera", {3, 4, 12});
        SceneFixture::SetUp();
    }

    // The channel after one evaluation, or NaN when the instance set none.
    double evaluate(DistanceInstance& instance) {
        double distance = 0;
        return kelto::evaluateDistance(instance, 0, distance) ? distance : std::nan("");
    }

    std::vector<host::ItemId> used(DistanceInstance& instance) {
        std::vector<host::ItemId> items;
        for (const host::ItemId* item = kelto::usedItems(instance); item != nullptr && *item != nullptr; ++item)
            items.push_back(*item);
        return items;
    }

    int32_t shownItem(DistanceInstance& instance) {
        return *kelto::referenceValue(instance, kelto::kReferenceItemControl);
    }
};

TEST_F(Copies, ACopyOfAResolvedInstanceGoesOnWithoutItsSource) {
    InstancePtr source = newInstance("Ball", "Camera");
    ASSERT_NE(source, nullptr);
    ASSERT_EQ(evaluate(*source), 13.0);
    // Whatever the destination held before is replaced.
    InstancePtr copy = newInstance("Ground", "Camera");
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(evaluate(*copy), std::sqrt(54.0));
    kelto::DistanceLifecycle::copy(*copy, *source);
    EXPECT_EQ(evaluate(*copy), 13.0);

    // A pick on the source, then the source gone: the copy keeps its own
    // references, its own used-items list and its own popup values.
    kelto::setReferenceValue(*source, kelto::kReferenceItemControl, 1);
    source.reset();
    EXPECT_EQ(evaluate(*copy), 13.0);
    EXPECT_EQ(used(*copy), (std::vector<host::ItemId>{object(1), camera(0)}));
    EXPECT_EQ(shownItem(*copy), 2);

    // Copied onto itself, an instance stays as it was.
    kelto::DistanceLifecycle::copy(*copy, *copy);
    EXPECT_EQ(evaluate(*copy), 13.0);
    EXPECT_EQ(shownItem(*copy), 2);
}

TEST_F(Copies, ACopyOfAnUnresolvedInstanceResolvesByTheNamesOnItsOwn) {
    InstancePtr source = newInstance("Ball", "Camera");
    InstancePtr copy = newInstance();
    ASSERT_NE(source, nullptr);
    ASSERT_NE(copy, nullptr);
    kelto::DistanceLifecycle::copy(*copy, *source);

    int namesBefore = session.itemInfoCalls().name;
    EXPECT_EQ(evaluate(*copy), 13.0);
    EXPECT_GT(session.itemInfoCalls().name, namesBefore);
    EXPECT_EQ(shownItem(*copy), 2);

    // The copy's resolution is not the source's: renamed since, "Ball" is
    // found by neither name nor ID when the source resolves in its turn.
    scene.objects[1].name = "Sphere";
    EXPECT_TRUE(std::isnan(evaluate(*source)));
    EXPECT_EQ(evaluate(*copy), 13.0);
}

}  // namespace
