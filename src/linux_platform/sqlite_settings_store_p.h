#pragma once

#include "../linux_platform/file_identity.h"
#include "../linux_platform/pending_settings_changes.h"
#include "../linux_platform/sqlite_settings_store.h"
#include "../ports/settings_store.h"

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace vestrak {

// The SQLite settings store's connection, modes and kept changes behind SqliteSettingsStore, which
// forwards to it, so that none of this is part of the installed interface.
class SqliteSettingsStorePrivate : public SettingsStore {
public:
    using ProblemReporter = std::function<void(const std::string& message)>;

    using Waits = SettingsStoreWaits;

    // $VESTRAK_SETTINGS when set, otherwise settings.sqlite in the user's configuration folder.
    static std::filesystem::path defaultPath();
    // Writes the message to stderr, prefixed with the library's name, and to the diagnostic log.
    static void reportToStandardErrorAndLog(const std::string& message);

    explicit SqliteSettingsStorePrivate(std::filesystem::path databasePath = defaultPath(),
        ProblemReporter reportProblem = reportToStandardErrorAndLog, Waits waits = {});
    // Flushes.
    ~SqliteSettingsStorePrivate() override;
    SqliteSettingsStorePrivate(const SqliteSettingsStorePrivate&) = delete;
    SqliteSettingsStorePrivate& operator=(const SqliteSettingsStorePrivate&) = delete;

    std::u16string GetSetting(const std::u16string& application, const std::u16string& section,
        const std::u16string& key, const std::u16string& defaultValue = {}) override;
    bool SaveSetting(const std::u16string& application, const std::u16string& section,
        const std::u16string& key, const std::u16string& value) override;
    bool DeleteSetting(
        const std::u16string& application, const std::u16string& section, const std::u16string& key) override;
    bool DeleteSetting(const std::u16string& application, const std::u16string& section) override;
    SettingsEntries entries(const std::u16string& application) override;

    // True while the values are read from and written to the database file.
    [[nodiscard]] bool isPersistent() const { return m_Mode == Mode::File; }
    // Changes kept for later because the file was locked or could not be opened.
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

    // One open database with the statements the store runs on it; the statements are declared
    // after the database, so they are finalized before it closes.
    struct Connection {
        DatabaseHandle database;
        StatementHandle selectValue;
        StatementHandle upsertValue;
        StatementHandle deleteKey;
        StatementHandle deleteSection;
        StatementHandle selectEntries;
    };

    enum class OpenResult { Opened, ReadOnly, Damaged, Postponed, Unusable };
    // Where the values live: the file; a copy in memory while the file cannot be opened, changes
    // kept for it; a copy in memory of a file that may not be written; memory only.
    enum class Mode { File, Postponed, ReadOnly, MemoryOnly };

    // Opens the file, or what can stand in for it, and takes it as the store's; the problem to
    // report, if any.
    std::string openStore(std::chrono::milliseconds wait);
    OpenResult openChecked(
        Connection& connection, std::string& failure, std::string& damage, std::chrono::milliseconds wait);
    OpenResult openFile(Connection& connection, std::string& failure, std::chrono::milliseconds wait);
    OpenResult openCopy(Connection& connection, std::string& failure, std::string& unreadJournal,
        std::chrono::milliseconds wait);
    static int checkAndPrepare(Connection& connection, std::string& failure);
    static int prepareDatabase(Connection& connection, std::string& failure);
    static Connection memoryConnection();
    void adopt(Connection connection, Mode mode);
    // Notices a file replaced, removed or truncated under the store, and opens it again.
    void watchFile();
    // Opens the file that could not be opened before; true when it is the store's now.
    bool openPostponed(std::chrono::milliseconds wait);
    // Saves or deletes; false for a deletion that found nothing.
    bool change(const SettingsChange& change);
    // Runs the change's statement; the result code, and how many rows it changed.
    int run(const SettingsChange& change, int& changedRows);
    [[nodiscard]] bool holds(const SettingsChange& deletion);
    // Writes the pending changes unless a try failed a moment ago; true when none are left.
    bool retryPending();
    // Writes the pending changes in one transaction, waiting at most that long for locks.
    bool writePending(std::chrono::milliseconds wait);
    // Keeps a change written to the file, to write it again should the file be replaced.
    void remember(const SettingsChange& change);
    // Applies the pending changes to the values in memory, and reports them lost.
    void losePending(const std::string& reason);
    void report(const std::string& problem);
    [[nodiscard]] SettingsEntries readEntries(const std::u16string& application);

    Connection m_Connection;
    std::filesystem::path m_Path;
    ProblemReporter m_ReportProblem;
    Waits m_Waits;
    Mode m_Mode = Mode::MemoryOnly;
    PendingSettingsChanges m_Pending;
    // The changes this store wrote to the file, one per key, while they are not too many.
    WrittenSettingsChanges m_Written;
    bool m_WrittenOverflowed = false;
    // The file and its write-ahead journal as they were opened, the file's largest size seen.
    std::optional<FileIdentity> m_FileIdentity;
    std::optional<FileIdentity> m_JournalIdentity;
    std::chrono::steady_clock::time_point m_NextRetry;
    std::string m_WriteFailure;
    bool m_DelayReported = false;
    bool m_ChangesLost = false;
};

} // namespace vestrak
