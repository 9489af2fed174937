#include "focus_support.h"

#include "channel/held_services.h"
#include "host/item_info.h"
#include "simhost/services/service_tables.h"

namespace unit {

FakeItemInfo& fakeItemInfo() {
    static FakeItemInfo fake;
    return fake;
}

void HOST_CALL fakeParam(host::ItemId item, int code, double time, double* values) {
    FakeItemInfo& fake = fakeItemInfo();
    fake.calls.push_back({item, code, time});
    auto motion = fake.motions.find(item);
    if (motion == fake.motions.end() || code == fake.unansweredCode) return;
    Pose pose = motion->second(time);
    const Vector* answer = nullptr;
    switch (code) {
        case host::kItemParamWorldPosition: answer = &pose.position; break;
        case host::kItemParamRight: answer = &pose.right; break;
        case host::kItemParamUp: answer = &pose.up; break;
        case host::kItemParamForward: answer = &pose.forward; break;
        default: return;
    }
    for (size_t axis = 0; axis < answer->size() && axis < fake.answeredAxes; ++axis) values[axis] = (*answer)[axis];
}

void FocusScene::SetUp() {
    ActivatedSceneFixture::SetUp();
    fakeItemInfo() = FakeItemInfo{};
    table_ = sim::itemInfoServiceTable();
    table_.param = fakeParam;
    kelto::HostServices services = kelto::heldHostServices();
    services.itemInfo = &table_;
    kelto::holdHostServices(services);
}

void FocusScene::TearDown() {
    fakeItemInfo() = FakeItemInfo{};
    ActivatedSceneFixture::TearDown();
}

}  // namespace unit
