// The options panel through kelto.p and the simulated toolkit.
#include <algorithm>

#include "e2e_support.h"

namespace {

using e2e::ChannelFixture;
using e2e::referenceBlock;
using sim::kelto_facts::kCameraControl;
using sim::kelto_facts::kCameraLabel;
using sim::kelto_facts::kItemControl;
using sim::kelto_facts::kItemLabel;
using sim::kelto_facts::kNoneEntry;

class PanelFixture : public ChannelFixture {
protected:
    // Opens the options of `instance`; the panel, or null when none was built.
    sim::SimPanel* open(host::InstanceHandle instance) {
        sim::InterfaceBinding binding;
        EXPECT_EQ(binding.activate(*module, e2e::server(*module, HOST_CHANNEL_INTERFACE_CLASS), instance),
                  host::kActivationOk);
        EXPECT_EQ(binding.record().options, nullptr);
        EXPECT_EQ(binding.record().command, nullptr);
        return session.panels().panelOf(binding.record().panel);
    }

    std::string shown(const sim::SimPanel& panel, uint32_t control) {
        std::vector<std::string> entries = session.panels().popupEntries(panel, control);
        const int32_t* value = session.panels().valueOf(panel, control);
        if (value == nullptr || *value < 0 || static_cast<size_t>(*value) >= entries.size()) return "?";
        return entries[static_cast<size_t>(*value)];
    }

