#include "feeds/mosquitto_broker.h"
#include "feeds/sparkplug_edge.h"
#include "feeds/sparkplug_feed.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

namespace vestrak {
namespace {

using namespace std::chrono_literals;
using testing::HandBuiltPayload;
using testing::WaitUntil;

std::vector<std::string> g_FeedLog;

void KeepFeedLog(QtMsgType, const QMessageLogContext& context, const QString& message)
{
    if (std::string_view(context.category) == "vestrak.feed")
        g_FeedLog.push_back(message.toStdString());
}

class SparkplugFeedTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(broker.start()) << "mosquitto did not start"; }

    void startFeed(const QString& groups = "plant",
        SparkplugFeedOptions::GroupInTagNames groupInTagNames = SparkplugFeedOptions::GroupInTagNames::No)
    {
        SparkplugFeedOptions options = *ParseSparkplugUrl(broker.url(groups)).options;
        options.groupInTagNames = groupInTagNames;
        options.connection.firstRetryDelay = 20ms;
        options.connection.longestRetryDelay = 100ms;
        feed = std::make_unique<SparkplugFeed>(options);
        feed->start();
        ASSERT_TRUE(WaitUntil([&] { return feed->isConnected(); }));
    }
    bool shows(std::initializer_list<std::pair<QString, std::int32_t>> statuses, int milliseconds = 10000)
    {
        const auto shown = [&](const auto& tag) { return feed->status(tag.first) == tag.second; };
        return WaitUntil([&] { return std::ranges::all_of(statuses, shown); }, milliseconds);
    }
    bool publish(const std::string& topic, const std::string& text)
    {
        return broker.publish("spBv1.0/" + topic, HandBuiltPayload(text));
    }

    testing::MosquittoBroker broker;
    std::unique_ptr<SparkplugFeed> feed;
};

// A node "E1" of the npm sparkplug-client with a Boolean, an Int32 and a String of its own, and a
// device "Pump 1" with an Int32 and a Float, through one session after another.
TEST_F(SparkplugFeedTest, AThirdPartyEdgeNodeIsShownOnlyWhileItsSessionHoldsEveryMessage)
{
    if (const std::string why = testing::EdgeNodeUnavailable(); !why.empty())
        GTEST_SKIP() << why;
    startFeed();
    testing::EdgeNode node;
    ASSERT_TRUE(node.start(broker.port(), "plant", "E1"));
    const auto showsNode = [this](std::int32_t run, std::int32_t level, std::int32_t motor) {
        return shows({ { "E1/Run", run }, { "E1/Level", level }, { "E1/Pump 1/Motor/State", motor } });
    };
    ASSERT_TRUE(
        node.send(R"({"do":"nbirth","metrics":[{"name":"Run","alias":1,"type":"Boolean","value":true},)"
                  R"({"name":"Level","alias":2,"type":"Int32","value":-3},)"
                  R"({"name":"Mode","alias":5,"type":"String","value":"Auto"}]})"));
    ASSERT_TRUE(node.send(R"({"do":"dbirth","device":"Pump 1","metrics":[)"
                          R"({"name":"Motor/State","alias":3,"type":"Int32","value":260},)"
                          R"({"name":"Flow","alias":4,"type":"Float","value":1.5}]})"));
    ASSERT_TRUE(showsNode(4, -3, 260));
    EXPECT_EQ(std::pair(feed->status("E1/Mode"), feed->status("E1/Pump 1/Flow")), std::pair(1, 1))
        << "unless mapped";

    ASSERT_TRUE(node.send(R"({"do":"ndata","metrics":[{"alias":1,"type":"Boolean","value":false},)"
                          R"({"alias":2,"type":"Int32","value":null}]})"));
    ASSERT_TRUE(
        node.send(R"({"do":"ddata","device":"Pump 1","metrics":[{"alias":3,"type":"Int32","value":3}]})"));
    EXPECT_TRUE(showsNode(2, 1, 3)) << "data by alias";
    ASSERT_TRUE(node.send(R"({"do":"ndata","metrics":[{"alias":2,"type":"Int32","value":7}]})"));
    EXPECT_TRUE(shows({ { "E1/Level", 7 } }));

    QSignalSpy rebirths(feed.get(), &SparkplugFeed::rebirthRequested);
    ASSERT_TRUE(node.send(R"({"do":"skip"})"));
    EXPECT_TRUE(showsNode(1, 1, 1)) << "a skipped seq";
    ASSERT_TRUE(node.waitFor("rebirth"));
    EXPECT_TRUE(showsNode(2, 7, 3));
    ASSERT_TRUE(node.send(R"({"do":"ndata","metrics":[{"alias":2,"type":"Int32","value":8}]})"));
    EXPECT_TRUE(shows({ { "E1/Level", 8 } }));
    EXPECT_EQ(rebirths.count(), 1);

    broker.kill();
    EXPECT_TRUE(showsNode(1, 1, 1)) << "the broker lost";
    ASSERT_TRUE(broker.start());
    EXPECT_TRUE(showsNode(2, 8, 3));

    ASSERT_TRUE(node.send(R"({"do":"ddeath","device":"Pump 1"})"));
    EXPECT_TRUE(shows({ { "E1/Pump 1/Motor/State", 1 } }));
    EXPECT_EQ(feed->status("E1/Run"), 2) << "the node lives on";
    node.kill();
    EXPECT_TRUE(shows({ { "E1/Run", 1 }, { "E1/Level", 1 } }, 1000)) << "by its will";
}

