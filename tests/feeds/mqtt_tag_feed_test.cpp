#include "cistatus/cistatus_fixture.h"
#include "feeds/feed_status_answer.h"
#include "feeds/mosquitto_broker.h"
#include "feeds/mqtt_tag_feed.h"
#include "feeds/wait_until.h"

#include <QSignalSpy>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace vestrak {
namespace {

using namespace std::chrono_literals;
using testing::MosquittoBroker;
using testing::WaitUntil;

std::vector<std::string> g_FeedLog;

void KeepFeedLog(QtMsgType, const QMessageLogContext& context, const QString& message)
{
    if (std::string_view(context.category) == "vestrak.feed")
        g_FeedLog.push_back(message.toStdString());
}

// A feed of the "plant" topics of a private broker, trying again quickly when it is lost, and a
// status tree to show them.
class MqttTagFeedTest : public testing::CiStatusTest {
protected:
    void SetUp() override { ASSERT_TRUE(broker.start()) << "mosquitto did not start"; }

    MqttTagFeed& startFeed(std::chrono::seconds staleAfter = 0s, int mostUnusedTopicsKept = 10000)
    {
        MqttFeedOptions options = *ParseFeedUrl(broker.url("plant")).options;
        options.staleAfter = staleAfter;
        options.mostUnusedTopicsKept = mostUnusedTopicsKept;
        options.firstRetryDelay = 20ms;
        options.longestRetryDelay = 100ms;
        options.keepAliveSeconds = 5;
        feed = std::make_unique<MqttTagFeed>(options);
        feed->start();
        return *feed;
    }
    bool showsStatus(const QString& tag, std::int32_t status)
    {
        return WaitUntil([&] { return feed->status(tag) == status; });
    }

