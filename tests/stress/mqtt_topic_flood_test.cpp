// The MQTT feed under a broker that carries millions of distinct topics that no object uses.
#include "feeds/mosquitto_broker.h"
#include "feeds/mosquitto_connection.h"
#include "feeds/mqtt_tag_feed.h"
#include "feeds/wait_until.h"

#include <QCoreApplication>
#include <fstream>
#include <gtest/gtest.h>
#include <string>

namespace vestrak {
namespace {

#ifdef VESTRAK_SANITIZED
// The sanitizers make each message some five times dearer and hold freed memory back for a while:
// a quarter of the flood still shows the bound, and the resident size says nothing.
constexpr int FloodTopics = 500'000;
#else
constexpr int FloodTopics = 2'000'000;
#endif

// What the process holds in memory; 0 under the sanitizers, where it says nothing.
long ResidentKibibytes()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line) && !line.starts_with("VmRSS:")) { }
    return FloodTopics < 2'000'000 || line.empty() ? 0 : std::stol(line.substr(6));
}

// A broker on the loopback address passes some tens of thousands of messages a second on a busy
// machine: the flood enters where the client library hands its messages to the feed, on a feed
// connected to a real broker, which then still brings the page's tag.
TEST(MqttTopicFloodTest, TwoMillionDistinctTopicsLeaveTheFeedsMemoryFlat)
{
    int argumentCount = 0;
    QCoreApplication application(argumentCount, nullptr);
    testing::MosquittoBroker broker;
    ASSERT_TRUE(broker.start());
    MqttTagFeed feed(*ParseFeedUrl(broker.url("plant")).options);
    int updates = 0;
    QObject::connect(&feed, &MqttTagFeed::tagUpdated, [&updates] { ++updates; });
    EXPECT_EQ(feed.status("P101"), 1) << "the page's tag, asked for before the flood";
    feed.start();
    ASSERT_TRUE(testing::WaitUntil([&] { return feed.isConnected(); }));
    auto* connection = feed.findChild<MosquittoConnection*>();
    ASSERT_NE(connection, nullptr);
    const long residentBefore = ResidentKibibytes();

    for (int index = 0; index < FloodTopics; ++index) {
        emit connection->messageArrived("plant/flood/" + std::to_string(index), "2");
    }
    EXPECT_EQ(updates, FloodTopics);
    EXPECT_LE(feed.keptTopicCount(), feed.options().mostUnusedTopicsKept + 1);
    // Every topic kept took some 130 bytes.
    EXPECT_LT(ResidentKibibytes() - residentBefore, 32 * 1024);

    ASSERT_TRUE(testing::TestPublisher(broker.port()).publish("plant/P101", "3"));
    EXPECT_TRUE(testing::WaitUntil([&] { return feed.status("P101") == 3; }));
}

} // namespace
} // namespace vestrak
