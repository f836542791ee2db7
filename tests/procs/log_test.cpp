#include "procs/log.h"

#include <deque>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <thread>
#include <unistd.h>

namespace vestrak {
namespace {

namespace fs = std::filesystem;

// Hands out the scripted readings in turn and then keeps repeating the last one.
class ScriptedClock : public Clock {
public:
    std::deque<double> readings { 0 };

    double secondsSinceMidnight() override
    {
        const double reading = readings.front();
        if (readings.size() > 1) {
            readings.pop_front();
        }
        return reading;
    }
    std::u16string dateText() override { return u"2024-05-01"; }
    std::u16string timeText() override { return u"23:59:58"; }
};

class DiskFiles : public FileSystem {
public:
    fs::path programPath;

    std::optional<std::string> readFile(const std::u16string&) override { return std::nullopt; }
    bool appendToFile(const std::u16string& path, std::string_view bytes) override
    {
        std::ofstream file(fs::path(path), std::ios::binary | std::ios::app);
        file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        return static_cast<bool>(file);
    }
    bool createFolder(const std::u16string& path) override
    {
        std::error_code ignored;
        return fs::create_directory(fs::path(path), ignored);
    }
    bool isOrdinaryFile(const std::u16string& path) override { return fs::is_regular_file(fs::path(path)); }
    std::optional<FileStamp> changeStamp(const std::u16string&) override { return std::nullopt; }
    std::u16string programFolder() override { return programPath.u16string(); }
};

class FixedFolders : public SpecialFolders {
public:
    std::optional<std::u16string> commonApplicationData;

    std::optional<std::u16string> folderPath(std::int32_t identifier) override
    {
        return identifier == 35 ? commonApplicationData : std::nullopt;
    }
};

class WriteLogTest : public testing::Test {
protected:
    static fs::path UniqueRoot()
    {
        const auto* test = testing::UnitTest::GetInstance()->current_test_info();
        return fs::temp_directory_path() / ("vestrak-log-" + std::to_string(getpid()) + "-" + test->name());
    }

    void SetUp() override
    {
        fs::create_directories(m_Root / "common");
        fs::create_directories(m_Root / "bin");
        m_Files.programPath = m_Root / "bin";
        m_Folders.commonApplicationData = (m_Root / "common").u16string();
        ForgetLogFolderOfThisThread();
    }
    void TearDown() override { fs::remove_all(m_Root); }

    std::string logText(const fs::path& file) const
    {
        std::ifstream stream(file, std::ios::binary);
        std::ostringstream text;
        text << stream.rdbuf();
        return text.str();
    }
    fs::path commonLog() const { return m_Root / "common/Vestrak/VestrakControls/VestrakControls.log"; }

    fs::path m_Root = UniqueRoot();
    ScriptedClock m_Clock;
    DiskFiles m_Files;
    FixedFolders m_Folders;
    LogServices m_Services { m_Clock, m_Files, m_Folders };
    std::int32_t m_LoggingStyle = 0x10000 | 0x3;
};

TEST_F(WriteLogTest, FirstLineShowsZeroThenTimeSinceReference)
{
    float reference = 0;
    m_Clock.readings = { 100, 100, 100.25, 100.25, 101.5, 101.5 };
    WriteLog(m_LoggingStyle, reference, u"CiTree Property Let Style A", m_Services);
    WriteLog(m_LoggingStyle, reference, u"Störung", m_Services);
    WriteLog(m_LoggingStyle, reference, u"C", m_Services);
    EXPECT_EQ(reference, 100.0F);
    EXPECT_EQ(logText(commonLog()),
        "2024-05-01 23:59:58\tCiTree Property Let Style A\t0 msec\r\n"
        "2024-05-01 23:59:58\tSt\xC3\xB6rung\t250 msec\r\n"
        "2024-05-01 23:59:58\tC\t1500 msec\r\n");
}

TEST_F(WriteLogTest, ReferenceIsResetWhenZeroAfterNowOrTooOld)
{
    struct Row {
        float reference;
        double firstReading;
        double secondReading;
        std::string elapsed;
        float referenceAfter;
    };
    const Row rows[]
        = { { 0, 500, 500.5, "500", 500 }, { 86000, 10, 10, "0", 10 }, { 1, 100002, 100002, "0", 100002 },
              { 2, 100002, 100002, "100000000", 2 }, { 86399, 86399.5, 0.25, "0", 0.25 } };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.reference);
        float reference = row.reference;
        m_Clock.readings = { row.firstReading, row.secondReading };
        WriteLog(m_LoggingStyle, reference, u"Toolbar_ButtonClick A", m_Services);
        EXPECT_EQ(reference, row.referenceAfter);
        EXPECT_TRUE(logText(commonLog()).ends_with("\tToolbar_ButtonClick A\t" + row.elapsed + " msec\r\n"));
    }
}

TEST_F(WriteLogTest, WithoutTheLogBitNothingIsTouched)
{
    float reference = 0;
    for (const std::int32_t style : { 0xFFFF, 0x2FFFF }) {
        WriteLog(style, reference, u"CiTree Terminate", m_Services);
    }
    EXPECT_EQ(reference, 0.0F);
    EXPECT_TRUE(fs::is_empty(m_Root / "common"));
}

TEST_F(WriteLogTest, DeletedFolderIsNotCreatedAgainInTheSameThread)
{
    float reference = 0;
    WriteLog(m_LoggingStyle, reference, u"first", m_Services);
    fs::remove_all(m_Root / "common/Vestrak");
    WriteLog(m_LoggingStyle, reference, u"lost", m_Services);
    EXPECT_FALSE(fs::exists(m_Root / "common/Vestrak"));

    std::thread([&] { WriteLog(m_LoggingStyle, reference, u"other thread", m_Services); }).join();
    EXPECT_TRUE(logText(commonLog()).ends_with("\tother thread\t0 msec\r\n"));
}

TEST_F(WriteLogTest, FallsBackToTheProgramFolderWhenTheLookupFails)
{
    float reference = 0;
    m_Folders.commonApplicationData.reset();
    WriteLog(m_LoggingStyle, reference, u"fallback", m_Services);
    EXPECT_TRUE(logText(m_Root / "bin/Vestrak/Vestrak/VestrakControls/VestrakControls.log")
                    .ends_with("\tfallback\t0 msec\r\n"));
}

TEST(GetSpecialFolder, EndsInFolderEndUnlessEmpty)
{
    struct Row {
        std::optional<std::u16string> lookup;
        std::u16string fallback;
        std::u16string expected;
    };
    const Row rows[] = { { u"/var/tmp", u"/opt/v", u"/var/tmp/" }, { u"/var/tmp/", u"/opt/v", u"/var/tmp/" },
        { u"C:\\Data\\", u"/opt/v", u"C:\\Data\\" },
        { std::u16string(u"/srv\0junk", 9), u"/opt/v", u"/srv/" }, { u"", u"/opt/v", u"" },
        { std::nullopt, u"/opt/v", u"/opt/v/" }, { std::nullopt, u"", u"" } };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.fallback.begin(), row.fallback.end()));
        FixedFolders folders;
        folders.commonApplicationData = row.lookup;
        EXPECT_EQ(GetSpecialFolder(row.fallback, 35, folders), row.expected);
    }
}

} // namespace
} // namespace vestrak
