#include "diagnostics/log.h"
#include "support/test_platform.h"

#include <deque>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iostream>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <thread>
#include <unistd.h>

namespace vestrak {
namespace {

namespace fs = std::filesystem;

// Hands out the readings in turn, then repeats the last.
class ScriptedClock : public Clock {
public:
    std::deque<double> readings { 0 };

    double secondsSinceMidnight() override
    {
        const double reading = readings.front();
        readings.erase(readings.begin(), readings.begin() + (readings.size() > 1 ? 1 : 0));
        return reading;
    }
    std::u16string dateText() override { return u"2024-05-01"; }
    std::u16string timeText() override { return u"23:59:58"; }
};

class WriteLogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        fs::create_directories(m_Root / "common");
        m_Folders.path = (m_Root / "common").u16string();
        ForgetLogFolderOfThisThread();
    }

    static std::string logText(const fs::path& file)
    {
        std::ifstream stream(file, std::ios::binary);
        return { std::istreambuf_iterator<char>(stream), {} };
    }
    fs::path commonLog() const { return m_Root / "common/Vestrak/VestrakControls/VestrakControls.log"; }

    ScriptedClock m_Clock;
    testing::ScratchFiles m_Files;
    fs::path m_Root = m_Files.folder();
    testing::TestSpecialFolders m_Folders;
    LogServices m_Services { m_Clock, m_Files, m_Folders };
    std::int32_t m_LoggingStyle = 0x10000 | 0x3;
};

// A line tells the milliseconds since the reference, which is reset to now first when it is 0,
// after now or too old.
TEST_F(WriteLogTest, TellsTheTimeSinceTheReference)
{
    using Row = std::tuple<float, double, double, std::string, float>;
    for (auto [reference, firstReading, secondReading, elapsed, referenceAfter] :
        std::initializer_list<Row> { { 0, 500, 500.5, "500", 500 }, { 100, 101.5, 101.5, "1500", 100 },
            { 86000, 10, 10, "0", 10 }, { 1, 100002, 100002, "0", 100002 },
            { 2, 100002, 100002, "100000000", 2 }, { 86399, 86399.5, 0.25, "0", 0.25 } }) {
        SCOPED_TRACE(reference);
        m_Clock.readings = { firstReading, secondReading };
        WriteLog(m_LoggingStyle, reference, u"Störung", m_Services);
        EXPECT_EQ(reference, referenceAfter);
        EXPECT_TRUE(
            logText(commonLog()).ends_with("2024-05-01 23:59:58\tSt\xC3\xB6rung\t" + elapsed + " msec\r\n"));
    }
}

TEST_F(WriteLogTest, WithoutTheLogBitNothingIsTouched)
{
    float reference = 0;
    WriteLog(0xFFFF, reference, u"CiTree Terminate", m_Services);
    WriteLog(0x2FFFF, reference, u"CiTree Terminate", m_Services); // a bit above the log bit is not it
    EXPECT_EQ(reference, 0.0F);
    EXPECT_TRUE(fs::is_empty(m_Root / "common"));
}

// The folder is worked out, and made, at the first line of each thread: one deleted meanwhile is
// not made again. Without the common folder the log goes to the program folder.
TEST_F(WriteLogTest, TheFolderIsWorkedOutOnceAThread)
{
    float reference = 0;
    WriteLog(m_LoggingStyle, reference, u"first", m_Services);
    fs::remove_all(m_Root / "common/Vestrak");
    WriteLog(m_LoggingStyle, reference, u"lost", m_Services);
    EXPECT_FALSE(fs::exists(m_Root / "common/Vestrak"));
    std::thread([&] { WriteLog(m_LoggingStyle, reference, u"other thread", m_Services); }).join();
    EXPECT_TRUE(logText(commonLog()).ends_with("\tother thread\t0 msec\r\n"));

    m_Folders.path.reset();
    ForgetLogFolderOfThisThread();
    WriteLog(m_LoggingStyle, reference, u"fallback", m_Services);
    EXPECT_TRUE(logText(m_Root / "Vestrak/Vestrak/VestrakControls/VestrakControls.log")
                    .ends_with("\tfallback\t0 msec\r\n"));
}

constexpr uid_t Nobody = 65534;
// The case run as a plain user, the superuser being allowed to write in any folder.
constexpr int ClosedFolderCase = 13;