    MosquittoBroker broker;
    std::unique_ptr<MqttTagFeed> feed;
};

// Why a feed of these options says its first connection failed, or "connected".
QString FirstLoss(const MqttFeedOptions& options)
{
    MqttTagFeed feed(options);
    QSignalSpy losses(&feed, &MqttTagFeed::connectionLost);
    feed.start();
    WaitUntil([&] { return losses.count() == 1 || feed.isConnected(); });
    return feed.isConnected() ? "connected" : losses.value(0).value(0).toString();
}

TEST_F(MqttTagFeedTest, ATagShowsTheLastGoodValueOfItsTopicWhileItIsFresh)
{
    for (const char* topic :
        { "plant/WW_P101_ST", "plant/area 1/pump ü/level", "plant/Trübwasser", "plantation/X" })
        ASSERT_TRUE(broker.publish(topic, "0x1002"));
    std::chrono::milliseconds now = 1000s;
    MqttTagFeed& feed = startFeed(5s);
    feed.setMonotonicClock([&now] { return now; });
    EXPECT_EQ(feed.status("WW_P101_ST"), 1) << "before the connection";
    EXPECT_TRUE(showsStatus("WW_P101_ST", 0x1002) && showsStatus("area 1/pump ü/level", 0x1002)
        && showsStatus("Trübwasser", 0x1002));
    EXPECT_EQ(std::pair(feed.status("X"), feed.status("ation/X")), std::pair(1, 1));

    g_FeedLog.clear();
    const QtMessageHandler previous = qInstallMessageHandler(KeepFeedLog);
    for (const auto& [topic, payload] : std::initializer_list<std::pair<const char*, const char*>> {
             { "plant/A", " 4 " }, { "plant/A", "running" }, { "plant/A", R"({"value": "2"})" },
             { "plant/B", "0x\n2" }, { "plant/C", R"({"value": 3})" } })
        ASSERT_TRUE(broker.publish(topic, payload));
    ASSERT_TRUE(showsStatus("C", 3));
    qInstallMessageHandler(previous);
    EXPECT_EQ(std::pair(feed.status("A"), feed.status("B")), std::pair(4, 1));
    EXPECT_EQ(g_FeedLog,
        (std::vector<std::string> {
            "tag \"A\" keeps its last good value: the payload \"running\" is not a status",
            "tag \"B\" keeps its last good value: the payload \"0x?2\" is not a status" }));
    ASSERT_TRUE(broker.publish("plant/A", ""));
    EXPECT_TRUE(showsStatus("A", 1)) << "a deleted retained value";

    now += 5s;
    EXPECT_EQ(feed.status("C"), 3);
    now += 1ms;
    EXPECT_EQ(feed.status("C"), 1) << "a value older than the staleness age";
    ASSERT_TRUE(broker.publish("plant/C", "&H104"));
    EXPECT_TRUE(showsStatus("C", 0x104));
}

TEST_F(MqttTagFeedTest, TheFeedKeepsFewTopicsNoObjectAskedFor)
{
    for (const char* topic : { "plant/A", "plant/B", "plant/C", "plant/D", "plant/a,b", "plant/" })
        ASSERT_TRUE(broker.publish(topic, std::to_string(topic[6])));
    g_FeedLog.clear();
    const QtMessageHandler previous = qInstallMessageHandler(KeepFeedLog);
    MqttTagFeed& feed = startFeed(0s, 2);
    ASSERT_TRUE(WaitUntil([&] { return feed.keptTopicCount() == 2 && g_FeedLog.size() == 2; }));
    // What was dropped before it was asked for comes back from the broker's retained messages.
    EXPECT_TRUE(
        showsStatus("A", 'A') && showsStatus("B", 'B') && showsStatus("C", 'C') && showsStatus("D", 'D'));
    qInstallMessageHandler(previous);
    EXPECT_EQ(feed.keptTopicCount(), 4);
    EXPECT_THAT(g_FeedLog,
        ::testing::ElementsAre(
            ::testing::StartsWith("more topics than the 2 kept for tags no object has asked "
                                  "for: the feed drops the others until an object asks for them"),
            ::testing::StartsWith("the topic \"plant/")));
}

TEST_F(MqttTagFeedTest, EveryFedTagIsUnknownWhileTheBrokerIsLost)
{
    ASSERT_TRUE(broker.publish("plant/A", "2") && broker.publish("plant/B", "0x104"));
    MqttTagFeed& feed = startFeed();
    ASSERT_TRUE(showsStatus("A", 2) && showsStatus("B", 0x104));
    QSignalSpy losses(&feed, &MqttTagFeed::connectionLost);

    broker.kill();
    ASSERT_TRUE(WaitUntil([&] { return losses.count() == 1; }));
    EXPECT_EQ(losses.value(0).value(0).toString(), "the broker closed the connection");
    EXPECT_EQ(std::pair(feed.status("A"), feed.status("B")), std::pair(1, 1));

    // A retry or two fails while the broker is away; the loss is still reported once.
    ASSERT_TRUE(broker.start());
    ASSERT_TRUE(WaitUntil([&] { return feed.isConnected(); }));
    EXPECT_EQ(feed.status("A"), 1) << "values from before the loss are not trusted";
    ASSERT_TRUE(broker.publish("plant/A", "3"));
    EXPECT_TRUE(showsStatus("A", 3));
    EXPECT_EQ(feed.status("B"), 1);
    EXPECT_EQ(losses.count(), 1);

    // The client library's own text for a broker fallen silent was "Unknown error".
    broker.freeze();
    ASSERT_TRUE(WaitUntil([&] { return losses.count() == 2; }, 2 * 5000 + 2000)) << "two keep-alive periods";
    EXPECT_EQ(losses.value(1).value(0).toString(),
        "the broker stopped answering (no reply within the keep-alive time)");
    EXPECT_EQ(feed.status("A"), 1);
}

// Each broker is met with what it asks for, and a refusal is a loss that names the cause.
TEST(MqttTagFeedSecurityTest, CredentialsCertificatesAndAccessRules)
{
    testing::TemporaryFolder folder;
    const auto file = [&folder](const char* name) { return (folder.path() / name).string(); };
    std::ofstream(file("access.json")) << R"({"defaultACLAccess": {"subscribe": false}})";
    std::ofstream(file("server.ext")) << "subjectAltName=IP:127.0.0.1\n";
    // A certificate authority of the test's own, the broker's certificate for 127.0.0.1 and a client's.
    const std::string key = " -newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes -keyout ";
    const std::string sign = " -CA ca.pem -CAkey ca.key -CAcreateserial -days 1";
    const std::string script = "cd " + folder.path().string() + " && openssl req -x509" + key
        + "ca.key -out ca.pem -days 1 -subj /CN=ca && openssl req" + key
        + "server.key -out server.csr -subj /CN=127.0.0.1 && openssl x509 -req -in server.csr -out server.pem"
        + " -extfile server.ext" + sign + " && openssl req" + key
        + "client.key -out client.csr -subj /CN=operator"
        + " && openssl x509 -req -in client.csr -out client.pem" + sign
        + " && mosquitto_passwd -b -c passwords operator s3cret";
    ASSERT_EQ(QProcess::execute("sh", { "-c", QString::fromStdString(script) }), 0);

    MosquittoBroker login("allow_anonymous false\npassword_file " + file("passwords") + "\n");
    MosquittoBroker access("allow_anonymous true\nplugin " MOSQUITTO_ACCESS_PLUGIN "\nplugin_opt_config_file "
        + file("access.json") + "\n");
    MosquittoBroker tls("allow_anonymous true\ncafile " + file("ca.pem") + "\ncertfile " + file("server.pem")
        + "\nkeyfile " + file("server.key") + "\nrequire_certificate true\n");
    ASSERT_TRUE(login.start() && access.start() && tls.start());
    MqttFeedOptions options = *ParseFeedUrl(login.url("plant")).options;
    options.user = "operator";
    options.password = "wrong";
    EXPECT_EQ(FirstLoss(options), "the broker refused the connection: Connection Refused: not authorised");
    options.password = "s3cret";
    EXPECT_EQ(FirstLoss(options), "connected");

    // Mosquitto's access control plugin refuses, by these rules, every subscription.
    EXPECT_EQ(FirstLoss(*ParseFeedUrl(access.url("plant")).options),
        "the broker refuses the subscription to plant/#: the user may not read those topics");

    options = *ParseFeedUrl(QStringLiteral("mqtts://127.0.0.1:%1/plant").arg(tls.port())).options;
    EXPECT_EQ(FirstLoss(options),
        "TLS: the broker's certificate cannot be verified: it is not signed by a trusted certificate "
        "authority, has expired, or is not made out to this host");
    options.caFile = QString::fromStdString(file("ca.pem"));
    // Whether the TLS library has read the broker's alert by then is a matter of timing.
    EXPECT_THAT(FirstLoss(options).toStdString(),
        ::testing::AnyOf("TLS: the broker asks for a certificate of the client",
            "TLS: the broker broke off the session: it may ask for a certificate of the client, or refuse "
            "the one given"));
    options.certificateFile = QString::fromStdString(file("client.pem"));
    options.keyFile = QString::fromStdString(file("client.key"));
    EXPECT_EQ(FirstLoss(options), "connected");
}

// The status tree asks the feed at each GetStatus; the icons follow at the next flash tick.
TEST_F(MqttTagFeedTest, AnUpdateIsShownWithinOneUpdateIntervalPlusAFlashTick)
{
    MqttTagFeed& feed = startFeed();
    ASSERT_TRUE(WaitUntil([&] { return feed.isConnected(); }));
    const Connection answering = AnswerGetStatusFromFeed(*control, feed);
    control->setUpdateInterval(1000);
    load({ "P/Plant = 2,,Plant", "P1/Pump = 2,T1,Pump", "P2/Valve = 2,T2,Valve" });
    clock.advance(1000 + 500);
    EXPECT_EQ(images(), (std::vector<std::int32_t> { 2, 1, 1 }));
    ASSERT_TRUE(broker.publish("plant/T1", "3"));
    ASSERT_TRUE(showsStatus("T1", 3));
    clock.advance(1000 + 500);
    EXPECT_EQ(images(), (std::vector<std::int32_t> { 2, 3, 1 }));
}

} // namespace
} // namespace vestrak
