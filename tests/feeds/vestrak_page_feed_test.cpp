#include "feeds/mosquitto_broker.h"
#include "feeds/sparkplug_edge.h"

#include <QProcess>
#include <filesystem>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace vestrak {
namespace {

using ::testing::HasSubstr;
using testing::MosquittoBroker;
using testing::TestPublisher;

constexpr int PageWaitMilliseconds = 30000;

struct PageRun {
    int exitCode = -1;
    std::string output;
    std::string errors;
};

// vestrak-page on a page of three tagged objects that answers every query from its tag table.
class VestrakPageFeedTest : public ::testing::Test {
protected:
    PageRun runPage(const std::string& url, const std::vector<std::string>& pageLines,
        const QStringList& feedOptions = {})
    {
        std::ofstream(folder.path() / "status.ini")
            << "[TreeObjects]\r\nP/Plant = 2,,Plant\r\nP1/Pump = 2," << tagPrefix
            << "T1,Pump\r\nP2/Valve = 2," << tagPrefix << "T2,Valve\r\nP3/Tank = 2," << tagPrefix
            << "T3,Tank\r\n";
        std::ofstream page(folder.path() / "feed.page");
        page << "create s CiStatus\nset s.UpdateInterval 100\non s.GetStatus answer s\n"
             << "set s.ObjectFile " << (folder.path() / "status.ini").string() << "\n";
        for (const std::string& line : pageLines)
            page << line << "\n";
        page.close();
        QProcess program;
        program.start(QStringLiteral(VESTRAK_PAGE_PROGRAM),
            QStringList { QString::fromStdString((folder.path() / "feed.page").string()), feedOption,
                QString::fromStdString(url), "--screenshot", QString::fromStdString(screenshot()), "--after",
                "1300" }
                + feedOptions);
        program.waitForFinished(PageWaitMilliseconds);
        return { program.exitCode(), program.readAllStandardOutput().toStdString(),
            program.readAllStandardError().toStdString() };
    }

    [[nodiscard]] std::string screenshot() const { return (folder.path() / "page.png").string(); }
    [[nodiscard]] QString pathOf(const char* name) const
    {
        return QString::fromStdString((folder.path() / name).string());
    }

    testing::TemporaryFolder folder;
    QString feedOption = "--mqtt";
    std::string tagPrefix;
};

std::size_t CountOf(const std::string& text, const std::string& part)
{
    std::size_t count = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++count;
    return count;
}

TEST_F(VestrakPageFeedTest, WithoutABrokerThePageShowsUnknowns)
{
    std::ofstream(folder.path() / "password") << "s3cret\n";
    std::filesystem::permissions(folder.path() / "password", std::filesystem::perms(0644));
    const int port = testing::FreeLoopbackPort();
    const PageRun run = runPage("mqtt://127.0.0.1:" + std::to_string(port) + "/plant",
        { "tick 1000", "dump s.TreeView_Status" },
        { "--user", "operator", "--password-file", pathOf("password") });
    EXPECT_EQ(run.exitCode, 0) << run.errors;
    EXPECT_EQ(CountOf(run.errors,
                  "vestrak-page: no statuses from the MQTT broker at 127.0.0.1:" + std::to_string(port)
                      + ": Connection refused; every fed tag shows unknown until it answers\n"),
        1u)
        << run.errors;
    EXPECT_THAT(run.errors,
        HasSubstr("vestrak-page: warning: the password file " + pathOf("password").toStdString()
            + " may be read by other users; make it readable by its owner only (chmod 600)\n"));
    EXPECT_EQ(CountOf(run.output, "image=1"), 3u) << run.output;
    EXPECT_TRUE(std::filesystem::exists(screenshot()));
}

// A FIFO would hold the page at its start until someone writes to it; a device may never end.
TEST_F(VestrakPageFeedTest, APasswordFileThatIsNotARegularFileIsRefusedAtOnce)
{
    ASSERT_EQ(mkfifo((folder.path() / "fifo").c_str(), 0600), 0);
    for (const QString& passwordFile : { pathOf("fifo"), QStringLiteral("/dev/zero") }) {
        const PageRun run = runPage(
            "mqtt://127.0.0.1:1/plant", {}, { "--user", "operator", "--password-file", passwordFile });
        EXPECT_EQ(run.exitCode, 2) << passwordFile.toStdString();
        EXPECT_THAT(run.errors,
            HasSubstr("vestrak-page: the password file " + passwordFile.toStdString()
                + " is not a regular file\n"));
    }
}

TEST_F(VestrakPageFeedTest, TheBrokerAnswersEveryTag)
{
    MosquittoBroker broker;
    ASSERT_TRUE(broker.start());
    TestPublisher publisher(broker.port());
    ASSERT_TRUE(publisher.publish("plant/T1", "3"));
    const PageRun run = runPage(
        broker.url("plant").toStdString(), { "tag T1 4", "tag T2 4", "tick 1000", "dump s.TreeView_Status" });
    EXPECT_EQ(run.exitCode, 0) << run.errors;
    EXPECT_THAT(run.errors, HasSubstr("vestrak-page: statuses come from the MQTT broker at 127.0.0.1:"));
    EXPECT_THAT(run.output,
        HasSubstr("  P/0 \"Plant\" image=2\n"
                  "    P1/1 \"Pump\" image=3\n"
                  "    P2/2 \"Valve\" image=4\n"
                  "    P3/3 \"Tank\" image=1\n"));
}

// Retained births stand in for edge nodes that were asked for them.
TEST_F(VestrakPageFeedTest, SparkplugBirthsFeedThePageThroughTheStatusRules)
{
    MosquittoBroker broker;
    ASSERT_TRUE(broker.start());
    using testing::HandBuiltMetric;
    ASSERT_TRUE(testing::PublishBytes(broker.port(), "spBv1.0/plant/NBIRTH/E1",
        testing::HandBuiltPayload(0,
            { HandBuiltMetric("T1").type(3).intValue(3), HandBuiltMetric("T2").type(11).booleanValue(true),
                HandBuiltMetric("T3").type(10).doubleValue(1.5) }),
        true));
    std::ofstream(folder.path() / "rules") << "*/T3 | >= 1.5 | 3\n";
    feedOption = "--sparkplug";
    tagPrefix = "plant/E1/";
    const PageRun run = runPage(broker.url("plant").toStdString(), { "tick 1000", "dump s.TreeView_Status" },
        { "--group-in-tags", "--status-rules", QString::fromStdString((folder.path() / "rules").string()) });
    EXPECT_EQ(run.exitCode, 0) << run.errors;
    EXPECT_THAT(run.errors,
        HasSubstr("vestrak-page: statuses come from Sparkplug B edge nodes through the MQTT broker at "));
    EXPECT_THAT(run.output,
        HasSubstr("    P1/1 \"Pump\" image=3\n"
                  "    P2/2 \"Valve\" image=4\n"
                  "    P3/3 \"Tank\" image=3\n"));
}

} // namespace
} // namespace vestrak
