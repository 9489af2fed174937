// Kelto Focus's unit tests: the scene with Kelto Focus's handler activated,
// and an item-info whose param answers the world position (code 8) and the
// right, up and forward axes (codes 2, 3, 4) from poses the test gives, as
// functions of time. The lists and names stay the simulated host's.
#pragma once

#include <array>
#include <cstring>
#include <functional>
#include <map>
#include <vector>

#include "focus/focus_handler_entry.h"
#include "focus/focus_instance.h"
#include "scene_fixture.h"

namespace unit {

typedef std::array<double, 3> Vector;

// Where an item stands at one time: its pivot and its axes in the world, each
// axis a unit vector times the item's scale along it.
struct Pose {
    Vector position{0, 0, 0};
    Vector right{1, 0, 0};
    Vector up{0, 1, 0};
    Vector forward{0, 0, 1};
};

typedef std::function<Pose(double time)> Motion;

// One query the module made.
struct ParamCall {
    host::ItemId item;
    int code;
    double time;
};

// The fake's state: the host's param takes no context, so one fake serves at a
// time.
struct FakeItemInfo {
    std::map<host::ItemId, Motion> motions;
    std::vector<ParamCall> calls;
    int unansweredCode = 0;   // a code the fake writes nothing for, as a host that cannot
    size_t answeredAxes = 3;  // how many coordinates it writes, from x on: fewer as a host that stops short
};

FakeItemInfo& fakeItemInfo();

// The fake's param: writes the pose of an item with a motion, at the time
// asked; nothing for any other item or code.
void HOST_CALL fakeParam(host::ItemId item, int code, double time, double* values);

class FocusScene : public ActivatedSceneFixture<kelto::activateFocusHandler> {
protected:
    void SetUp() override;
    void TearDown() override;

    void place(host::ItemId item, const Pose& pose) {
        fakeItemInfo().motions[item] = [pose](double) { return pose; };
    }
    void move(host::ItemId item, Motion motion) { fakeItemInfo().motions[item] = std::move(motion); }

    // A zero instance naming its references.
    static kelto::FocusInstance named(const char* item, const char* camera) {
        kelto::FocusInstance instance;
        std::memset(&instance, 0, sizeof instance);
        std::snprintf(instance.itemName, sizeof instance.itemName, "%s", item);
        std::snprintf(instance.cameraName, sizeof instance.cameraName, "%s", camera);
        return instance;
    }

private:
    host::ItemInfoService table_{};
};

}  // namespace unit
