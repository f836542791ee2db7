// Several processes of one user on one settings file: writers sharing it, processes starting
// together on a fresh or damaged file, a writer killed at random. Nothing acknowledged may be lost
// and the file must stay sound.
#include "linux_platform/sqlite_settings_store.h"
#include "support/temporary_folder.h"
#include "text/encoding.h"

#include <algorithm>
#include <arpa/inet.h>
#include <csignal>
#include <cstdio>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <map>
#include <random>
#include <sqlite3.h>
#include <sstream>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace vestrak::testing {
namespace {

namespace fs = std::filesystem;
const std::u16string App = u"VestrakControls.Stress";
constexpr int WriterOperations = 5000;
constexpr int StartKeys = 10;

// A forked process running `work` with store connections of its own (the test holds none open
// across a fork), telling the test through a pipe; killed when it goes, unless waited for.
class Child {
public:
    explicit Child(const std::function<int(int output)>& work)
    {
        int ends[2] = { -1, -1 };
        EXPECT_EQ(pipe(ends), 0);
        if ((m_Pid = fork()) == 0) {
            close(ends[0]);
            _exit(work(ends[1]));
        }
        close(ends[1]);
        m_Output = ends[0];
    }
    ~Child()
    {
        if (m_Pid > 0) {
            kill(m_Pid, SIGKILL);
        }
        wait();
        close(m_Output);
    }
    Child(const Child&) = delete;
    Child& operator=(const Child&) = delete;

