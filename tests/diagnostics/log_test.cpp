#include "diagnostics/log.h"
#include "support/test_platform.h"

#include <deque>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <iostream>
#include <sstream>
#include <sys/stat.h>
#include <sys/sysmacros.h>
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

class WriteLogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        fs::create_directories(m_Root / "common");
        m_Folders.path = (m_Root / "common").u16string();
        ForgetLogFolderOfThisThread();
    }

    std::string logText(const fs::path& file) const
    {
        std::ifstream stream(file, std::ios::binary);
        std::ostringstream text;
        text << stream.rdbuf();
        return text.str();
    }
    fs::path commonLog() const { return m_Root / "common/Vestrak/VestrakControls/VestrakControls.log"; }

    ScriptedClock m_Clock;
    testing::ScratchFiles m_Files;
    fs::path m_Root = m_Files.folder();
    testing::TestSpecialFolders m_Folders;
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
    m_Folders.path.reset();
    WriteLog(m_LoggingStyle, reference, u"fallback", m_Services);
    EXPECT_TRUE(logText(m_Root / "Vestrak/Vestrak/VestrakControls/VestrakControls.log")
                    .ends_with("\tfallback\t0 msec\r\n"));
}

// Who writes the log: the test as it runs, or a user without root's rights.
enum class Writer { Tester, PlainUser };

// Runs its work as an ordinary user when the test runs as root, who may write in any folder.
class WithoutRootsRights {
public:
    static constexpr uid_t Nobody = 65534;
    WithoutRootsRights()
        : m_WasRoot(geteuid() == 0)
    {
        if (m_WasRoot) {
            EXPECT_EQ(seteuid(Nobody), 0);
        }
    }
    ~WithoutRootsRights()
    {
        if (m_WasRoot) {
            EXPECT_EQ(seteuid(0), 0);
        }
    }
    WithoutRootsRights(const WithoutRootsRights&) = delete;
    WithoutRootsRights& operator=(const WithoutRootsRights&) = delete;

private:
    bool m_WasRoot;
};

