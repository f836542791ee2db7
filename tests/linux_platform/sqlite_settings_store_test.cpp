#include "headless/memory_settings_store.h"
#include "linux_platform/sqlite_settings_store.h"
#include "support/temporary_folder.h"
#include "text/encoding.h"

#include <algorithm>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <optional>
#include <random>
#include <ranges>
#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

namespace vestrak {
namespace {

using testing::EnvironmentOverride;
using testing::TemporaryFolder;
namespace fs = std::filesystem;

const auto failOnProblem
    = [](const std::string& message) { ADD_FAILURE() << "unexpected problem: " << message; };

template<typename Store> class SettingsStoreTest : public ::testing::Test {
protected:
    SettingsStore& reopen()
    {
        if constexpr (std::is_same_v<Store, MemorySettingsStore>)
            return m_Memory;
        m_Sqlite.reset();
        return m_Sqlite.emplace(m_Folder.path() / "settings.sqlite", failOnProblem);
    }

    MemorySettingsStore m_Memory;
    TemporaryFolder m_Folder;
    std::optional<SqliteSettingsStore> m_Sqlite;
    SettingsStore& m_Store = reopen();
};

using Backends = ::testing::Types<MemorySettingsStore, SqliteSettingsStore>;
TYPED_TEST_SUITE(SettingsStoreTest, Backends);

const std::u16string kApp = u"VestrakControls.CiTree";
constexpr uid_t Nobody = 65534;

const auto DeletesOnce = [](SettingsStore& store, const auto&... names) {
    return store.DeleteSetting(names...) && !store.DeleteSetting(names...);
};
const auto Exec = [](sqlite3* database, const char* sql) {
    return sqlite3_exec(database, sql, nullptr, nullptr, nullptr);
};

TYPED_TEST(SettingsStoreTest, OnlyExactNamesFindOrDeleteAValue)
{
    SettingsStore& store = this->m_Store;
    store.SaveSetting(kApp, u"Nodes", u"A", u"1");
    store.SaveSetting(kApp, u"Nodes", u"B", u"1");
    store.SaveSetting(kApp, u"Scroll", u"Top", u"7");
    store.SaveSetting(u"CiStatus", u"Nodes", u"A", u"1");
    for (const auto& [application, section, key] : { std::tuple(u"Nobody", u"Scroll", u"Top"),
             std::tuple(kApp.c_str(), u"Other", u"A"), std::tuple(kApp.c_str(), u"Nodes", u"C"),
             std::tuple(kApp.c_str(), u"SCROLL", u"Top"), std::tuple(kApp.c_str(), u"Scroll", u"top ") }) {
        EXPECT_TRUE(store.GetSetting(application, section, key, u"0") == u"0"
            && !store.DeleteSetting(application, section, key));
    }
    EXPECT_EQ(store.GetSetting(kApp, u"Scroll", u"Top"), u"7");

    EXPECT_TRUE(DeletesOnce(store, kApp, u"Nodes", u"A"));
    EXPECT_EQ(store.GetSetting(kApp, u"Nodes", u"B"), u"1");
    EXPECT_TRUE(DeletesOnce(store, kApp, u"Nodes"));
    EXPECT_FALSE(store.DeleteSetting(kApp, u"scroll"));

    EXPECT_EQ(this->reopen().entries(kApp), (std::vector<SettingsEntry> { { u"Scroll", u"Top", u"7" } }));
    EXPECT_EQ(this->reopen().GetSetting(u"CiStatus", u"Nodes", u"A"), u"1");
}

TYPED_TEST(SettingsStoreTest, EntriesSurviveReopenOrderedByUtf16CodeUnits)
{
    std::vector<std::u16string> ordered = { u"  spaced  ", u"B", u"K1", u"Kühlwasser Ω 水 𝄞" };
    for (char16_t letter = u'a'; letter <= u'l'; ++letter)
        ordered.push_back(u"M" + std::u16string(1, letter));
    ordered.insert(ordered.end(),
        { u"Plant\\Area 1\\Pump", u"Plant\\Area 1\\Pump 2", u"Plant\\Area 1\\\U0001F600 Pump",
            u"Plant\\Area 1\\\uFF21 Pump", u"b", u"k1", u"k2", u"\U0001F600", u"\uFF21" });
    std::vector<SettingsEntry> expected;
    for (const std::u16string& section : ordered) {
        expected.push_back({ section, u"", u"" });
        for (const std::u16string& key : ordered)
            expected.push_back({ section, key, u"value of " + key + u"\r\n=;" });
    }
    for (auto entry = expected.rbegin(); entry != expected.rend(); ++entry)
        EXPECT_TRUE(this->m_Store.SaveSetting(
            kApp, entry->section, entry->key, entry->key.empty() ? u"first" : entry->value));
    for (const std::u16string& section : ordered)
        EXPECT_TRUE(this->m_Store.SaveSetting(kApp, section, u"", u""));
    this->m_Store.SaveSetting(u"Other", u"A", u"a", u"v");
    EXPECT_EQ(this->reopen().entries(kApp), expected);
    EXPECT_TRUE(this->m_Store.entries(u"Nobody").empty());
}

class SqliteStoreTest : public ::testing::Test {
protected:
    std::vector<std::string> m_Problems;
    SqliteSettingsStore::ProblemReporter m_Collect
        = [this](const std::string& message) { m_Problems.push_back(message); };
    TemporaryFolder m_Folder;
    fs::path m_Path = m_Folder.path() / "settings.sqlite";