// Sets case `number` up: something another local user planted in the log's place or on its way
// below `common`, or a place that is unusable (pointing `common` elsewhere). Gives why nothing is
// written, `@` standing for the case's folder, or "" when the line is written; "-" when the case
// needs rights this run lacks (a device or another user's file needs root), nothing past the last.
std::optional<std::string> PlantCase(int number, fs::path& common, int& pipeReader)
{
    const fs::path log = common / "Vestrak/VestrakControls/VestrakControls.log";
    const fs::path victim = common.parent_path() / "victim";
    // Cases 7 to 10: a folder open to all, sticky in the even ones, reached through a link of
    // one's own from 9 on.
    const fs::path openFolder = number < 9 ? common / "Vestrak" : common.parent_path() / "open";
    if (number < 7) {
        fs::create_directories(log.parent_path());
    }
    switch (number) {
    case 0:
        return "";
    case 1:
        fs::create_symlink(victim, log);
        return "it is a symbolic link";
    case 2:
        fs::create_hard_link(victim, log);
        return "it has 2 names (hard links)";
    case 3:
    case 4:
        pipeReader
            = mkfifo(log.c_str(), 0666) == 0 && number == 4 ? open(log.c_str(), O_RDONLY | O_NONBLOCK) : -1;
        return fs::is_fifo(log) && (number == 3 || pipeReader >= 0) ? "it is a pipe, not an ordinary file"
                                                                    : "-";
    case 5:
        return mknod(log.c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0 ? "it is a device, not an ordinary file"
                                                                      : "-";
    case 6:
        std::ofstream(log) << "";
        return chmod(log.c_str(), 0666) == 0 && chown(log.c_str(), Nobody, Nobody) == 0
            ? "it belongs to another user"
            : "-";
    case 7:
    case 8:
    case 9:
    case 10:
        fs::create_directories(openFolder / "VestrakControls");
        fs::permissions(
            openFolder, fs::perms::all | (number % 2 == 0 ? fs::perms::sticky_bit : fs::perms::none));
        if (number >= 9) {
            fs::create_symlink(openFolder, common / "Vestrak");
        }
        return number % 2 == 0
            ? ""
            : "others may change the folder " + std::string(number < 9 ? "@/common/Vestrak" : "@/open");
    case 11:
        common = common.parent_path() / "missing/deeper";
        return "the folder @/missing is missing";
    case 12:
        common /= "file";
        std::ofstream(common) << "";
        return "@/common/file is not a folder";
    case ClosedFolderCase:
        fs::permissions(common,
            fs::perms::all & ~(fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write));
        return "the folder @/common/Vestrak is missing, and the user may not write in @/common to create it";
    }
    return std::nullopt;
}

// The log writes nothing in a place another user could have planted or that is unusable, never
// waits there, and says why once.
TEST_F(WriteLogTest, WritesOnlyItsOwnOrdinaryFile)
{
    for (int number = 0;; ++number) {
        const fs::path caseFolder = m_Root / std::to_string(number);
        fs::path common = caseFolder / "common";
        fs::create_directories(common);
        std::ofstream(caseFolder / "victim") << "kept";
        int pipeReader = -1;
        std::optional<std::string> reason = PlantCase(number, common, pipeReader);
        if (!reason) {
            break;
        }
        SCOPED_TRACE("case " + std::to_string(number) + ": " + *reason);
        if (reason == "-") {
            std::cout << "not tried here: case " << number << '\n';
            continue;
        }
        std::vector<std::string> problems;
        LocalFileSystem files(
            std::chrono::seconds(2), [&](const std::string& problem) { problems.push_back(problem); });
        m_Folders.path = common.u16string();
        LogServices services { m_Clock, files, m_Folders };
        float reference = 0;
        ForgetLogFolderOfThisThread();
        const bool asPlainUser = number == ClosedFolderCase && geteuid() == 0;
        EXPECT_TRUE(!asPlainUser || seteuid(Nobody) == 0);
        WriteLog(m_LoggingStyle, reference, u"first", services);
        WriteLog(m_LoggingStyle, reference, u"second", services);
        EXPECT_TRUE(!asPlainUser || seteuid(0) == 0);
        const fs::path log = common / "Vestrak/VestrakControls/VestrakControls.log";
        for (std::size_t at = reason->find('@'); at != std::string::npos; at = reason->find('@')) {
            reason->replace(at, 1, caseFolder.string());
        }
        EXPECT_EQ(problems,
            reason->empty() ? std::vector<std::string>()
                            : std::vector { "nothing is written to " + log.string() + ": " + *reason });
        EXPECT_EQ(logText(reason->empty() ? log : caseFolder / "victim"),
            reason->empty() ? "2024-05-01 23:59:58\tfirst\t0 msec\r\n2024-05-01 23:59:58\tsecond\t0 msec\r\n"
                            : "kept");
        char taken = 0;
        EXPECT_TRUE(pipeReader < 0 || read(pipeReader, &taken, 1) <= 0) << "a line went into the pipe";
        close(pipeReader);
    }
}

TEST(GetSpecialFolder, EndsInFolderEndUnlessEmpty)
{
    using Row = std::tuple<std::optional<std::u16string>, std::u16string, std::u16string>;
    for (const auto& [lookup, fallback, expected] :
        std::initializer_list<Row> { { u"/var/tmp", u"/opt/v", u"/var/tmp/" },
            { u"/var/tmp/", u"/opt/v", u"/var/tmp/" }, { u"C:\\Data\\", u"/opt/v", u"C:\\Data\\" },
            { std::u16string(u"/srv\0junk", 9), u"/opt/v", u"/srv/" }, { u"", u"/opt/v", u"" },
            { std::nullopt, u"/opt/v", u"/opt/v/" }, { std::nullopt, u"", u"" } }) {
        SCOPED_TRACE(std::string(fallback.begin(), fallback.end()));
        testing::TestSpecialFolders folders;
        folders.path = lookup;
        EXPECT_EQ(GetSpecialFolder(fallback, 35, folders), expected);
    }
}

} // namespace
} // namespace vestrak
