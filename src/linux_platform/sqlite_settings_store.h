#pragma once

#include "../export.h"
#include "../ports/settings_store.h"

#include <chrono>
#include <cstddef>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

namespace vestrak {

class SqliteSettingsStorePrivate;

/// How long the SQLite settings store waits for other connections' locks; tests shorten them.
struct SettingsStoreWaits {
    /// Each operation, on the UI thread: a longer lock keeps a write for later.
    std::chrono::milliseconds operation { 100 };
    /// Opening, which creates the table and switches the journal mode.
    std::chrono::milliseconds opening { 5000 };
    /// Writing the changes kept for later at shut-down.
    std::chrono::milliseconds shutDown { 5000 };
    /// After a try to write the changes kept for later failed, writes and listings do not try
    /// again (nor wait) for this long.
    std::chrono::milliseconds retryPause { 1000 };
};

/// The per-user settings store on Linux: one SQLite database that several host processes of one
/// user may share (WAL journal, busy timeout). Names are compared exactly.
///
/// The store never stops the controls from working and loses nothing silently: a damaged database
/// file is renamed aside (kept for inspection, never deleted) by one of the processes that find it
/// so, and a fresh one started; a file the user may read but not write is read, and changes live in
/// memory; when no database file can be created, the values live in memory for the life of the
/// store. A write that finds the file locked by another connection for longer than a short wait is
/// kept, seen by every read, and written with the next write, the next listing or at shut-down; so
/// are all changes while the file cannot be opened (locked, disk full), its values read from a
/// copy meanwhile. A file replaced, removed or truncated while the store runs is opened again and
/// given this run's changes again. Each of these events, and changes that could not be written
/// even at shut-down, are reported once through the problem reporter.
class VESTRAK_CONTROLS_EXPORT SqliteSettingsStore : public SettingsStore {
public:
    /// Told each problem of the store once, as a sentence.
    using ProblemReporter = std::function<void(const std::string& message)>;
    /// How long the store waits for locks.
    using Waits = SettingsStoreWaits;

    /// $VESTRAK_SETTINGS when set, otherwise settings.sqlite in the user's configuration folder.
    static std::filesystem::path defaultPath();
    /// Writes the message to stderr, prefixed with the library's name, and to the diagnostic log.
    static void reportToStandardErrorAndLog(const std::string& message);

    /// Opens the database at that path, or what can stand in for it; problems go to the reporter.
    explicit SqliteSettingsStore(std::filesystem::path databasePath = defaultPath(),
        ProblemReporter reportProblem = reportToStandardErrorAndLog, Waits waits = {});
    /// Flushes.
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

    /// True while the values are read from and written to the database file.
    [[nodiscard]] bool isPersistent() const;
    /// Changes kept for later because the file was locked or could not be opened.
    [[nodiscard]] std::size_t pendingChanges() const;
    /// Writes the changes kept for later, waiting for locks at most the shut-down wait; what still
    /// cannot be written is reported (once) and dropped. False when changes were lost so.
    bool flush();

private:
    const std::unique_ptr<SqliteSettingsStorePrivate> d;
};

} // namespace vestrak