// Payloads of our own making, from two groups whose tags name their group.
TEST_F(SparkplugFeedTest, HandBuiltPayloadsFollowTheSessionOfTheirBirth)
{
    startFeed("plant,other", SparkplugFeedOptions::GroupInTagNames::Yes);
    ASSERT_TRUE(publish("plant/NBIRTH/H1",
        R"(seq: 0 metrics { name: "Int8" datatype: 1 int_value: 255 })"
        R"(metrics { name: "Int64" datatype: 4 long_value: 260 })"
        R"(metrics { name: "Int64 beyond 32 bits" datatype: 4 long_value: 1099511627776 })"
        R"(metrics { name: "Bool" datatype: 11 boolean_value: false })"
        R"(metrics { name: "Double" datatype: 10 double_value: 3 })"
        R"(metrics { name: "Null" datatype: 3 is_null: true })"
        R"(metrics { name: "Stamped" alias: 9 datatype: 3 int_value: 2 timestamp: 1699999999000 })"
        R"(metrics { name: "bdSeq" datatype: 8 long_value: 5 })"));
    ASSERT_TRUE(
        publish("other/NBIRTH/H1", R"(seq: 0 metrics { name: "Bool" datatype: 11 boolean_value: true })"));
    ASSERT_TRUE(shows({ { "plant/H1/Int8", -1 }, { "plant/H1/Int64", 260 }, { "plant/H1/Bool", 2 },
        { "plant/H1/Stamped", 2 }, { "other/H1/Bool", 4 }, { "plant/H1/Int64 beyond 32 bits", 1 },
        { "plant/H1/Double", 1 }, { "plant/H1/Null", 1 }, { "H1/Bool", 1 } }));
    EXPECT_EQ(feed->timestamp("plant/H1/Stamped"), 1699999999000u) << "the metric's own";
    EXPECT_EQ(feed->timestamp("plant/H1/Bool"), 1700000000000u) << "the message's";

    ASSERT_TRUE(publish("plant/NDATA/H1",
        R"(seq: 1 metrics { name: "Bool" boolean_value: true })"
        R"(metrics { alias: 9 int_value: 3 timestamp: 1700000001000 })"));
    EXPECT_TRUE(shows({ { "plant/H1/Bool", 4 }, { "plant/H1/Stamped", 3 } }));
    EXPECT_EQ(feed->timestamp("plant/H1/Stamped"), 1700000001000u);

    ASSERT_TRUE(publish("plant/NDEATH/H1", R"(metrics { name: "bdSeq" datatype: 8 long_value: 4 })"));
    ASSERT_TRUE(publish("plant/NDATA/H1", R"(seq: 2 metrics { name: "Bool" boolean_value: false })"));
    EXPECT_TRUE(shows({ { "plant/H1/Bool", 2 } })) << "the death of an earlier session is stale";
    ASSERT_TRUE(publish("plant/NDEATH/H1", R"(metrics { name: "bdSeq" datatype: 8 long_value: 5 })"));
    EXPECT_TRUE(shows({ { "plant/H1/Bool", 1 }, { "plant/H1/Int8", 1 } }));
    EXPECT_EQ(feed->status("other/H1/Bool"), 4);
}

TEST_F(SparkplugFeedTest, BadInputIsIgnoredWithOneWarningPerNode)
{
    startFeed();
    QSignalSpy rebirths(feed.get(), &SparkplugFeed::rebirthRequested);
    g_FeedLog.clear();
    const QtMessageHandler previous = qInstallMessageHandler(KeepFeedLog);
    const std::string birth
        = HandBuiltPayload(R"(seq: 0 metrics { name: "A" alias: 1 datatype: 3 int_value: 2 })"
                           R"(metrics { name: "Odd" alias: 2 datatype: 99 int_value: 2 })");
    const auto birthOf = [](int metrics) {
        std::string text = "seq: 0";
        for (int count = 0; count < metrics; ++count)
            text += " metrics { name: \"m" + std::to_string(count) + "\" datatype: 3 int_value: 2 }";
        return HandBuiltPayload(text);
    };
    const auto data = [](int seq, int alias) {
        return HandBuiltPayload(
            "seq: " + std::to_string(seq) + " metrics { alias: " + std::to_string(alias) + " int_value: 3 }");
    };
    const std::string cut = birth.substr(0, birth.size() - 5);
    const std::pair<std::string, std::string> messages[] = { { "NBIRTH/B1", birth }, { "NDATA/B1", cut },
        { "NDATA/B1", cut }, { "NBIRTH/B2", std::string(MostSparkplugPayloadBytes + 1, '\x08') },
        { "NBIRTH/B3", birthOf(60000) }, { "NDATA/B1", data(1, 77) }, { "NDATA/B1", data(2, 77) },
        { "NBIRTHX/B1", birth }, { "NBIRTHX/B1", birth }, { "", birth }, { "", birth }, { "NDATA", birth },
        { "NDATA/B4", data(5, 1) }, { "NDATA/B4", data(6, 1) }, { "NBIRTH/B5", birthOf(5000) },
        { "NDATA/B1", data(3, 1) } };
    for (const auto& [topic, payload] : messages)
        ASSERT_TRUE(broker.publish("spBv1.0/plant" + (topic.empty() ? "" : "/" + topic), payload)) << topic;
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
