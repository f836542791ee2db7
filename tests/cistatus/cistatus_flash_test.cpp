#include "cistatus/status_icon.h"
#include "cistatus_fixture.h"

using namespace vestrak;
using namespace vestrak::testing;

TEST(StatusIcon, ImageFollowsMutingFlashPhaseAndSubState)
{
    struct Case {
        std::int32_t behaviour;
        std::int32_t desired;
        bool inherited;
        std::int32_t imageWhileFlashOff;
        std::int32_t imageWhileFlashOn;
    };
    const std::vector<Case> cases { { 0, 2, false, 2, 2 }, { 0, 0x104, false, 4, 0 }, { 5, 4, true, 3, 3 },
        { 5, 0x104, true, 3, 3 }, { 5, 0x104, false, 4, 0 }, { 1, 0x104, true, 4, 0 },
        { 4, 0x104, true, 3, 3 }, { 0, 0x1002, false, 5, 5 }, { 0, 0x2002, false, 6, 6 },
        { 0, 0x3002, false, 2, 2 }, { 0, 0x1102, false, 5, 0 }, { 0, 0x1004, false, 4, 4 },
        { 5, 0x1002, true, 5, 5 }, { 0, 0, false, 0, 0 }, { 0, 7, false, 7, 7 }, { 0, -1, false, 255, 0 } };
    for (const auto& each : cases) {
        SCOPED_TRACE(::testing::Message() << "behaviour " << each.behaviour << ", status 0x" << std::hex
                                          << each.desired << (each.inherited ? " inherited" : ""));
        EXPECT_EQ(
            ChooseStatusImage(each.behaviour, each.desired, each.inherited, false), each.imageWhileFlashOff);
        EXPECT_EQ(
            ChooseStatusImage(each.behaviour, each.desired, each.inherited, true), each.imageWhileFlashOn);
    }
    EXPECT_EQ(StatusWords(1, false), u"unknown");
    EXPECT_EQ(StatusWords(6, false), u"normal, duty 2");
    EXPECT_EQ(StatusWords(0, false), u"") << "no image, no meaning";
    EXPECT_EQ(StatusWords(255, true), u"");
}

TEST_F(CiStatusTest, IconsChangeOnlyAtFlashTicks)
{
    load({ "A=&H104,T1,a", "B=&H1002,T2,b", "C=3,T3,c" });
    EXPECT_EQ(images(), (std::vector<std::int32_t> { 4, 2, 3 })) << "the load shows the plain image";
    clock.advance(499);
    EXPECT_EQ(images(), (std::vector<std::int32_t> { 4, 2, 3 }));
    clock.advance(1);
    EXPECT_EQ(images(), (std::vector<std::int32_t> { 0, 5, 3 }));
    const auto meaningOf = [this](std::int32_t index) { return tree().node(index)->imageMeaning(); };
    EXPECT_EQ(meaningOf(1), u"alarm, blinking") << "in words, whatever the phase";
    EXPECT_EQ(meaningOf(2), u"normal, duty 1");
    EXPECT_EQ(meaningOf(3), u"warning");
    EXPECT_EQ(control->ObjectTagName(), u"T1");
    control->setObjectStatus(2);
    EXPECT_EQ(images()[0], 0) << "a new status shows at the next tick";
    clock.advance(500);
    EXPECT_EQ(images(), (std::vector<std::int32_t> { 2, 5, 3 }));

    EXPECT_EQ(meaningOf(1), u"normal") << "the words follow the status";
    EXPECT_EQ(control->ObjectTagName(), u"T2");
    EXPECT_EQ(control->ObjectTagName(), u"T3");
    control->setObjectStatus(7);
    clock.advance(500);
    EXPECT_EQ(images(), (std::vector<std::int32_t> { 2, 5, 3 }));
}

TEST_F(CiStatusTest, UnknownRisesAboveGoodOnlyWhenTheBehaviourSaysSo)
{
    for (const auto& [behaviour, parentImage] : { std::pair { 1, 2 }, std::pair { 9, 1 } }) {
        control->setBehaviour(behaviour);
        load({ "A=2,T1,a", "A1=1,T2,b" });
        clock.advance(500);
        EXPECT_EQ(images(), (std::vector<std::int32_t> { parentImage, 1 })) << "behaviour " << behaviour;
    }
}
