#include "feeds/mosquitto_broker.h"
#include "feeds/mqtt_tag_feed.h"
#include "feeds/sparkplug_edge.h"
#include "feeds/sparkplug_feed.h"
#include "feeds/wait_until.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

namespace vestrak {
namespace {

using namespace std::chrono_literals;
using testing::EdgeNode;
using testing::HandBuiltMetric;
using testing::HandBuiltPayload;
using testing::MosquittoBroker;
using testing::PublishBytes;
using testing::WaitUntil;

constexpr std::uint32_t Int32 = 3;
constexpr std::uint32_t Int64 = 4;
constexpr std::uint32_t UInt64 = 8;
constexpr std::uint32_t Boolean = 11;
constexpr int UpdateInterval = 1000;

std::vector<std::string> g_FeedLog;

void KeepFeedLog(QtMsgType, const QMessageLogContext& context, const QString& message)
{
    if (std::string_view(context.category) == "vestrak.feed")
        g_FeedLog.push_back(message.toStdString());
}

class SparkplugFeedTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(broker.start()) << "mosquitto did not start"; }

    SparkplugFeed& startFeed(const QString& groups = "plant",
        SparkplugFeedOptions::GroupInTagNames groupInTagNames = SparkplugFeedOptions::GroupInTagNames::No)
    {
        SparkplugFeedOptions options = *ParseSparkplugUrl(broker.url(groups)).options;
        options.groupInTagNames = groupInTagNames;
        options.connection.firstRetryDelay = 20ms;
        options.connection.longestRetryDelay = 100ms;
        feed = std::make_unique<SparkplugFeed>(options);
        feed->start();
        EXPECT_TRUE(WaitUntil([&] { return feed->isConnected(); }));
        return *feed;
    }

    bool shows(std::initializer_list<std::pair<QString, std::int32_t>> statuses, int milliseconds = 10000)
    {
        return WaitUntil(
            [&] {
                return std::all_of(statuses.begin(), statuses.end(),
                    [&](const auto& expected) { return feed->status(expected.first) == expected.second; });
            },
            milliseconds);
    }

    bool publish(const std::string& topic, const std::string& payload, bool retained = false)
    {
        return PublishBytes(broker.port(), "spBv1.0/" + topic, payload, retained);
    }

    MosquittoBroker broker;
    std::unique_ptr<SparkplugFeed> feed;
};

// A node "E1" of the npm sparkplug-client with a Boolean, an Int32 and a String of its own, and a
// device "Pump 1" with an Int32 and a Float.
class SparkplugEdgeNodeTest : public SparkplugFeedTest {
protected:
    void SetUp() override
    {
        if (const std::optional<std::string> why = testing::EdgeNodeUnavailable())
            GTEST_SKIP() << *why;
        SparkplugFeedTest::SetUp();
    }

    void startNodeWithBirths()
    {
        startFeed();
        ASSERT_TRUE(node.start(broker.port(), "plant", "E1"));
        ASSERT_TRUE(
            node.send(R"({"do":"nbirth","metrics":[{"name":"Run","alias":1,"type":"Boolean","value":true},)"
                      R"({"name":"Level","alias":2,"type":"Int32","value":-3},)"
                      R"({"name":"Mode","alias":5,"type":"String","value":"Auto"}]})"));
        ASSERT_TRUE(node.send(R"({"do":"dbirth","device":"Pump 1","metrics":[)"
                              R"({"name":"Motor/State","alias":3,"type":"Int32","value":260},)"
                              R"({"name":"Flow","alias":4,"type":"Float","value":1.5}]})"));
        ASSERT_TRUE(shows({ { "E1/Run", 4 }, { "E1/Level", -3 }, { "E1/Pump 1/Motor/State", 260 } }));
    }

    EdgeNode node;
};

TEST_F(SparkplugEdgeNodeTest, DataByAliasUpdatesTheMetricsOfTheBirths)
{
    startNodeWithBirths();
    EXPECT_EQ(feed->status("E1/Mode"), 1) << "a String is unknown unless mapped";
    EXPECT_EQ(feed->status("E1/Pump 1/Flow"), 1) << "a Float is unknown unless mapped";

    ASSERT_TRUE(node.send(R"({"do":"ndata","metrics":[{"alias":1,"type":"Boolean","value":false},)"
                          R"({"alias":2,"type":"Int32","value":null}]})"));
    ASSERT_TRUE(
        node.send(R"({"do":"ddata","device":"Pump 1","metrics":[{"alias":3,"type":"Int32","value":3}]})"));
    EXPECT_TRUE(shows({ { "E1/Run", 2 }, { "E1/Level", 1 }, { "E1/Pump 1/Motor/State", 3 } }));
    ASSERT_TRUE(node.send(R"({"do":"ndata","metrics":[{"alias":2,"type":"Int32","value":7}]})"));
    EXPECT_TRUE(shows({ { "E1/Level", 7 } }));

    ASSERT_TRUE(node.send(R"({"do":"ddeath","device":"Pump 1"})"));
    EXPECT_TRUE(shows({ { "E1/Pump 1/Motor/State", 1 } }));
    EXPECT_EQ(feed->status("E1/Run"), 2) << "the node lives on";
}