    void expectProblems(const std::vector<std::string>& parts)
    {
        ASSERT_EQ(m_Problems.size(), parts.size());
        for (std::size_t index = 0; index < parts.size(); ++index)
            EXPECT_NE(m_Problems[index].find(parts[index]), std::string::npos) << m_Problems[index];
    }
};

SettingsStoreWaits ShortWaits(std::chrono::milliseconds opening)
{
    using namespace std::chrono_literals;
    return { .operation = 1ms, .opening = opening, .shutDown = 1ms, .retryPause = 0ms };
}

TEST_F(SqliteStoreTest, TheDefaultPathFollowsTheEnvironment)
{
    const auto configured = m_Folder.path() / "a" / "mine.sqlite";
    {
        EnvironmentOverride settings("VESTRAK_SETTINGS", configured.string());
        EXPECT_EQ(SqliteSettingsStore::defaultPath(), configured);
        EXPECT_TRUE(SqliteSettingsStore(configured, failOnProblem).SaveSetting(kApp, u"S", u"K", u"V"));
    }
    EXPECT_FALSE(SqliteSettingsStore(m_Folder.path() / "b" / "c" / "mine.sqlite", m_Collect).isPersistent());
    expectProblems({ "nor the folder above it exists" });
    EXPECT_FALSE(fs::exists(m_Folder.path() / "b"));

    const fs::path home = m_Folder.path() / "home";
    fs::create_directory(home);
    EnvironmentOverride settings("VESTRAK_SETTINGS", std::nullopt);
    EnvironmentOverride homeFolder("HOME", home.string());
    for (const fs::path& configHome : { home / ".config", m_Folder.path() / "xdg" / "config" }) {
        EnvironmentOverride xdgConfigHome("XDG_CONFIG_HOME",
            configHome.parent_path() == home ? std::nullopt : std::optional(configHome.string()));
        const fs::path file = SqliteSettingsStore::defaultPath();
        EXPECT_EQ(file, configHome / "VestrakControls" / "settings.sqlite");
        EXPECT_TRUE(SqliteSettingsStore(file, failOnProblem).SaveSetting(kApp, u"S", u"K", u"V"));
        EXPECT_EQ(SqliteSettingsStore(file, failOnProblem).GetSetting(kApp, u"S", u"K"), u"V");
        for (fs::path folder = file.parent_path(); folder != m_Folder.path() && folder != home;
             folder = folder.parent_path())
            EXPECT_EQ(fs::status(folder).permissions(), fs::perms::owner_all) << folder;
    }
}

TEST_F(SqliteStoreTest, WritesFindingTheFileLockedAreWrittenLater)
{
    SqliteSettingsStore store(m_Path, m_Collect, ShortWaits(std::chrono::milliseconds(1000)));
    ASSERT_TRUE(store.SaveSetting(kApp, u"Nodes", u"Gone", u"1"));
    ASSERT_TRUE(store.SaveSetting(kApp, u"Old", u"K", u"1"));
    sqlite3* locker = nullptr;
    ASSERT_EQ(sqlite3_open(m_Path.c_str(), &locker), SQLITE_OK);
    ASSERT_EQ(Exec(locker, "BEGIN IMMEDIATE"), SQLITE_OK);

    EXPECT_TRUE(store.SaveSetting(kApp, u"Nodes", u"A", u"1"));
    expectProblems({ "(database is locked); changes are kept in memory" });
    EXPECT_TRUE(store.SaveSetting(kApp, u"Nodes", u"A", u"2") && DeletesOnce(store, kApp, u"Nodes", u"Gone")
        && DeletesOnce(store, kApp, u"Old"));
    EXPECT_EQ(store.pendingChanges(), 3U);
    EXPECT_EQ(store.GetSetting(kApp, u"Nodes", u"A") + store.GetSetting(kApp, u"Nodes", u"Gone", u"none"),
        u"2none");
    EXPECT_EQ(store.entries(kApp), (std::vector<SettingsEntry> { { u"Nodes", u"A", u"2" } }));
    EXPECT_EQ(SqliteSettingsStore(m_Path, failOnProblem).GetSetting(kApp, u"Nodes", u"A", u"none"), u"none");

    ASSERT_EQ(Exec(locker, "COMMIT"), SQLITE_OK);
    EXPECT_TRUE(store.SaveSetting(kApp, u"Nodes", u"B", u"3") && store.pendingChanges() == 0);
    EXPECT_EQ(SqliteSettingsStore(m_Path, failOnProblem).entries(kApp),
        (std::vector<SettingsEntry> { { u"Nodes", u"A", u"2" }, { u"Nodes", u"B", u"3" } }));

    ASSERT_EQ(Exec(locker, "BEGIN IMMEDIATE"), SQLITE_OK);
    EXPECT_TRUE(store.SaveSetting(kApp, u"Nodes", u"C", u"4"));
    EXPECT_EQ(m_Problems.size(), 1U);
    EXPECT_TRUE(store.SaveSetting(kApp, u"Nodes", u"D", u"5"));
    EXPECT_FALSE(store.flush() || store.flush());
    expectProblems({ "locked", "2 settings changes could not be written" });
    EXPECT_TRUE(m_Problems[1].ends_with(
        "are lost: VestrakControls.CiTree/Nodes/C saved, VestrakControls.CiTree/Nodes/D saved"))
        << m_Problems[1];
    Exec(locker, "ROLLBACK");
    sqlite3_close(locker);
}

TEST_F(SqliteStoreTest, AFileReplacedTruncatedOrRemovedWhileRunningGetsThisRunsChangesAgain)
{
    struct Replacement {
        const char* told;
        void (*spoil)(const fs::path& file);
        int changesBefore = 1;
    };
    const auto replace = [](const fs::path& file) {
        const fs::path other = file.string() + ".restored";
        {
            SqliteSettingsStore restored(other, failOnProblem);
            restored.SaveSetting(kApp, u"Restored", u"K", u"1");
            restored.SaveSetting(kApp, u"Gone", u"K", u"1");
        }
        fs::rename(other, file);
    };
    const Replacement replacements[] = {
        { "replaced by another file", replace },
        { "truncated from", [](const fs::path& file) { fs::resize_file(file, 0); } },
        { "removed", [](const fs::path& file) { fs::remove(file); } },
        { "changes this program had written to it before are lost", replace, 1001 },
    };
    for (const Replacement& replacement : replacements) {
        SCOPED_TRACE(replacement.told);
        TemporaryFolder folder;
        const fs::path file = folder.path() / "settings.sqlite";
        SqliteSettingsStore(file, failOnProblem).SaveSetting(kApp, u"Before", u"K", u"1");
        m_Problems.clear();
        SqliteSettingsStore store(file, m_Collect);
        store.DeleteSetting(kApp, u"Gone");
        for (int change = 0; change < replacement.changesBefore; ++change)
            ASSERT_TRUE(store.SaveSetting(kApp, u"Run", FromUtf8(std::to_string(change)), u"1"));
        replacement.spoil(file);
        EXPECT_TRUE(store.SaveSetting(kApp, u"Run", u"After", u"1")
            && store.SaveSetting(kApp, u"Run", u"Later", u"1"));
        const bool lost = replacement.changesBefore > 1;
        EXPECT_EQ(store.flush(), !lost);
        expectProblems({ replacement.told });

        SqliteSettingsStore reopened(file, failOnProblem);
        const auto value = [&reopened](const char16_t* section, const char16_t* key) {
            return reopened.GetSetting(kApp, section, key, u"-");
        };
        EXPECT_EQ(value(u"Run", u"0") + value(u"Run", u"After") + value(u"Run", u"Later")
                + value(u"Restored", u"K") + value(u"Gone", u"K"),
            std::u16string(lost ? u"-" : u"1") + u"11" + (replacement.spoil == replace ? u"1" : u"-")
                + (lost ? u"1" : u"-"));
    }
}

TEST_F(SqliteStoreTest, AStoreLockedAtOpenIsWrittenOnceItOpens)
{
    SqliteSettingsStore(m_Path, failOnProblem).SaveSetting(kApp, u"Nodes", u"Open", u"1");
    for (const bool released : { false, true }) {
        SCOPED_TRACE(released ? "released" : "held to the end");
        m_Problems.clear();
        sqlite3* holder = nullptr;
        ASSERT_EQ(sqlite3_open(m_Path.c_str(), &holder), SQLITE_OK);
        ASSERT_EQ(Exec(holder, "PRAGMA locking_mode=EXCLUSIVE; BEGIN EXCLUSIVE; COMMIT"), SQLITE_OK);
        SqliteSettingsStore store(m_Path, m_Collect, ShortWaits(std::chrono::milliseconds(50)));
        expectProblems({ "cannot be opened (database is locked); its settings were read from a copy" });
        EXPECT_EQ(store.GetSetting(kApp, u"Nodes", u"Open"), u"1");
        EXPECT_TRUE(store.SaveSetting(kApp, u"Nodes", u"New", u"2") && store.entries(kApp).size() == 2);
        if (released) {
            sqlite3_close(holder);
            EXPECT_TRUE(store.flush() && store.pendingChanges() == 0);
            EXPECT_EQ(SqliteSettingsStore(m_Path, failOnProblem).entries(kApp).size(), 2U);
        } else {
            EXPECT_FALSE(store.flush());
            sqlite3_close(holder);
        }
        expectProblems(released ? std::vector<std::string> { "copy" }
                                : std::vector<std::string> { "copy", "Nodes/New saved" });
    }
}

TEST_F(SqliteStoreTest, ADamagedFileIsMovedAsideAndAFreshOneStarted)
{
    const auto readBytes = [](const fs::path& file) {
        std::ifstream stream(file, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(stream), {});
    };
    auto randomBytes = [random = std::mt19937(std::random_device {}())](std::size_t count) mutable {
        std::string bytes(count, '\0');
        std::ranges::generate(bytes, [&random] { return static_cast<char>(random()); });
        return bytes;
    };
    for (SqliteSettingsStore store(m_Path, failOnProblem); const int key : std::views::iota(0, 2000))
        store.SaveSetting(kApp, u"S", FromUtf8(std::to_string(key)), std::u16string(40, u'v'));
    const std::string database = readBytes(m_Path);
    for (const std::string& damaged :
        { randomBytes(20'000), database.substr(0, 8192) + randomBytes(database.size() - 8192) }) {
        SCOPED_TRACE(
            damaged.size() == 20'000 ? "random bytes" : "a database with its later pages overwritten");
        const fs::path file = m_Folder.path() / std::to_string(damaged.size());
        std::ofstream(file, std::ios::binary) << damaged;
        m_Problems.clear();
        SqliteSettingsStore store(file, m_Collect);
        expectProblems({ " was damaged (" });
        EXPECT_TRUE(store.isPersistent());
        const std::string& told = m_Problems.at(0);
        const std::size_t from = told.find("moved aside to " + file.string() + ".damaged-") + 15;
        EXPECT_EQ(readBytes(told.substr(from, told.find(" and a fresh one was started") - from)), damaged)
            << told;
        EXPECT_TRUE(store.SaveSetting(kApp, u"Selected", u"Node", u"Pump"));
        EXPECT_EQ(SqliteSettingsStore(file, failOnProblem).GetSetting(kApp, u"Selected", u"Node"), u"Pump");
    }
}

// The superuser may write any file, so the checks run as an ordinary user.
void AsOrdinaryUser(const std::function<void()>& checks)
{
    if (geteuid() != 0)
        return checks();
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (setgid(Nobody) != 0 || setuid(Nobody) != 0)
            _exit(2);
        checks();
        _exit(::testing::Test::HasFailure() ? 1 : 0);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "status " << status;
}

TEST_F(SqliteStoreTest, AReadOnlyStoreIsReadWithItsJournal)
{
    SqliteSettingsStore(m_Path, failOnProblem).SaveSetting(kApp, u"Nodes", u"Open", u"1");
    sqlite3* writer = nullptr;
    ASSERT_EQ(sqlite3_open(m_Path.c_str(), &writer), SQLITE_OK);
    sqlite3_db_config(writer, SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, 1, nullptr);
    ASSERT_EQ(Exec(writer, "INSERT INTO settings VALUES ('VestrakControls.CiTree', 'Nodes', 'Recent', '3')"),
        SQLITE_OK);
    sqlite3_close(writer);
    fs::remove(m_Path.string() + "-shm");
    ASSERT_TRUE(fs::exists(m_Path.string() + "-wal"));
    const auto readable = fs::perms::owner_read | fs::perms::others_read;
    fs::permissions(m_Path, readable);
    fs::permissions(m_Path.string() + "-wal", readable);
    fs::permissions(m_Folder.path(), readable | fs::perms::owner_exec | fs::perms::others_exec);
    AsOrdinaryUser([this] {
        SqliteSettingsStore store(m_Path, m_Collect);
        EXPECT_FALSE(store.isPersistent());
        expectProblems({ "read-only; its settings are used, and changes" });
        EXPECT_EQ(
            store.GetSetting(kApp, u"Nodes", u"Open") + store.GetSetting(kApp, u"Nodes", u"Recent"), u"13");
        EXPECT_TRUE(store.SaveSetting(kApp, u"Nodes", u"New", u"2") && store.entries(kApp).size() == 3);
    });
}

TEST_F(SqliteStoreTest, ALinkToAnotherUsersFileIsNotFollowed)
{
    fs::path target = "/etc/passwd";
    if (geteuid() == 0) {
        target = m_Folder.path() / "theirs.sqlite";
        SqliteSettingsStore(target, failOnProblem).SaveSetting(kApp, u"Their", u"K", u"1");
        ASSERT_EQ(chown(target.c_str(), Nobody, Nobody), 0);
    }
    const auto targetTime = fs::last_write_time(target);
    fs::create_symlink(target, m_Path);
    SqliteSettingsStore store(m_Path, m_Collect);
    EXPECT_FALSE(store.isPersistent());
    expectProblems({ "is a symbolic link to " + target.string() + ", a file of another user" });
    EXPECT_TRUE(store.SaveSetting(kApp, u"Mine", u"K", u"2"));
    EXPECT_EQ(store.GetSetting(kApp, u"Mine", u"K") + store.GetSetting(kApp, u"Their", u"K", u"-"), u"2-");
    EXPECT_EQ(fs::last_write_time(target), targetTime);
}

} // namespace
} // namespace vestrak