// Another local user may plant something in the log's place or on its way, or the place may be
// unusable: the log then writes nothing there, never waits, and says why once.
TEST_F(WriteLogTest, WritesOnlyItsOwnOrdinaryFile)
{
    struct Row {
        std::string name;
        // Sets the case up below `common`, which it may point elsewhere; false when this machine
        // does not allow it (a device or another user's file needs root).
        std::function<bool(fs::path& common)> plant;
        // Why nothing is written, `@` standing for the row's folder; empty when the line is written.
        std::string reason;
        Writer writer = Writer::Tester;
    };
    int pipeReader = -1;
    const auto logIn
        = [](const fs::path& common) { return common / "Vestrak/VestrakControls/VestrakControls.log"; };
    const auto placeIn = [&](const fs::path& common) {
        fs::create_directories(logIn(common).parent_path());
        return logIn(common);
    };
    const auto openFolder = [](const fs::path& folder, fs::perms extra) {
        fs::create_directories(folder / "VestrakControls");
        fs::permissions(folder, fs::perms::all | extra);
    };
    const Row rows[] = {
        { "nothing planted", [](fs::path&) { return true; }, "" },
        { "a symbolic link",
            [&](fs::path& common) {
                fs::create_symlink(common.parent_path() / "victim", placeIn(common));
                return true;
            },
            "it is a symbolic link" },
        { "a hard link",
            [&](fs::path& common) {
                fs::create_hard_link(common.parent_path() / "victim", placeIn(common));
                return true;
            },
            "it has 2 names (hard links)" },
        { "a pipe nobody reads", [&](fs::path& common) { return mkfifo(placeIn(common).c_str(), 0666) == 0; },
            "it is a pipe, not an ordinary file" },
        { "a pipe someone reads",
            [&](fs::path& common) {
                const fs::path log = placeIn(common);
                pipeReader = mkfifo(log.c_str(), 0666) == 0 ? open(log.c_str(), O_RDONLY | O_NONBLOCK) : -1;
                return pipeReader >= 0;
            },
            "it is a pipe, not an ordinary file" },
        { "a device",
            [&](fs::path& common) {
                return mknod(placeIn(common).c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0;
            },
            "it is a device, not an ordinary file" },
        { "another user's file writable by all",
            [&](fs::path& common) {
                const fs::path log = placeIn(common);
                std::ofstream(log) << "";
                return chmod(log.c_str(), 0666) == 0
                    && chown(log.c_str(), WithoutRootsRights::Nobody, WithoutRootsRights::Nobody) == 0;
            },
            "it belongs to another user" },
        { "a folder open to all",
            [&](fs::path& common) {
                openFolder(common / "Vestrak", fs::perms::none);
                return true;
            },
            "others may change the folder @/common/Vestrak" },
        { "a sticky folder open to all",
            [&](fs::path& common) {
                openFolder(common / "Vestrak", fs::perms::sticky_bit);
                return true;
            },
            "" },
        { "a link of one's own into a folder open to all",
            [&](fs::path& common) {
                openFolder(common.parent_path() / "open", fs::perms::none);
                fs::create_symlink(common.parent_path() / "open", common / "Vestrak");
                return true;
            },
            "others may change the folder @/open" },
        { "a link of one's own into a sticky folder open to all",
            [&](fs::path& common) {
                openFolder(common.parent_path() / "open", fs::perms::sticky_bit);
                fs::create_symlink(common.parent_path() / "open", common / "Vestrak");
                return true;
            },
            "" },
        { "a missing folder",
            [](fs::path& common) {
                common = common.parent_path() / "missing/deeper";
                return true;
            },
            "the folder @/missing is missing" },
        { "a file for a folder",
            [](fs::path& common) {
                common /= "file";
                std::ofstream(common) << "";
                return true;
            },
            "@/common/file is not a folder" },
        { "a folder closed to the user",
            [](fs::path& common) {
                fs::permissions(common,
                    fs::perms::all
                        & ~(fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write));
                return true;
            },
            "the folder @/common/Vestrak is missing, and the user may not write in @/common to create it",
            Writer::PlainUser },
    };
    for (std::size_t index = 0; index < std::size(rows); ++index) {
        const Row& row = rows[index];
        SCOPED_TRACE(row.name);
        const fs::path rowFolder = m_Root / std::to_string(index);
        fs::path common = rowFolder / "common";
        fs::create_directories(common);
        std::ofstream(rowFolder / "victim") << "kept";
        if (!row.plant(common)) {
            std::cout << "not tried here: " << row.name << '\n';
            continue;
        }
        std::vector<std::string> problems;
        LocalFileSystem files(
            std::chrono::seconds(2), [&](const std::string& problem) { problems.push_back(problem); });
        m_Folders.path = common.u16string();
        LogServices services { m_Clock, files, m_Folders };
        float reference = 0;
        ForgetLogFolderOfThisThread();
        {
            const std::optional<WithoutRootsRights> asAPlainUser
                = row.writer == Writer::PlainUser ? std::make_optional<WithoutRootsRights>() : std::nullopt;
            WriteLog(m_LoggingStyle, reference, u"first", services);
            WriteLog(m_LoggingStyle, reference, u"second", services);
        }
        std::string reason = row.reason;
        for (std::size_t at = reason.find('@'); at != std::string::npos; at = reason.find('@'))
            reason.replace(at, 1, rowFolder.string());
        std::vector<std::string> expectedProblems;
        if (!reason.empty())
            expectedProblems.push_back("nothing is written to " + logIn(common).string() + ": " + reason);
        EXPECT_EQ(problems, expectedProblems);
        if (reason.empty()) {
            EXPECT_TRUE(logText(logIn(common))
                            .ends_with("\tfirst\t0 msec\r\n2024-05-01 23:59:58\tsecond\t0 msec\r\n"));
            continue;
        }
        EXPECT_EQ(logText(rowFolder / "victim"), "kept");
        if (pipeReader >= 0) {
            char taken = 0;
            EXPECT_LE(read(pipeReader, &taken, 1), 0) << "a line went into the pipe";
            close(std::exchange(pipeReader, -1));
        }
    }
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
        testing::TestSpecialFolders folders;
        folders.path = row.lookup;
        EXPECT_EQ(GetSpecialFolder(row.fallback, 35, folders), row.expected);
    }
}

} // namespace
} // namespace vestrak
