#include "feeds/mosquitto_broker.h"
#include "feeds/sparkplug_edge.h"

#include <QProcess>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace vestrak {
namespace {

using ::testing::HasSubstr;

struct PageRun {
    int exitCode = -1;
    std::string output, errors;
};

// The status tree's dump of the page's objects with these images.
std::string Images(int pump, int valve, int tank)
{
    return "  P/0 \"Plant\" image=2\n    P1/1 \"Pump\" image=" + std::to_string(pump)
        + "\n    P2/2 \"Valve\" image=" + std::to_string(valve)
        + "\n    P3/3 \"Tank\" image=" + std::to_string(tank) + "\n";
}

// vestrak-page on a page of three tagged objects that answers every query from its tag table.
class VestrakPageFeedTest : public ::testing::Test {
protected:
    PageRun runPage(
        const QStringList& feed, const std::string& pageLines = "", const std::string& tagPrefix = "")
    {
        std::ofstream(path("status.ini")) << "[TreeObjects]\r\nP/Plant = 2,,Plant\r\nP1/Pump = 2,"
                                          << tagPrefix << "T1,Pump\r\nP2/Valve = 2," << tagPrefix
                                          << "T2,Valve\r\nP3/Tank = 2," << tagPrefix << "T3,Tank\r\n";
        std::ofstream(path("feed.page"))
            << "create s CiStatus\nset s.UpdateInterval 100\non s.GetStatus answer s\n"
            << "set s.ObjectFile " << path("status.ini") << "\n"
            << pageLines << "tick 1000\ndump s.TreeView_Status\n";
        QProcess program;
        program.start(VESTRAK_PAGE_PROGRAM,
            QStringList { QString::fromStdString(path("feed.page")), "--screenshot",
                QString::fromStdString(path("page.png")), "--after", "1300" }
                + feed);
        program.waitForFinished(30000);
        return { program.exitCode(), program.readAllStandardOutput().toStdString(),
            program.readAllStandardError().toStdString() };
    }
    [[nodiscard]] std::string path(const char* name) const { return (folder.path() / name).string(); }

    testing::TemporaryFolder folder;
};

TEST_F(VestrakPageFeedTest, EveryProblemStartingTheMqttFeedIsReported)
{
    std::ofstream(path("password")) << "s3cret\n";
    chmod(path("password").c_str(), 0644);
    const PageRun run = runPage({ "--mqtt", "mqtt://127.0.0.1:1/plant", "--user", "operator",
        "--password-file", QString::fromStdString(path("password")) });
    EXPECT_EQ(run.exitCode, 0) << run.errors;
    const std::string lost
        = "vestrak-page: no statuses from the MQTT broker at 127.0.0.1:1: Connection refused; "
          "every fed tag shows unknown until it answers\n";
    EXPECT_THAT(run.errors, HasSubstr(lost));
    EXPECT_EQ(run.errors.find(lost), run.errors.rfind(lost)) << "reported once";
    EXPECT_THAT(run.errors,
        HasSubstr("vestrak-page: warning: the password file " + path("password")
            + " may be read by other users; make it readable by its owner only (chmod 600)\n"));
    EXPECT_THAT(run.output, HasSubstr(Images(1, 1, 1)));
    EXPECT_TRUE(std::filesystem::exists(path("page.png")));

    // A FIFO would hold the page at its start until someone writes to it; a device may never end.
    ASSERT_EQ(mkfifo(path("fifo").c_str(), 0600), 0);
    for (const std::string& passwordFile : { path("fifo"), std::string("/dev/zero") }) {
        const PageRun run = runPage({ "--mqtt", "mqtt://127.0.0.1:1/plant", "--user", "operator",
            "--password-file", QString::fromStdString(passwordFile) });
        EXPECT_EQ(run.exitCode, 2) << passwordFile;
        EXPECT_THAT(run.errors,
            HasSubstr("vestrak-page: the password file " + passwordFile + " is not a regular file\n"));
    }
}

// Retained births stand in for edge nodes that were asked for them.
TEST_F(VestrakPageFeedTest, TheBrokerAnswersEveryTagThroughEitherFeed)
{
    testing::MosquittoBroker broker;
    std::ofstream(path("rules")) << "*/T3 | >= 1.5 | 3\n";
    ASSERT_TRUE(broker.start() && broker.publish("plant/T1", "3")
        && broker.publish("spBv1.0/plant/NBIRTH/E1",
            testing::HandBuiltPayload(R"(seq: 0 metrics { name: "T1" datatype: 3 int_value: 3 })"
                                      R"(metrics { name: "T2" datatype: 11 boolean_value: true })"
                                      R"(metrics { name: "T3" datatype: 10 double_value: 1.5 })")));
    const PageRun mqtt = runPage({ "--mqtt", broker.url("plant") }, "tag T1 4\ntag T2 4\n");
    EXPECT_EQ(mqtt.exitCode, 0) << mqtt.errors;
    EXPECT_THAT(mqtt.errors, HasSubstr("vestrak-page: statuses come from the MQTT broker at 127.0.0.1:"));
    EXPECT_THAT(mqtt.output, HasSubstr(Images(3, 4, 1)));

    const PageRun sparkplug = runPage({ "--sparkplug", broker.url("plant"), "--group-in-tags",
                                          "--status-rules", QString::fromStdString(path("rules")) },
        "", "plant/E1/");
    EXPECT_EQ(sparkplug.exitCode, 0) << sparkplug.errors;
    EXPECT_THAT(sparkplug.errors,
        HasSubstr("vestrak-page: statuses come from Sparkplug B edge nodes through the MQTT broker at "));
    EXPECT_THAT(sparkplug.output, HasSubstr(Images(3, 4, 3)));
}

} // namespace
} // namespace vestrak
