// The options panel through kelto.p and the simulated toolkit.
#include "e2e_support.h"

namespace {

using e2e::ChannelFixture;
using e2e::referenceBlock;

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

    int pick(sim::SimPanel& panel, const std::string& label, const std::string& entry) {
        std::string error;
        int refresh = session.panels().pick(panel, label, entry, error);
        EXPECT_EQ(error, "");
        return refresh;
    }
};

TEST_F(PanelFixture, TheToolkitIsCalledInOrderWithTheControlsDataAndHints) {
    host::InstanceHandle instance = create();
    sim::SimPanel* panel = open(instance);
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(session.panels().calls(),
              (std::vector<std::string>{"create(1, 2 controls)", "hint(0x0)", "describe(2 values, get set, set set)",
                                        "viewInstance", "userData(0x0)"}));
    ASSERT_EQ(panel->controls.size(), 2u);
    EXPECT_EQ(panel->type, 1);
    EXPECT_EQ(panel->controls[0].id, 0x8001u);
    EXPECT_EQ(panel->controls[0].label, "Reference Item");
    EXPECT_EQ(panel->controls[0].controlClass, "iPopChoice");
    EXPECT_EQ(panel->controls[1].id, 0x8002u);
    EXPECT_EQ(panel->controls[1].label, "Reference Camera");
    EXPECT_EQ(panel->controls[1].controlClass, "iPopChoice");
    ASSERT_EQ(panel->data.size(), 2u);
    EXPECT_EQ(panel->data[0].id, 0x8001u);
    EXPECT_EQ(panel->data[0].name, "Reference Item");
    EXPECT_EQ(panel->data[0].dataType, "integer");
    EXPECT_EQ(panel->data[1].id, 0x8002u);
    EXPECT_EQ(panel->data[1].name, "Reference Camera");
    EXPECT_EQ(panel->data[1].dataType, "integer");
    EXPECT_EQ(panel->instance, instance);
    EXPECT_EQ(panel->userData.at(0), instance);

    const host::PanelHintWord* w = panel->hintLists.at(0);
    EXPECT_EQ(w[0], 0x3D000B03u);
    EXPECT_EQ(w[1], 0u);
    EXPECT_STREQ(reinterpret_cast<const char*>(w[2]), "Zivov Udiruvu");
    EXPECT_EQ(w[3], 0u);
    EXPECT_EQ(w[4], 0x3D016203u);
    EXPECT_EQ(w[5], 0x8001u);
    EXPECT_EQ(w[6], reinterpret_cast<host::PanelHintWord>(panel->popups.at(0x8001).count));
    EXPECT_EQ(w[7], reinterpret_cast<host::PanelHintWord>(panel->popups.at(0x8001).name));
    EXPECT_EQ(w[8], 0x3D016203u);
    EXPECT_EQ(w[9], 0x8002u);
    EXPECT_EQ(w[10], reinterpret_cast<host::PanelHintWord>(panel->popups.at(0x8002).count));
    EXPECT_EQ(w[11], reinterpret_cast<host::PanelHintWord>(panel->popups.at(0x8002).name));
    EXPECT_NE(w[6], w[10]);
    EXPECT_EQ(w[12], 0x3D01F984u);
    EXPECT_EQ(w[13], 0x8001u);
    for (int i = 14; i < 19; ++i) EXPECT_EQ(w[i], 0u) << "word " << i;
    EXPECT_TRUE(panel->hintProblems.empty());
}

TEST_F(PanelFixture, PopupsListTheObjectsAndCamerasAfterNone) {
    host::InstanceHandle instance = create();
    sim::SimPanel* panel = open(instance);
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(session.panels().popupEntries(*panel, 0x8001), (std::vector<std::string>{"(none)", "Ground", "Ball"}));
    EXPECT_EQ(session.panels().popupEntries(*panel, 0x8002),
              (std::vector<std::string>{"(none)", "Camera", "Close-up"}));
    // A fresh instance shows no references.
    EXPECT_EQ(shown(*panel, 0x8001), "(none)");
    EXPECT_EQ(shown(*panel, 0x8002), "(none)");
    EXPECT_EQ(session.panels().valueOf(*panel, 0x8003), nullptr);

    // Null arguments, which no toolkit should pass, change nothing.
    EXPECT_EQ(panel->get(nullptr, 0x8001), nullptr);
    int32_t second = 2;
    EXPECT_EQ(panel->set(nullptr, 0x8001, &second), 0);
    EXPECT_EQ(panel->set(panel->instance, 0x8001, nullptr), 0);
    EXPECT_EQ(*session.panels().valueOf(*panel, 0x8001), 0);
}