    void killNow() const { kill(m_Pid, SIGKILL); }
    // The exit status, or -1 when the child did not exit by itself.
    int wait()
    {
        int status = 0;
        return waitpid(std::exchange(m_Pid, -1), &status, 0) > 0 && WIFEXITED(status) ? WEXITSTATUS(status)
                                                                                      : -1;
    }
    // What the child wrote, once it has ended.
    std::string readAll() const
    {
        std::string text;
        for (char character = 0; read(m_Output, &character, 1) == 1;) {
            text += character;
        }
        return text;
    }

private:
    pid_t m_Pid = -1;
    int m_Output = -1;
};

// Runs `work` in that many processes at once; true when each exited 0.
bool RunTogether(int processes, const std::function<int(int process)>& work)
{
    std::vector<std::unique_ptr<Child>> children;
    children.reserve(static_cast<std::size_t>(processes));
    for (int process = 0; process < processes; ++process) {
        children.push_back(std::make_unique<Child>([&work, process](int) { return work(process); }));
    }
    return std::ranges::count_if(children, [](const auto& child) { return child->wait() == 0; }) == processes;
}

// What the store lists, opened with no problem to tell: its check on opening finds any damage.
std::map<std::u16string, std::u16string> Entries(const fs::path& file)
{
    std::map<std::u16string, std::u16string> entries;
    SqliteSettingsStore store(file, [](const std::string& message) { ADD_FAILURE() << message; });
    EXPECT_TRUE(store.isPersistent());
    for (const SettingsEntryView entry : store.entries(App)) {
        entries[std::u16string(entry.section) + u"/" + std::u16string(entry.key)] = entry.value;
    }
    return entries;
}

std::u16string WriterSection(int writer)
{
    return u"Writer" + FromUtf8(std::to_string(writer));
}

// What writer 0 or 1 saves at that operation; every seventh deletes the key instead.
std::optional<std::u16string> WriterValue(int writer, int operation)
{
    return operation % 7 == 6
        ? std::nullopt
        : std::optional(FromUtf8(std::to_string(writer) + ":" + std::to_string(operation)));
}

// Writer 0 or 1 saves forty keys over and over, reading back each operation and the other
// writer's key; exits 0 only when every answer was right.
int Share(const fs::path& file, int writer)
{
    // A lock delaying writes, or the damage moved aside, is told; what matters is what is written.
    SqliteSettingsStore store(file, [](const std::string&) {});
    for (int operation = 0; operation < WriterOperations; ++operation) {
        const std::u16string key = FromUtf8(std::to_string(operation % 40));
        const std::optional<std::u16string> value = WriterValue(writer, operation);
        const bool wasThere = operation >= 40 && WriterValue(writer, operation - 40);
        if ((value ? !store.SaveSetting(App, WriterSection(writer), key, *value)
                   : store.DeleteSetting(App, WriterSection(writer), key) != wasThere)
            || store.GetSetting(App, WriterSection(writer), key, u"(none)") != value.value_or(u"(none)")) {
            return 1;
        }
        static_cast<void>(store.GetSetting(App, WriterSection(1 - writer), key));
    }
    return store.isPersistent() ? 0 : 1;
}

TEST(SettingsStoreStress, TwoWritersShareOneFileWithoutLosingAWrite)
{
    TemporaryFolder folder;
    const fs::path file = folder.path() / "settings.sqlite";
    // Made before the writers start, so that neither has to create it under the other's feet.
    EXPECT_TRUE(Entries(file).empty());
    EXPECT_TRUE(RunTogether(2, [&file](int writer) { return Share(file, writer); }));
    std::map<std::u16string, std::u16string> expected;
    for (const int writer : { 0, 1 }) {
        for (int operation = WriterOperations - 40; operation < WriterOperations; ++operation) {
            if (const auto value = WriterValue(writer, operation)) {
                expected[WriterSection(writer) + u"/" + FromUtf8(std::to_string(operation % 40))] = *value;
            }
        }
    }
    EXPECT_EQ(Entries(file), expected);
}

// A store file in WAL mode with a million rows, whose check finds the damage only at its end: its
// header counts one page more than its tables use.
void MakeDamagedFileSlowToCheck(const fs::path& file)
{
    sqlite3* database = nullptr;
    sqlite3_open(file.c_str(), &database);
    ASSERT_EQ(sqlite3_exec(database,
                  "PRAGMA journal_mode=WAL; CREATE TABLE padding(x);"
                  " WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 1000000)"
                  " INSERT INTO padding SELECT i FROM n",
                  nullptr, nullptr, nullptr),
        SQLITE_OK);
    sqlite3_close(database);
    std::fstream bytes(file, std::ios::in | std::ios::out | std::ios::binary);
    constexpr std::streamoff PageCountOffset = 28;
    std::uint32_t pages = 0;
    bytes.seekg(PageCountOffset).read(reinterpret_cast<char*>(&pages), sizeof pages);
    pages = htonl(ntohl(pages) + 1);
    bytes.seekp(PageCountOffset).write(reinterpret_cast<const char*>(&pages), sizeof pages);
    bytes.seekp(0, std::ios::end);
    bytes << std::string(4096, '\0');
}

// Saves StartKeys keys in a section of its own; exits 0 only when they were all written.
int SaveKeys(const fs::path& file, int process)
{
    // A lock delaying writes, or the damage moved aside, is told; what matters is what is written.
    SqliteSettingsStore store(file, [](const std::string&) {});
    int acknowledged = 0;
    for (int key = 0; key < StartKeys; ++key) {
        acknowledged += store.SaveSetting(
            App, u"P" + FromUtf8(std::to_string(process)), FromUtf8(std::to_string(key)), u"v");
    }
    return store.flush() && acknowledged == StartKeys && store.isPersistent() ? 0 : 1;
}

// Processes starting at one moment on a store file no one has made yet meet in its creation;
// none may fall back to memory and lose what it saves. On a damaged file whose check takes a while,
// one of them moves it aside, and the others wait for it and use the fresh file.
TEST(SettingsStoreStress, ProcessesStartingTogetherOnAFreshOrDamagedFileLoseNothing)
{
    for (const bool damaged : { false, true }) {
        const int processes = damaged ? 8 : 4;
        for (int round = 0; round < (damaged ? 1 : 20); ++round) {
            SCOPED_TRACE((damaged ? "damaged, round " : "fresh, round ") + std::to_string(round));
            TemporaryFolder folder;
            const fs::path file = folder.path() / "settings.sqlite";
            if (damaged) {
                MakeDamagedFileSlowToCheck(file);
            }
            ASSERT_TRUE(RunTogether(processes, [&file](int process) { return SaveKeys(file, process); }));
            EXPECT_EQ(Entries(file).size(), static_cast<std::size_t>(processes * StartKeys));
            EXPECT_EQ(std::ranges::count_if(fs::directory_iterator(folder.path()),
                          [](const fs::directory_entry& entry) {
                              const std::string name = entry.path().filename().string();
                              return name.find(".damaged-") != std::string::npos && !name.ends_with("-wal")
                                  && !name.ends_with("-shm");
                          }),
                damaged ? 1 : 0);
        }
    }
}

TEST(SettingsStoreStress, AWriterKilledAtRandomLosesNothingAcknowledged)
{
    TemporaryFolder folder;
    const fs::path file = folder.path() / "settings.sqlite";
    std::mt19937 random(std::random_device {}());
    std::uniform_int_distribution<int> killAfterMicroseconds(0, 40'000);
    std::size_t acknowledgedInAll = 0;
    // The user's store exists already; a kill before the first write then leaves it as it was.
    Entries(file);
    for (int round = 0; round < 30; ++round) {
        const std::u16string section = u"Round" + FromUtf8(std::to_string(round));
        Child writer([&file, &section](int output) {
            SqliteSettingsStore store(file, [](const std::string&) {});
            for (int number = 0; store.SaveSetting(App, section, FromUtf8(std::to_string(number)), u"v");
                 ++number) {
                dprintf(output, "%d\n", number);
            }
            return 1;
        });
        std::this_thread::sleep_for(std::chrono::microseconds(killAfterMicroseconds(random)));
        writer.killNow();
        writer.wait();
        const auto entries = Entries(file);
        std::istringstream acknowledged(writer.readAll());
        for (std::string number; std::getline(acknowledged, number); ++acknowledgedInAll) {
            ASSERT_TRUE(entries.contains(section + u"/" + FromUtf8(number)))
                << "acknowledged write " << number << " lost at kill " << round;
        }
    }
    EXPECT_GT(acknowledgedInAll, 0U) << "no write was acknowledged before a kill";
}

} // namespace
} // namespace vestrak::testing
