// The channel through kelto.p: evaluation at every frame, as the host calls it.
#include "e2e_support.h"

namespace {

using e2e::ChannelFixture;
using e2e::referenceBlock;

TEST_F(ChannelFixture, TheChannelIsTheDistanceAtEachEvaluation) {
    host::InstanceHandle instance = loaded(referenceBlock("Ball", "Camera"));
    EXPECT_EQ(evaluated(instance), 13.0);

    host::InstanceHandle swapped = newInstance();
    scene.objects[1].motion.placeAt({3, 4, 12});
    scene.cameras[0].motion.placeAt({0, 0, 0});
    EXPECT_EQ(handler.copy(swapped, instance), nullptr);
    EXPECT_EQ(evaluated(instance), 13.0);
    EXPECT_EQ(evaluated(swapped), 13.0);

    scene.cameras[0].motion.placeAt({3, 4, 12});
    EXPECT_EQ(evaluated(instance), 0.0);
}

TEST_F(ChannelFixture, PositionsAreTakenAtTheEvaluationTimeSubFramesIncluded) {
    scene.framesPerSecond = 10;
    scene.objects[1].motion.placeAt({0, 0, 0});
    scene.objects[1].motion.keyPosition(10, {0, 0, 20});
    scene.cameras[0].motion.placeAt({0, 0, -6});
    host::InstanceHandle instance = loaded(referenceBlock("Ball", "Camera"));
    EXPECT_EQ(evaluated(instance, 0), 6.0);
    EXPECT_EQ(evaluated(instance, 2.5), 11.0);
    EXPECT_EQ(evaluated(instance, 10), 26.0);
    EXPECT_EQ(evaluated(instance, 40), 26.0);  // held after the last key
}

TEST_F(ChannelFixture, ACopyOfAResolvedInstanceEvaluatesWithoutLookingNamesUp) {
    host::InstanceHandle source = loaded(referenceBlock("Ball", "Camera"));
    evaluated(source);
    host::InstanceHandle copy = newInstance();
    handler.copy(copy, source);
    sim::ItemInfoCalls before = session.itemInfoCalls();
    EXPECT_EQ(evaluated(copy), 13.0);
    EXPECT_EQ(session.itemInfoCalls().total(), before.total() + 2);
}

TEST_F(ChannelFixture, WithoutBothReferencesTheChannelKeepsItsValue) {
    for (auto names :
         {referenceBlock("Missing", "Camera"), referenceBlock("Ball", "none"), std::vector<std::string>{}}) {
        host::InstanceHandle instance = loaded(names);
        EXPECT_TRUE(std::isnan(evaluated(instance)));
    }
    // A new instance has no references at all.
    EXPECT_TRUE(std::isnan(evaluated(newInstance())));
    EXPECT_EQ(session.itemInfoCalls().param, 0);
}

TEST_F(ChannelFixture, InstancesKeepWorkingWhenALaterActivationFails) {
    host::InstanceHandle instance = loaded(referenceBlock("Ball", "Camera"));
    for (const char* missing : {"Info Messages", "Texture Functions", "LW Item Info 3"}) {
        sim::HostSession lacking(scene);
        lacking.withhold(missing);
        sim::HandlerBinding later;
        EXPECT_EQ(later.activate(*module, e2e::server(*module, HOST_CHANNEL_HANDLER_CLASS)),
                  host::kActivationServiceMissing);
    }
    EXPECT_EQ(evaluated(instance), 13.0);
}

}  // namespace