TEST_F(PanelFixture, APickOnAResolvedInstanceTakesEffectAtOnceAndIsSaved) {
    host::InstanceHandle instance = loaded(referenceBlock("Ball", "Camera"));
    EXPECT_EQ(evaluate(instance), 13.0);
    sim::SimPanel* panel = open(instance);
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(shown(*panel, 0x8001), "Ball");
    EXPECT_EQ(shown(*panel, 0x8002), "Camera");

    EXPECT_EQ(pick(*panel, "Reference Camera", "Close-up"), 0);
    EXPECT_EQ(shown(*panel, 0x8002), "Close-up");
    EXPECT_EQ(evaluate(instance), 2.0);
    EXPECT_EQ(saved(instance), referenceBlock("Ball", "Close-up"));

    EXPECT_EQ(pick(*panel, "Reference Item", "(none)"), 1);
    EXPECT_EQ(shown(*panel, 0x8001), "(none)");
    EXPECT_TRUE(std::isnan(evaluate(instance, 0, 4.0)));
    EXPECT_EQ(saved(instance), referenceBlock("none", "Close-up"));
}

TEST_F(PanelFixture, ChoosingNoneDropsAReferenceWhoseItemIsMissing) {
    host::InstanceHandle instance = loaded(referenceBlock("Lamp", "Camera"));
    evaluate(instance);
    sim::SimPanel* panel = open(instance);
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(shown(*panel, 0x8001), "(none)");
    EXPECT_EQ(saved(instance), referenceBlock("Lamp", "Camera"));
    EXPECT_EQ(pick(*panel, "Reference Item", "(none)"), 1);
    EXPECT_EQ(saved(instance), referenceBlock("none", "Camera"));

    // Choosing an item then saves that item, by its name at the time of saving.
    EXPECT_EQ(pick(*panel, "Reference Item", "Ground"), 0);
    scene.objects[0].name = "Floor";
    EXPECT_EQ(saved(instance), referenceBlock("Floor", "Camera"));
}

TEST_F(PanelFixture, APickBeforeTheFirstEvaluationGivesWayToTheStoredNames) {
    host::InstanceHandle instance = loaded(referenceBlock("Ball", "Camera"));
    sim::SimPanel* panel = open(instance);
    ASSERT_NE(panel, nullptr);
    pick(*panel, "Reference Item", "Ground");
    EXPECT_EQ(shown(*panel, 0x8001), "Ground");
    EXPECT_EQ(evaluate(instance), 13.0);
    EXPECT_EQ(shown(*panel, 0x8001), "Ball");
}

TEST_F(PanelFixture, ACameraNameThatNamesAnObjectShowsNoCamera) {
    scene.objects[0].name = "Camera";
    host::InstanceHandle instance = loaded(referenceBlock("Ball", "Camera"));
    EXPECT_EQ(evaluate(instance), std::sqrt(75.0));  // the object "Camera" at (5,5,5)
    sim::SimPanel* panel = open(instance);
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(shown(*panel, 0x8001), "Ball");
    EXPECT_EQ(shown(*panel, 0x8002), "(none)");
}

TEST_F(PanelFixture, WithoutAToolkitOrAPanelTheActivationStillSucceeds) {
    host::InstanceHandle instance = create();
    session.withhold("LWXPanel");
    EXPECT_EQ(open(instance), nullptr);
    EXPECT_TRUE(session.panels().calls().empty());

    session.serve("LWXPanel");
    session.panels().failCreate = true;
    EXPECT_EQ(open(instance), nullptr);
    EXPECT_EQ(session.panels().calls(), std::vector<std::string>{"create(1, 2 controls)"});
}

}  // namespace
