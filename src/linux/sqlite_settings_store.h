#pragma once

#include "../export.h"
#include "../ports/settings_store.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <initializer_list>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace vestrak {

// The per-user settings store on Linux: one SQLite database that several host processes of one
// user may share (WAL journal, busy timeout). Names are compared exactly.
//
// The store never stops the controls from working: a damaged database file is renamed aside
// (kept for inspection, never deleted) and a fresh one started; when no database file can be
// created or written, the values live in memory for the life of the store. Either event is
// reported once through the problem reporter.
class VESTRAK_CONTROLS_EXPORT SqliteSettingsStore : public SettingsStore {
public:
    using ProblemReporter = std::function<void(const std::string& message)>;

    // $VESTRAK_SETTINGS when set, otherwise settings.sqlite in the user's configuration folder.
    static std::filesystem::path defaultPath();
    // Writes the message to stderr, prefixed with the library's name.
    static void reportToStandardError(const std::string& message);

    explicit SqliteSettingsStore(const std::filesystem::path& databasePath = defaultPath(),
        const ProblemReporter& reportProblem = reportToStandardError);
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
    std::vector<SettingsEntry> entries(const std::u16string& application) override;

    // False when the values are kept in memory only, because no database file could be used.
    [[nodiscard]] bool isPersistent() const { return m_Persistent; }

private:
    struct DatabaseCloser {
        void operator()(sqlite3* database) const;
    };
    struct StatementFinalizer {
        void operator()(sqlite3_stmt* statement) const;
    };
    using DatabaseHandle = std::unique_ptr<sqlite3, DatabaseCloser>;
    using StatementHandle = std::unique_ptr<sqlite3_stmt, StatementFinalizer>;

    enum class OpenResult { Opened, Damaged, Unusable };

    OpenResult openFile(const std::filesystem::path& databasePath, std::string& failure);
    bool prepareDatabase(std::string& failure);
    void openInMemory();
    void closeDatabase();
    StatementHandle prepare(const char* sql);
    bool runDeletion(sqlite3_stmt* statement, std::initializer_list<std::u16string_view> names);
    [[nodiscard]] std::optional<std::int64_t> dataVersion();
    [[nodiscard]] std::vector<SettingsEntry> readEntries(const std::u16string& application);

    // The entries of the application listed last, kept while the database's data version says no
    // other connection committed since; this store's own writes let them go.
    struct ListedEntries {
        std::u16string application;
        std::int64_t dataVersion = 0;
        std::vector<SettingsEntry> entries;
    };

    // Declared before the statements, so they are finalized before the database closes.
    DatabaseHandle m_Database;
    StatementHandle m_SelectValue;
    StatementHandle m_UpsertValue;
    StatementHandle m_DeleteKey;
    StatementHandle m_DeleteSection;
    StatementHandle m_SelectEntries;
    StatementHandle m_SelectDataVersion;
    std::optional<ListedEntries> m_ListedEntries;
    bool m_Persistent = false;
};

} // namespace vestrak