TEST_F(SparkplugEdgeNodeTest, AKilledNodeIsUnknownByItsWillWithinOneUpdateInterval)
{
    startNodeWithBirths();
    node.kill();
    EXPECT_TRUE(
        shows({ { "E1/Run", 1 }, { "E1/Level", 1 }, { "E1/Pump 1/Motor/State", 1 } }, UpdateInterval));
}

TEST_F(SparkplugEdgeNodeTest, ASkippedSeqMakesTheNodeUnknownUntilTheOneRebirthItAsksFor)
{
    startNodeWithBirths();
    ASSERT_TRUE(node.send(R"({"do":"ndata","metrics":[{"alias":2,"type":"Int32","value":7}]})"));
    ASSERT_TRUE(shows({ { "E1/Level", 7 } }));
    QSignalSpy rebirths(feed.get(), &SparkplugFeed::rebirthRequested);

    ASSERT_TRUE(node.send(R"({"do":"skip"})"));
    EXPECT_TRUE(shows({ { "E1/Run", 1 }, { "E1/Level", 1 }, { "E1/Pump 1/Motor/State", 1 } }));
    ASSERT_TRUE(node.waitFor("rebirth"));
    EXPECT_TRUE(shows({ { "E1/Run", 4 }, { "E1/Level", 7 }, { "E1/Pump 1/Motor/State", 260 } }));
    ASSERT_TRUE(node.send(R"({"do":"ndata","metrics":[{"alias":2,"type":"Int32","value":8}]})"));
    EXPECT_TRUE(shows({ { "E1/Level", 8 } }));
    EXPECT_EQ(rebirths.count(), 1);
    EXPECT_EQ(node.seen("rebirth"), 1);
}

TEST_F(SparkplugEdgeNodeTest, EveryTagIsUnknownWhileTheBrokerIsLost)
{
    startNodeWithBirths();
    broker.kill();
    EXPECT_TRUE(shows({ { "E1/Run", 1 }, { "E1/Pump 1/Motor/State", 1 } }));
    ASSERT_TRUE(broker.start());
    EXPECT_TRUE(shows({ { "E1/Run", 4 }, { "E1/Level", -3 }, { "E1/Pump 1/Motor/State", 260 } }));
}

// Payloads built from our own message definition, as an edge node of another make would send them,
// from two groups whose tags name their group.
TEST_F(SparkplugFeedTest, HandBuiltPayloadsFollowTheSessionOfTheirBirth)
{
    startFeed("plant,other", SparkplugFeedOptions::GroupInTagNames::Yes);
    ASSERT_TRUE(publish("plant/NBIRTH/H1",
        HandBuiltPayload(0,
            { HandBuiltMetric("Int8").type(1).intValue(0xFF),
                HandBuiltMetric("Int64").type(Int64).longValue(260),
                HandBuiltMetric("Int64 beyond 32 bits").type(Int64).longValue(1ULL << 40U),
                HandBuiltMetric("Bool").type(Boolean).booleanValue(false),
                HandBuiltMetric("Double").type(10).doubleValue(3.0),
                HandBuiltMetric("Null").type(Int32).null(),
                HandBuiltMetric("Stamped").alias(9).type(Int32).intValue(2).timestamp(1699999999000),
                HandBuiltMetric("bdSeq").type(UInt64).longValue(5) })));
    ASSERT_TRUE(publish("other/NBIRTH/H1",
        HandBuiltPayload(0, { HandBuiltMetric("Bool").type(Boolean).booleanValue(true) })));
    ASSERT_TRUE(shows({ { "plant/H1/Int8", -1 }, { "plant/H1/Int64", 260 }, { "plant/H1/Bool", 2 },
        { "plant/H1/Stamped", 2 }, { "other/H1/Bool", 4 } }));
    EXPECT_EQ(feed->status("plant/H1/Int64 beyond 32 bits"), 1);
    EXPECT_EQ(feed->status("plant/H1/Double"), 1);
    EXPECT_EQ(feed->status("plant/H1/Null"), 1);
    EXPECT_EQ(feed->status("H1/Bool"), 1);
    EXPECT_EQ(feed->timestamp("plant/H1/Stamped"), 1699999999000u) << "the metric's own";
    EXPECT_EQ(feed->timestamp("plant/H1/Bool"), 1700000000000u) << "the message's";

    ASSERT_TRUE(publish("plant/NDATA/H1",
        HandBuiltPayload(1,
            { HandBuiltMetric("Bool").booleanValue(true),
                HandBuiltMetric::ByAlias(9).intValue(3).timestamp(1700000001000) })));
    EXPECT_TRUE(shows({ { "plant/H1/Bool", 4 }, { "plant/H1/Stamped", 3 } }));
    EXPECT_EQ(feed->timestamp("plant/H1/Stamped"), 1700000001000u);

    ASSERT_TRUE(publish("plant/NDEATH/H1",
        HandBuiltPayload(std::nullopt, { HandBuiltMetric("bdSeq").type(UInt64).longValue(4) })));
    ASSERT_TRUE(
        publish("plant/NDATA/H1", HandBuiltPayload(2, { HandBuiltMetric("Bool").booleanValue(false) })));
    EXPECT_TRUE(shows({ { "plant/H1/Bool", 2 } })) << "the death of an earlier session is stale";
    ASSERT_TRUE(publish("plant/NDEATH/H1",
        HandBuiltPayload(std::nullopt, { HandBuiltMetric("bdSeq").type(UInt64).longValue(5) })));
    EXPECT_TRUE(shows({ { "plant/H1/Bool", 1 }, { "plant/H1/Int8", 1 } }));
    EXPECT_EQ(feed->status("other/H1/Bool"), 4);
}

