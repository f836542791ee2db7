// Several processes of one user on one settings file: two writers sharing it, and a writer killed
// at random moments. Nothing acknowledged may be lost and the file must stay sound.
#include "child_process.h"
#include "linux_platform/sqlite_settings_store.h"
#include "store_workload.h"
#include "support/temporary_folder.h"

#include <array>
#include <chrono>
#include <cstdint>
#include <fstream>
#include <gtest/gtest.h>
#include <iostream>
#include <map>
#include <memory>
#include <random>
#include <sqlite3.h>
#include <sstream>
#include <thread>

namespace vestrak::testing {
namespace {

constexpr int Kills = 30;

std::string IntegrityCheck(const std::filesystem::path& file)
{
    sqlite3* database = nullptr;
    std::string answer = "cannot open";
    if (sqlite3_open_v2(file.c_str(), &database, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
        sqlite3_stmt* statement = nullptr;
        sqlite3_prepare_v2(database, "PRAGMA integrity_check", -1, &statement, nullptr);
        answer.clear();
        while (sqlite3_step(statement) == SQLITE_ROW) {
            answer += reinterpret_cast<const char*>(sqlite3_column_text(statement, 0));
        }
        sqlite3_finalize(statement);
    }
    sqlite3_close_v2(database);
    return answer;
}

// A store file in WAL mode with a million rows, whose check finds the damage only at its end: its
// header counts one page more than its tables use.
void MakeDamagedFileSlowToCheck(const std::filesystem::path& file)
{
    sqlite3* database = nullptr;
    ASSERT_EQ(sqlite3_open(file.c_str(), &database), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(database,
                  "PRAGMA journal_mode=WAL; CREATE TABLE padding(x);"
                  " WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 1000000)"
                  " INSERT INTO padding SELECT i FROM n",
                  nullptr, nullptr, nullptr),
        SQLITE_OK);
    sqlite3_close(database);
    std::fstream bytes(file, std::ios::in | std::ios::out | std::ios::binary);
    constexpr std::streamoff PageCountOffset = 28;
    std::array<unsigned char, 4> count {};
    bytes.seekg(PageCountOffset);
    bytes.read(reinterpret_cast<char*>(count.data()), count.size());
    std::uint32_t pages = (std::uint32_t { count[0] } << 24U) | (std::uint32_t { count[1] } << 16U)
        | (std::uint32_t { count[2] } << 8U) | count[3];
    ++pages;
    count = { static_cast<unsigned char>(pages >> 24U), static_cast<unsigned char>(pages >> 16U),
        static_cast<unsigned char>(pages >> 8U), static_cast<unsigned char>(pages) };
    bytes.seekp(PageCountOffset);
    bytes.write(reinterpret_cast<const char*>(count.data()), count.size());
    bytes.seekp(0, std::ios::end);
    const std::string emptyPage(4096, '\0');
    bytes.write(emptyPage.data(), static_cast<std::streamsize>(emptyPage.size()));
}

std::unique_ptr<SqliteSettingsStore> OpenWithoutProblems(const std::filesystem::path& file)
{
    auto store = std::make_unique<SqliteSettingsStore>(
        file, [](const std::string& message) { ADD_FAILURE() << "store problem: " << message; });
    EXPECT_TRUE(store->isPersistent());
    return store;
}

TEST(SettingsStoreStress, TwoWritersShareOneFileWithoutLosingAWrite)
{
    TemporaryFolder folder;
    const std::filesystem::path file = folder.path() / "settings.sqlite";
    // Created before the writers start, so that neither has to create it under the other's feet.
    // The reader lists the entries before and after: what it listed first must not be answered
    // again once the other processes wrote.
    const auto store = OpenWithoutProblems(file);
    EXPECT_TRUE(store->entries(StressApplication).empty());
    ChildProcess first({ STORE_CHILD, "share", file.string(), "0" });
    ChildProcess second({ STORE_CHILD, "share", file.string(), "1" });
    ASSERT_TRUE(first.started() && second.started());
    EXPECT_EQ(first.wait(), 0);
    EXPECT_EQ(second.wait(), 0);

    for (const int writer : { 0, 1 }) {
        std::map<std::u16string, std::u16string> expected;
        for (int operation = 0; operation < WriterOperations; ++operation) {
            if (IsDeletion(operation)) {
                expected.erase(WriterKey(operation));
            } else {
                expected[WriterKey(operation)] = WrittenValue(writer, operation);
            }
        }
        std::map<std::u16string, std::u16string> stored;
        for (const SettingsEntryView entry : store->entries(StressApplication)) {
            if (entry.section == WriterSection(writer)) {
                stored[std::u16string(entry.key)] = entry.value;
            }
        }
        EXPECT_EQ(stored, expected) << "writer " << writer;
    }
    EXPECT_EQ(IntegrityCheck(file), "ok");
}

// Processes starting at one moment on a store file no one has made yet meet in its creation;
// none may fall back to memory and lose what it saves. On a damaged file whose check takes a while,
// one of them moves it aside, and the others wait for it and use the fresh file.
TEST(SettingsStoreStress, ProcessesStartingTogetherOnAFreshOrDamagedFileLoseNothing)
{
    struct Start {
        const char* mode;
        int processes;
        int rounds;
    };
    for (const Start start : { Start { "start", 4, 20 }, Start { "mend", 8, 1 } }) {
        SCOPED_TRACE(start.mode);
        for (int round = 0; round < start.rounds; ++round) {
            TemporaryFolder folder;
            const std::filesystem::path file = folder.path() / "settings.sqlite";
            if (start.mode == std::string_view("mend")) {
                MakeDamagedFileSlowToCheck(file);
            }
            std::vector<std::unique_ptr<ChildProcess>> children;
            children.reserve(start.processes);
            for (int process = 0; process < start.processes; ++process) {
                children.push_back(std::make_unique<ChildProcess>(std::vector<std::string> {
                    STORE_CHILD, start.mode, file.string(), "P" + std::to_string(process) }));
            }
            for (auto& child : children) {
                ASSERT_EQ(child->wait(), 0) << "round " << round;
            }
            const auto store = OpenWithoutProblems(file);
            ASSERT_EQ(store->entries(StressApplication).size(),
                static_cast<std::size_t>(start.processes * StartKeys))
                << "round " << round;
            std::size_t keptAside = 0;
            for (const auto& entry : std::filesystem::directory_iterator(folder.path())) {
                const std::string name = entry.path().filename().string();
                keptAside += name.find(".damaged-") != std::string::npos && !name.ends_with("-wal")
                    && !name.ends_with("-shm");
            }
            EXPECT_EQ(keptAside, start.mode == std::string_view("mend") ? 1U : 0U) << "round " << round;
        }
    }
}

// A writer that finds the file locked by another process for longer than it waits keeps its
// changes and writes them once the lock is gone, at the latest at shut-down.
TEST(SettingsStoreStress, AWriterLockedOutLongerThanItWaitsLosesNothing)
{
    TemporaryFolder folder;
    const std::filesystem::path file = folder.path() / "settings.sqlite";
    OpenWithoutProblems(file);
    sqlite3* locker = nullptr;
    ASSERT_EQ(sqlite3_open(file.c_str(), &locker), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(locker, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr), SQLITE_OK);
    ChildProcess writer({ STORE_CHILD, "kept", file.string(), "Locked" });
    EXPECT_EQ(writer.readLine(), "kept " + std::to_string(StartKeys));
    ASSERT_EQ(sqlite3_exec(locker, "COMMIT", nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(locker);
    ASSERT_EQ(writer.wait(), 0);
    EXPECT_EQ(
        OpenWithoutProblems(file)->entries(StressApplication).size(), static_cast<std::size_t>(StartKeys));
}

TEST(SettingsStoreStress, AWriterKilledAtRandomLosesNothingAcknowledged)
{
    TemporaryFolder folder;
    const std::filesystem::path file = folder.path() / "settings.sqlite";
    std::mt19937 random(std::random_device {}());
    std::uniform_int_distribution<int> killAfterMicroseconds(0, 40'000);
    std::size_t acknowledgedInAll = 0;
    // The user's store exists already; a kill before the first write then leaves it as it was.
    OpenWithoutProblems(file);
    for (int round = 0; round < Kills; ++round) {
        const std::string section = "Round" + std::to_string(round);
        std::string acknowledged;
        {
            ChildProcess writer({ STORE_CHILD, "write", file.string(), section });
            ASSERT_TRUE(writer.started());
            std::this_thread::sleep_for(std::chrono::microseconds(killAfterMicroseconds(random)));
            writer.killNow();
            writer.wait();
            acknowledged = writer.readToEnd();
        }
        ASSERT_EQ(IntegrityCheck(file), "ok") << "after kill " << round;
        const auto store = OpenWithoutProblems(file);
        std::istringstream numbers(acknowledged);
        for (std::string number; std::getline(numbers, number);) {
            const std::u16string key(number.begin(), number.end());
            ASSERT_EQ(
                store->GetSetting(StressApplication, std::u16string(section.begin(), section.end()), key),
                key)
                << "acknowledged write " << number << " lost at kill " << round;
            ++acknowledgedInAll;
        }
    }
    RecordProperty("AcknowledgedWrites", static_cast<int>(acknowledgedInAll));
    std::cout << Kills << " kills, " << acknowledgedInAll << " acknowledged writes, none lost\n";
}

} // namespace
} // namespace vestrak::testing
