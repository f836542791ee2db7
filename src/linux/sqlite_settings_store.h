#pragma once

#include "../export.h"
#include "../linux/pending_settings_changes.h"
#include "../ports/settings_store.h"

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace vestrak {

// How long the SQLite settings store waits for other connections' locks; tests shorten them.
struct SettingsStoreWaits {
    // Each operation, on the UI thread: a longer lock keeps a write for later.
    std::chrono::milliseconds operation { 100 };
    // Opening, which creates the table and switches the journal mode.
    std::chrono::milliseconds opening { 5000 };
    // Writing the changes kept for later at shut-down.
    std::chrono::milliseconds shutDown { 5000 };
    // After a try to write the changes kept for later failed, writes and listings do not try
    // again (nor wait) for this long.
    std::chrono::milliseconds retryPause { 1000 };
};

// The per-user settings store on Linux: one SQLite database that several host processes of one
// user may share (WAL journal, busy timeout). Names are compared exactly.
//
// The store never stops the controls from working and loses nothing silently: a damaged database
// file is renamed aside (kept for inspection, never deleted) and a fresh one started; a file the
// user may read but not write is read, and changes live in memory; when no database file can be
// created, the values live in memory for the life of the store. A write that finds the file
// locked by another connection for longer than a short wait is kept, seen by every read, and
// written with the next write, the next listing or at shut-down. Each of these events, and
// changes that could not be written even at shut-down, are reported once through the problem
// reporter.
class VESTRAK_CONTROLS_EXPORT SqliteSettingsStore : public SettingsStore {
public:
    using ProblemReporter = std::function<void(const std::string& message)>;

    using Waits = SettingsStoreWaits;

    // $VESTRAK_SETTINGS when set, otherwise settings.sqlite in the user's configuration folder.
    static std::filesystem::path defaultPath();
    // Writes the message to stderr, prefixed with the library's name, and to the diagnostic log.
    static void reportToStandardErrorAndLog(const std::string& message);

    explicit SqliteSettingsStore(const std::filesystem::path& databasePath = defaultPath(),
        const ProblemReporter& reportProblem = reportToStandardErrorAndLog, Waits waits = {});
    // Flushes.
    ~SqliteSettingsStore() override;
    SqliteSettingsStore(const SqliteSettingsStore&) = delete;
    SqliteSettingsStore& operator=(const SqliteSettingsStore&) = delete;

    std::u16string GetSetting(const std::u16string& application, const std::u16string& section,
        const std::u16string& key, const std::u16string& defaultValue = {}) override;
    bool SaveSetting(const std::u16string& application, const std::u16string& section,
        const std::u16string& key, const std::u16string& value) override;
    bool DeleteSetting(
        const std::u16string& application, const std::u16string& section, const std::u16string& key) override;
    bool DeleteSetting(const std::u16string& application, const std::u16string& section) override;
    SettingsEntries entries(const std::u16string& application) override;

    // False when the values are kept in memory only, because no database file could be used.
    [[nodiscard]] bool isPersistent() const { return m_Persistent; }
    // Changes kept for later because the file was locked.
    [[nodiscard]] std::size_t pendingChanges() const { return m_Pending.changes().size(); }
    // Writes the changes kept for later, waiting for locks at most the shut-down wait; what still
    // cannot be written is reported (once) and dropped. False when changes were lost so.
    bool flush();

private:
    struct DatabaseCloser {
        void operator()(sqlite3* database) const;
    };
    struct StatementFinalizer {
        void operator()(sqlite3_stmt* statement) const;
    };
    using DatabaseHandle = std::unique_ptr<sqlite3, DatabaseCloser>;
    using StatementHandle = std::unique_ptr<sqlite3_stmt, StatementFinalizer>;

    enum class OpenResult { Opened, ReadOnly, Damaged, Unusable };

    OpenResult openFile(const std::filesystem::path& databasePath, std::string& failure);
    OpenResult openReadOnlyCopy(const std::filesystem::path& databasePath, std::string& failure);
    int checkAndPrepare(std::string& failure);
    int prepareDatabase(std::string& failure);
    void openInMemory();
    void closeDatabase();
    StatementHandle prepare(const char* sql);
    // Saves or deletes; false for a deletion that found nothing.
    bool change(const SettingsChange& change);
    // Runs the change's statement; the result code, and how many rows it changed.
    int run(const SettingsChange& change, int& changedRows);
    [[nodiscard]] bool holds(const SettingsChange& deletion);
    // Writes the pending changes unless a try failed a moment ago; true when none are left.
    bool retryPending();
    // Writes the pending changes in one transaction, waiting at most that long for locks.
    bool writePending(std::chrono::milliseconds wait);
    [[nodiscard]] SettingsEntries readEntries(const std::u16string& application);

    // Declared before the statements, so they are finalized before the database closes.
    DatabaseHandle m_Database;
    StatementHandle m_SelectValue;
    StatementHandle m_UpsertValue;
    StatementHandle m_DeleteKey;
    StatementHandle m_DeleteSection;
    StatementHandle m_SelectEntries;
    std::filesystem::path m_Path;
    ProblemReporter m_ReportProblem;
    Waits m_Waits;
    PendingSettingsChanges m_Pending;
    std::chrono::steady_clock::time_point m_NextRetry;
    std::string m_WriteFailure;
    bool m_Persistent = false;
    bool m_ChangesLost = false;
};

} // namespace vestrak