TEST_F(SparkplugFeedTest, BadInputIsIgnoredWithOneWarningPerNode)
{
    startFeed();
    QSignalSpy rebirths(feed.get(), &SparkplugFeed::rebirthRequested);
    g_FeedLog.clear();
    const QtMessageHandler previous = qInstallMessageHandler(KeepFeedLog);
    const std::string birth = HandBuiltPayload(0,
        { HandBuiltMetric("A").alias(1).type(Int32).intValue(2),
            HandBuiltMetric("Odd").alias(2).type(99).intValue(2) });
    ASSERT_TRUE(publish("plant/NBIRTH/B1", birth));
    for (int time = 0; time < 2; ++time)
        ASSERT_TRUE(publish("plant/NDATA/B1", birth.substr(0, birth.size() - 5)));
    ASSERT_TRUE(publish("plant/NBIRTH/B2", std::string(MostSparkplugPayloadBytes + 1, '\x08')));
    // Payloads concatenated are one payload of all their metrics.
    const auto birthOf = [](int metrics) {
        std::string birth;
        for (int count = 0; count < metrics; ++count)
            birth += HandBuiltPayload(
                std::nullopt, { HandBuiltMetric("m" + std::to_string(count)).type(Int32).intValue(2) });
        return birth;
    };
    ASSERT_TRUE(publish("plant/NBIRTH/B3", birthOf(60000)));
    for (std::uint64_t seq = 1; seq <= 2; ++seq)
        ASSERT_TRUE(publish("plant/NDATA/B1",
            HandBuiltPayload(seq, { HandBuiltMetric::ByAlias(77).type(Int32).intValue(3) })));
    for (int time = 0; time < 2; ++time) {
        ASSERT_TRUE(publish("plant/NBIRTHX/B1", birth));
        ASSERT_TRUE(publish("plant", birth));
        ASSERT_TRUE(publish("plant/NDATA", birth));
    }
    for (std::uint64_t seq = 5; seq <= 6; ++seq)
        ASSERT_TRUE(
            publish("plant/NDATA/B4", HandBuiltPayload(seq, { HandBuiltMetric::ByAlias(1).intValue(3) })));
    ASSERT_TRUE(publish("plant/NBIRTH/B5", birthOf(5000)));
    ASSERT_TRUE(publish("plant/NDATA/B1", HandBuiltPayload(3, { HandBuiltMetric::ByAlias(1).intValue(3) })));
    EXPECT_TRUE(shows({ { "B1/A", 3 }, { "B5/m4999", 2 } }));
    qInstallMessageHandler(previous);

    EXPECT_EQ(feed->status("B1/Odd"), 1);
    EXPECT_EQ(g_FeedLog,
        (std::vector<std::string> {
            R"(Sparkplug edge node "plant/B1": the metric "Odd" has the unknown type 99; it shows unknown)",
            R"(Sparkplug edge node "plant/B1": ignored a payload that is not a Sparkplug B message)",
            R"(Sparkplug edge node "plant/B2": ignored a payload of 4194305 bytes, more than 4194304)",
            R"(Sparkplug edge node "plant/B3": ignored a payload of 60000 metrics, more than 50000)",
            R"(Sparkplug edge node "plant/B1": ignored data for the alias 77, which no birth named)",
            R"(Sparkplug edge node "plant/B1": ignored a topic that is no Sparkplug B message: spBv1.0/plant/NBIRTHX/B1)",
            R"(ignored the topic "spBv1.0/plant" and any others outside the Sparkplug B namespace)" }));
    ASSERT_EQ(rebirths.count(), 1) << "data without a birth, asked for once in the rebirth interval";
    EXPECT_EQ(rebirths.first().at(1).toString(), "B4");
}

} // namespace
} // namespace vestrak
