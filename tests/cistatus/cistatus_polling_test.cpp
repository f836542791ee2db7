#include "cistatus_fixture.h"

using namespace vestrak;
using namespace vestrak::testing;

namespace {

class CiStatusPolling : public CiStatusTest {
protected:
    CiStatusPolling()
    {
        connections
            += control->GetStatus.connect([this] { eventTimes.push_back(clock.elapsedMilliseconds()); });
    }

    // The virtual times of the GetStatus events.
    std::vector<std::int64_t> eventTimes;
    Connections connections;
};

} // namespace

// A reload keeps the query position, and the record of the old tree answered lives on apart.
TEST_F(CiStatusPolling, AnAnswerForARecordLostInAReloadChangesNoIcon)
{
    load({ "A=2,T1,a", "B=2,T2,b", "C=2,T3,c" });
    EXPECT_EQ(control->ObjectTagName(), u"T1");
    load({ "A=2,N1,a", "B=2,N2,b", "C=2,N3,c" });
    control->setObjectStatus(4);
    EXPECT_EQ(control->ObjectStatus(), 4);
    EXPECT_EQ(control->ObjectTagName(), u"N2");
    clock.advance(500);
    EXPECT_EQ(images(), (std::vector<std::int32_t> { 2, 2, 2 }));
}

TEST_F(CiStatusPolling, FirstRequestAtTheTickAfterTheFirstLoadThenEveryIntervalInWholeTicks)
{
    clock.advance(5000);
    EXPECT_TRUE(eventTimes.empty());
    control->setObjectFile(files.path("missing.ini"));
    clock.advance(4200);
    EXPECT_EQ(eventTimes, (std::vector<std::int64_t> { 5100, 7100, 9100 }));
    EXPECT_EQ(control->ObjectTagName(), u"");

    eventTimes.clear();
    control->setUpdateInterval(250);
    load({ "A=2,T1,a" });
    clock.advance(1000);
    EXPECT_EQ(eventTimes, (std::vector<std::int64_t> { 9300, 9600, 9900, 10200 }));
}

TEST_F(CiStatusPolling, EveryAnswerRestartsTheCountdown)
{
    load({ "A=2,T1,a" });
    clock.advance(100);
    clock.advance(1500);
    EXPECT_EQ(control->ObjectTagName(), u"T1");
    control->setObjectStatus(3);
    clock.advance(2000);
    EXPECT_EQ(eventTimes, (std::vector<std::int64_t> { 100, 3600 }));

    EXPECT_EQ(control->ObjectTagName(), u"");
    control->setObjectStatus(3);
    clock.advance(2000);
    EXPECT_EQ(eventTimes.back(), 5600) << "an answer without an object under the cursor is ignored";
}

TEST_F(CiStatusPolling, NoSecondRequestWhileTheHostAnswers)
{
    int running = 0;
    int overlapping = 0;
    connections += control->GetStatus.connect([&] {
        overlapping += running;
        ++running;
        clock.advance(5000); // the host lets the message loop run
        --running;
    });
    control->setUpdateInterval(100);
    load({ "A=2,T1,a" });
    clock.advance(100);
    EXPECT_EQ(overlapping, 0);
    EXPECT_EQ(eventTimes, (std::vector<std::int64_t> { 100 }));
}
