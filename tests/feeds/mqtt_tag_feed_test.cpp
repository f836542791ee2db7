#include "cistatus/cistatus_fixture.h"
#include "feeds/feed_status_answer.h"
#include "feeds/mosquitto_broker.h"
#include "feeds/mqtt_tag_feed.h"
#include "feeds/wait_until.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

namespace vestrak {
namespace {

using namespace std::chrono_literals;
using testing::MosquittoBroker;
using testing::TestPublisher;
using testing::WaitUntil;

std::vector<std::string> g_FeedLog;

void KeepFeedLog(QtMsgType, const QMessageLogContext& context, const QString& message)
{
    if (std::string_view(context.category) == "vestrak.feed")
        g_FeedLog.push_back(message.toStdString());
}

// A feed of the "plant" topics of a private broker, trying again quickly when it is lost.
class FeedOfABroker {
protected:
    FeedOfABroker() { started = broker.start(); }

    MqttTagFeed& startFeed(std::chrono::seconds staleAfter = 0s, int mostUnusedTopicsKept = 10000)
    {
        MqttFeedOptions options = *ParseFeedUrl(broker.url("plant")).options;
        options.staleAfter = staleAfter;
        options.mostUnusedTopicsKept = mostUnusedTopicsKept;
        options.firstRetryDelay = 20ms;
        options.longestRetryDelay = 100ms;
        feed = std::make_unique<MqttTagFeed>(options);
        feed->start();
        return *feed;
    }

    bool showsStatus(const QString& tag, std::int32_t status)
    {
        return WaitUntil([&] { return feed->status(tag) == status; });
    }