    int choose(sim::SimPanel& panel, const std::string& label, const std::string& entry) {
        std::string error;
        int refresh = session.panels().pick(panel, label, entry, error);
        EXPECT_EQ(error, "");
        return refresh;
    }
};

// What the host needs to draw the panel, in whatever order the module hands
// it over: a viewer panel of the two popups, a value of each through get and
// set, the title and each popup's functions hinted, and the instance viewed.
TEST_F(PanelFixture, ThePanelIsBuiltWithItsControlsValuesHintsAndInstance) {
    host::InstanceHandle instance = newInstance();
    sim::SimPanel* panel = open(instance);
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(panel->type, host::kPanelTypeViewer);
    ASSERT_EQ(panel->controls.size(), 2u);
    const std::pair<uint32_t, const char*> popups[] = {{kItemControl, kItemLabel}, {kCameraControl, kCameraLabel}};
    for (size_t i = 0; i < 2; ++i) {
        EXPECT_EQ(panel->controls[i].id, popups[i].first);
        EXPECT_EQ(panel->controls[i].label, popups[i].second);
        EXPECT_EQ(panel->controls[i].controlClass, sim::kelto_facts::kPopupControlClass);
        auto value = std::find_if(panel->data.begin(), panel->data.end(),
                                  [&](const sim::SimDataRow& row) { return row.id == popups[i].first; });
        ASSERT_NE(value, panel->data.end()) << popups[i].second << " has no value";
        EXPECT_EQ(value->dataType, sim::kelto_facts::kPopupDataType);
        ASSERT_EQ(panel->popups.count(popups[i].first), 1u) << popups[i].second << " has no popup functions";
        EXPECT_NE(panel->popups.at(popups[i].first).count, nullptr);
        EXPECT_NE(panel->popups.at(popups[i].first).name, nullptr);
    }
    EXPECT_EQ(panel->data.size(), 2u);
    EXPECT_NE(panel->popups.at(kItemControl).count, panel->popups.at(kCameraControl).count);
    EXPECT_NE(panel->get, nullptr);
    EXPECT_NE(panel->set, nullptr);
    EXPECT_EQ(panel->hintLists.count(host::kPanelControlId), 1u);
    EXPECT_EQ(panel->labels[host::kPanelControlId], sim::kelto_facts::kPanelTitle);
    EXPECT_EQ(panel->hintProblems, std::vector<std::string>());
    EXPECT_EQ(panel->instance, instance);
}

TEST_F(PanelFixture, PopupsListTheObjectsAndCamerasAfterNone) {
    host::InstanceHandle instance = newInstance();
    sim::SimPanel* panel = open(instance);
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(session.panels().popupEntries(*panel, kItemControl),
              (std::vector<std::string>{kNoneEntry, "Ground", "Ball"}));
    EXPECT_EQ(session.panels().popupEntries(*panel, kCameraControl),
              (std::vector<std::string>{kNoneEntry, "Camera", "Close-up"}));
    // A fresh instance shows no references.
    EXPECT_EQ(shown(*panel, kItemControl), kNoneEntry);
    EXPECT_EQ(shown(*panel, kCameraControl), kNoneEntry);
    EXPECT_EQ(session.panels().valueOf(*panel, kCameraControl + 1), nullptr);

    // Null arguments, which no toolkit should pass, change nothing.
    EXPECT_EQ(panel->get(nullptr, kItemControl), nullptr);
    int32_t second = 2;
    EXPECT_EQ(panel->set(nullptr, kItemControl, &second), 0);
    EXPECT_EQ(panel->set(panel->instance, kItemControl, nullptr), 0);
    EXPECT_EQ(*session.panels().valueOf(*panel, kItemControl), 0);
}

TEST_F(PanelFixture, APickOnAResolvedInstanceTakesEffectAtOnceAndIsSaved) {
    host::InstanceHandle instance = loaded(referenceBlock("Ball", "Camera"));
    EXPECT_EQ(evaluated(instance), 13.0);
    sim::SimPanel* panel = open(instance);
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(shown(*panel, kItemControl), "Ball");
    EXPECT_EQ(shown(*panel, kCameraControl), "Camera");

    EXPECT_EQ(choose(*panel, kCameraLabel, "Close-up"), 0);
    EXPECT_EQ(shown(*panel, kCameraControl), "Close-up");
    EXPECT_EQ(evaluated(instance), 2.0);
    EXPECT_EQ(saved(instance), referenceBlock("Ball", "Close-up"));

    EXPECT_EQ(choose(*panel, kItemLabel, kNoneEntry), 1);
    EXPECT_EQ(shown(*panel, kItemControl), kNoneEntry);
    EXPECT_TRUE(std::isnan(evaluated(instance, 0, 4.0)));
    EXPECT_EQ(saved(instance), referenceBlock("none", "Close-up"));
}

TEST_F(PanelFixture, ChoosingNoneDropsAReferenceWhoseItemIsMissing) {
    host::InstanceHandle instance = loaded(referenceBlock("Lamp", "Camera"));
    evaluated(instance);
    sim::SimPanel* panel = open(instance);
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(shown(*panel, kItemControl), kNoneEntry);
    EXPECT_EQ(saved(instance), referenceBlock("Lamp", "Camera"));
    EXPECT_EQ(choose(*panel, kItemLabel, kNoneEntry), 1);
    EXPECT_EQ(saved(instance), referenceBlock("none", "Camera"));

    // Choosing an item then saves that item, by its name at the time of saving.
    EXPECT_EQ(choose(*panel, kItemLabel, "Ground"), 0);
    scene.objects[0].name = "Floor";
    EXPECT_EQ(saved(instance), referenceBlock("Floor", "Camera"));
}

TEST_F(PanelFixture, APickBeforeTheFirstEvaluationGivesWayToTheStoredNames) {
    host::InstanceHandle instance = loaded(referenceBlock("Ball", "Camera"));
    sim::SimPanel* panel = open(instance);
    ASSERT_NE(panel, nullptr);
    choose(*panel, kItemLabel, "Ground");
    EXPECT_EQ(shown(*panel, kItemControl), "Ground");
    EXPECT_EQ(evaluated(instance), 13.0);
    EXPECT_EQ(shown(*panel, kItemControl), "Ball");
}

TEST_F(PanelFixture, ACameraNameThatNamesAnObjectShowsNoCamera) {
    scene.objects[0].name = "Camera";
    host::InstanceHandle instance = loaded(referenceBlock("Ball", "Camera"));
    EXPECT_EQ(evaluated(instance), std::sqrt(75.0));  // the object "Camera" at (5,5,5)
    sim::SimPanel* panel = open(instance);
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(shown(*panel, kItemControl), "Ball");
    EXPECT_EQ(shown(*panel, kCameraControl), kNoneEntry);
}

TEST_F(PanelFixture, WithoutAToolkitOrAPanelTheActivationStillSucceeds) {
    host::InstanceHandle instance = newInstance();
    session.withhold("LWXPanel");
    EXPECT_EQ(open(instance), nullptr);
    EXPECT_TRUE(session.panels().calls().empty());

    session.serve("LWXPanel");
    session.panels().failCreate = true;
    EXPECT_EQ(open(instance), nullptr);
    EXPECT_EQ(session.panels().calls(), std::vector<std::string>{"create(1, 2 controls)"});
}

}  // namespace