    MosquittoBroker broker;
    bool started = false;
    std::unique_ptr<MqttTagFeed> feed;
};

// Why a feed of these options says its first connection failed.
QString FirstLoss(const MqttFeedOptions& options)
{
    MqttTagFeed feed(options);
    QSignalSpy losses(&feed, &MqttTagFeed::connectionLost);
    feed.start();
    return WaitUntil([&] { return losses.count() == 1; }) ? losses.first().first().toString() : "(none)";
}

bool Connects(const MqttFeedOptions& options)
{
    MqttTagFeed feed(options);
    feed.start();
    return WaitUntil([&] { return feed.isConnected(); });
}

class MqttTagFeedTest : public ::testing::Test, protected FeedOfABroker {
protected:
    void SetUp() override { ASSERT_TRUE(started) << "mosquitto did not start"; }
};

TEST_F(MqttTagFeedTest, RetainedValuesComeOnConnectUnderTagNamesOfAnyShape)
{
    TestPublisher publisher(broker.port());
    ASSERT_TRUE(publisher.publish("plant/WW_P101_ST", "0x1002"));
    ASSERT_TRUE(publisher.publish("plant/area 1/pump ü/level", " 4 "));
    ASSERT_TRUE(publisher.publish("plant/Trübwasser", R"({"value": 3})"));
    ASSERT_TRUE(publisher.publish("plantation/X", "2"));
    MqttTagFeed& feed = startFeed();
    EXPECT_EQ(feed.status("WW_P101_ST"), 1) << "before the connection";

    EXPECT_TRUE(showsStatus("WW_P101_ST", 0x1002));
    EXPECT_TRUE(showsStatus("area 1/pump ü/level", 4));
    EXPECT_TRUE(showsStatus("Trübwasser", 3));
    EXPECT_EQ(feed.status("X"), 1);
    EXPECT_EQ(feed.status("ation/X"), 1);
    EXPECT_EQ(feed.status("never published"), 1);
}

TEST_F(MqttTagFeedTest, AMalformedPayloadKeepsTheLastGoodValue)
{
    TestPublisher publisher(broker.port());
    MqttTagFeed& feed = startFeed();
    ASSERT_TRUE(WaitUntil([&] { return feed.isConnected(); }));
    ASSERT_TRUE(publisher.publish("plant/A", "2"));
    ASSERT_TRUE(showsStatus("A", 2));

    g_FeedLog.clear();
    const QtMessageHandler previous = qInstallMessageHandler(KeepFeedLog);
    for (const char* payload : { "running", "{\"value\": \"2\"}" })
        ASSERT_TRUE(publisher.publish("plant/A", payload));
    ASSERT_TRUE(publisher.publish("plant/B", "0x\n2"));
    ASSERT_TRUE(publisher.publish("plant/after", "3"));
    ASSERT_TRUE(showsStatus("after", 3));
    qInstallMessageHandler(previous);
    EXPECT_EQ(feed.status("A"), 2);
    EXPECT_EQ(feed.status("B"), 1);
    EXPECT_EQ(g_FeedLog,
        (std::vector<std::string> {
            "tag \"A\" keeps its last good value: the payload \"running\" is not a status",
            "tag \"B\" keeps its last good value: the payload \"0x?2\" is not a status" }));

    ASSERT_TRUE(publisher.publish("plant/A", ""));
    EXPECT_TRUE(showsStatus("A", 1)) << "a deleted retained value";
    ASSERT_TRUE(publisher.publish("plant/A", "&H104"));
    EXPECT_TRUE(showsStatus("A", 0x104));
}

std::size_t LinesStartingWith(const std::vector<std::string>& lines, const std::string& start)
{
    return static_cast<std::size_t>(std::count_if(
        lines.begin(), lines.end(), [&](const std::string& line) { return line.starts_with(start); }));
}

TEST_F(MqttTagFeedTest, TheFeedKeepsFewTopicsNoObjectAskedFor)
{
    TestPublisher publisher(broker.port());
    const std::pair<const char*, std::int32_t> retained[]
        = { { "A", 2 }, { "B", 3 }, { "C", 4 }, { "D", 5 } };
    for (const auto& [tag, status] : retained)
        ASSERT_TRUE(publisher.publish(std::string("plant/") + tag, std::to_string(status)));
    for (const char* topic : { "plant/a,b", "plant/" })
        ASSERT_TRUE(publisher.publish(topic, "2"));
    g_FeedLog.clear();
    const QtMessageHandler previous = qInstallMessageHandler(KeepFeedLog);
    MqttTagFeed& feed = startFeed(0s, 2);
    ASSERT_TRUE(WaitUntil([&] { return feed.keptTopicCount() == 2 && g_FeedLog.size() == 2; }));

    // What was dropped before it was asked for comes back from the broker's retained messages.
    for (const auto& [tag, status] : retained)
        EXPECT_TRUE(showsStatus(tag, status)) << tag;
    qInstallMessageHandler(previous);
    EXPECT_EQ(feed.keptTopicCount(), 4);
    EXPECT_EQ(
        LinesStartingWith(g_FeedLog,
            "more topics than the 2 kept for tags no object has asked for: the feed drops the others until "
            "an object asks for them"),
        1u);
    EXPECT_EQ(LinesStartingWith(g_FeedLog, "the topic \"plant/"), 1u);
}

TEST_F(MqttTagFeedTest, EveryFedTagIsUnknownWhileTheBrokerIsLost)
{
    const TestPublisher publisher(broker.port());
    ASSERT_TRUE(publisher.publish("plant/A", "2"));
    ASSERT_TRUE(publisher.publish("plant/B", "0x104"));
    MqttTagFeed& feed = startFeed();
    ASSERT_TRUE(showsStatus("A", 2));
    ASSERT_TRUE(showsStatus("B", 0x104));
    QSignalSpy losses(&feed, &MqttTagFeed::connectionLost);

    broker.kill();
    ASSERT_TRUE(WaitUntil([&] { return losses.count() == 1; }));
    EXPECT_EQ(losses.first().first().toString(), "the broker closed the connection");
    EXPECT_EQ(feed.status("A"), 1);
    EXPECT_EQ(feed.status("B"), 1);

    // A retry or two fails while the broker is away; the loss is still reported once.
    QSignalSpy connections(&feed, &MqttTagFeed::connected);
    ASSERT_TRUE(broker.start());
    ASSERT_TRUE(WaitUntil([&] { return connections.count() == 1; }));
    EXPECT_EQ(feed.status("A"), 1) << "values from before the loss are not trusted";
    ASSERT_TRUE(publisher.publish("plant/A", "3"));
    EXPECT_TRUE(showsStatus("A", 3));
    EXPECT_EQ(feed.status("B"), 1);
    EXPECT_EQ(losses.count(), 1);
}

// The client library's own text for this loss was "Unknown error".
TEST_F(MqttTagFeedTest, ABrokerThatFallsSilentIsFoundLostWithinTwoKeepAlivePeriods)
{
    MqttFeedOptions options = *ParseFeedUrl(broker.url("plant")).options;
    options.keepAliveSeconds = 5;
    MqttTagFeed feed(options);
    QSignalSpy losses(&feed, &MqttTagFeed::connectionLost);
    feed.start();
    ASSERT_TRUE(WaitUntil([&] { return feed.isConnected(); }));
    broker.freeze();
    ASSERT_TRUE(WaitUntil([&] { return losses.count() == 1; }, 2 * 5000 + 2000));
    EXPECT_EQ(losses.first().first().toString(),
        "the broker stopped answering (no reply within the keep-alive time)");
}

TEST_F(MqttTagFeedTest, AValueOlderThanTheStalenessAgeIsUnknownUntilItIsRepeated)
{
    std::chrono::milliseconds now = 1000s;
    MqttTagFeed& feed = startFeed(5s);
    feed.setMonotonicClock([&now] { return now; });
    TestPublisher publisher(broker.port());
    ASSERT_TRUE(publisher.publish("plant/A", "2"));
    ASSERT_TRUE(showsStatus("A", 2));
    now += 5s;
    EXPECT_EQ(feed.status("A"), 2);
    now += 1ms;
    EXPECT_EQ(feed.status("A"), 1);
    ASSERT_TRUE(publisher.publish("plant/A", "2"));
    EXPECT_TRUE(showsStatus("A", 2));
}

TEST(MqttTagFeedLoginTest, TheFeedLogsInWithItsCredentials)
{
    testing::TemporaryFolder folder;
    const QString passwords = QString::fromStdString((folder.path() / "passwords").string());
    ASSERT_EQ(QProcess::execute("mosquitto_passwd", { "-b", "-c", passwords, "operator", "s3cret" }), 0);
    MosquittoBroker broker("allow_anonymous false\npassword_file " + passwords.toStdString() + "\n");
    ASSERT_TRUE(broker.start());
    MqttFeedOptions options = *ParseFeedUrl(broker.url("plant")).options;
    options.user = "operator";
    options.password = "wrong";
    EXPECT_EQ(FirstLoss(options), "the broker refused the connection: Connection Refused: not authorised");
    options.password = "s3cret";
    EXPECT_TRUE(Connects(options));
}

// Mosquitto's access control plugin refuses subscriptions that its rules do not allow: by default,
// every one.
TEST(MqttTagFeedLoginTest, ASubscriptionRefusedByTheBrokersAccessControlIsALoss)
{
    testing::TemporaryFolder folder;
    std::ofstream(folder.path() / "access.json") << R"({"defaultACLAccess": {"subscribe": false}})";
    MosquittoBroker broker("allow_anonymous true\nplugin " MOSQUITTO_ACCESS_PLUGIN "\nplugin_opt_config_file "
        + (folder.path() / "access.json").string() + "\n");
    ASSERT_TRUE(broker.start());
    MqttTagFeed feed(*ParseFeedUrl(broker.url("plant")).options);
    QSignalSpy connections(&feed, &MqttTagFeed::connected);
    QSignalSpy losses(&feed, &MqttTagFeed::connectionLost);
    feed.start();
    ASSERT_TRUE(WaitUntil([&] { return losses.count() == 1; }));
    EXPECT_EQ(losses.first().first().toString(),
        "the broker refuses the subscription to plant/#: the user may not read those topics");
    EXPECT_EQ(connections.count(), 0);
    EXPECT_FALSE(feed.isConnected());
}

// A certificate authority of the test's own, the broker's certificate for 127.0.0.1 and a
// client's, made with openssl in the folder; false when a step fails.
bool MakeCertificates(const std::filesystem::path& folder)
{
    std::ofstream(folder / "server.ext") << "subjectAltName=IP:127.0.0.1\n";
    const QString key = "-newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes -keyout ";
    const QString sign = " -CA ca.pem -CAkey ca.key -CAcreateserial -days 1";
    for (const QString& command : { "req -x509 " + key + "ca.key -out ca.pem -days 1 -subj /CN=ca",
             "req " + key + "server.key -out server.csr -subj /CN=127.0.0.1",
             "x509 -req -in server.csr -out server.pem -extfile server.ext" + sign,
             "req " + key + "client.key -out client.csr -subj /CN=operator",
             "x509 -req -in client.csr -out client.pem" + sign }) {
        QProcess openssl;
        openssl.setWorkingDirectory(QString::fromStdString(folder.string()));
        openssl.start("openssl", command.split(' '));
        if (!openssl.waitForFinished() || openssl.exitCode() != 0)
            return false;
    }
    return true;
}

TEST(MqttTagFeedTlsTest, TheFeedConnectsOverTlsWithCertificatesOfItsOwn)
{
    testing::TemporaryFolder folder;
    ASSERT_TRUE(MakeCertificates(folder.path()));
    const auto file
        = [&folder](const char* name) { return QString::fromStdString((folder.path() / name).string()); };
    MosquittoBroker broker("allow_anonymous true\ncafile " + file("ca.pem").toStdString() + "\ncertfile "
        + file("server.pem").toStdString() + "\nkeyfile " + file("server.key").toStdString()
        + "\nrequire_certificate true\n");
    ASSERT_TRUE(broker.start());
    MqttFeedOptions options
        = *ParseFeedUrl(QStringLiteral("mqtts://127.0.0.1:%1/plant").arg(broker.port())).options;
    EXPECT_EQ(FirstLoss(options),
        "TLS: the broker's certificate cannot be verified: it is not signed by a trusted certificate "
        "authority, has expired, or is not made out to this host")
        << "with the system's authorities";
    options.caFile = file("ca.pem");
    // Whether the TLS library has read the broker's alert by then is a matter of timing.
    const QString withoutCertificate = FirstLoss(options);
    EXPECT_TRUE(withoutCertificate == "TLS: the broker asks for a certificate of the client"
        || withoutCertificate
            == "TLS: the broker broke off the session: it may ask for a certificate of the client, or "
               "refuse the one given")
        << withoutCertificate.toStdString();
    options.certificateFile = file("client.pem");
    options.keyFile = file("client.key");
    EXPECT_TRUE(Connects(options));
}

// The status tree asks the feed at each GetStatus; the icons follow at the next flash tick.
class FeedIconTest : public testing::CiStatusTest, protected FeedOfABroker {
protected:
    static constexpr std::int32_t UpdateInterval = 1000;
    static constexpr std::int32_t FlashTick = 500;

    void SetUp() override { ASSERT_TRUE(started) << "mosquitto did not start"; }
};

TEST_F(FeedIconTest, AnUpdateIsShownWithinOneUpdateIntervalPlusAFlashTick)
{
    MqttTagFeed& feed = startFeed();
    ASSERT_TRUE(WaitUntil([&] { return feed.isConnected(); }));
    Connections connections;
    connections += control->GetStatus.connect([&] { AnswerStatusesFromFeed(*control, feed); });
    control->setUpdateInterval(UpdateInterval);
    load({ "P/Plant = 2,,Plant", "P1/Pump = 2,T1,Pump", "P2/Valve = 2,T2,Valve" });
    clock.advance(UpdateInterval + FlashTick);
    EXPECT_EQ(images(), (std::vector<std::int32_t> { 2, 1, 1 }));

    TestPublisher publisher(broker.port());
    ASSERT_TRUE(publisher.publish("plant/T1", "3"));
    ASSERT_TRUE(showsStatus("T1", 3));
    clock.advance(UpdateInterval + FlashTick);
    EXPECT_EQ(images(), (std::vector<std::int32_t> { 2, 3, 1 }));
}

} // namespace
} // namespace vestrak
