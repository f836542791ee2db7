#include "linux/sqlite_settings_store.h"

#include "linux/user_config_folder.h"
#include "procs/encoding.h"

#include <algorithm>
#include <array>
#include <ctime>
#include <initializer_list>
#include <iostream>
#include <optional>
#include <sqlite3.h>
#include <tuple>
#include <unistd.h>
#include <utility>

namespace vestrak {

namespace {

constexpr int kBusyTimeoutMilliseconds = 5000;

constexpr const char* kCreateTable = "CREATE TABLE IF NOT EXISTS settings ("
                                     " application TEXT NOT NULL COLLATE BINARY,"
                                     " section TEXT NOT NULL COLLATE BINARY,"
                                     " key TEXT NOT NULL COLLATE BINARY,"
                                     " value TEXT NOT NULL,"
                                     " PRIMARY KEY (application, section, key)"
                                     ") WITHOUT ROWID";

// Resets a shared prepared statement when an operation leaves, however it leaves.
class StatementUse {
public:
    explicit StatementUse(sqlite3_stmt* statement)
        : m_Statement(statement)
    {
    }
    ~StatementUse()
    {
        sqlite3_reset(m_Statement);
        sqlite3_clear_bindings(m_Statement);
    }
    StatementUse(const StatementUse&) = delete;
    StatementUse& operator=(const StatementUse&) = delete;

    bool bindTexts(std::initializer_list<std::u16string_view> texts)
    {
        int parameter = 0;
        for (const std::u16string_view text : texts) {
            const std::string utf8 = ToUtf8(text);
            if (sqlite3_bind_text(
                    m_Statement, ++parameter, utf8.data(), static_cast<int>(utf8.size()), SQLITE_TRANSIENT)
                != SQLITE_OK) {
                return false;
            }
        }
        return true;
    }

private:
    sqlite3_stmt* m_Statement = nullptr;
};

std::u16string columnText(sqlite3_stmt* statement, int column)
{
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, column));
    if (text == nullptr) {
        return {};
    }
    return FromUtf8(
        std::string_view(text, static_cast<std::size_t>(sqlite3_column_bytes(statement, column))));
}

std::string errorText(sqlite3* database, int resultCode)
{
    return database != nullptr ? sqlite3_errmsg(database) : sqlite3_errstr(resultCode);
}

bool isDamage(int resultCode)
{
    const int primaryCode = resultCode & 0xff;
    return primaryCode == SQLITE_NOTADB || primaryCode == SQLITE_CORRUPT;
}

std::string timestampForFileName()
{
    const std::time_t now = std::time(nullptr);
    std::tm local {};
    localtime_r(&now, &local);
    std::array<char, 32> text {};
    const std::size_t length = std::strftime(text.data(), text.size(), "%Y%m%d-%H%M%S", &local);
    return { text.data(), length };
}

// Renames the damaged file and its journal companions to one free "damaged" name beside it.
std::optional<std::filesystem::path> moveAside(
    const std::filesystem::path& databasePath, std::string& failure)
{
    const std::string baseName = databasePath.string() + ".damaged-" + timestampForFileName();
    std::filesystem::path target = baseName;
    std::error_code error;
    for (int attempt = 2; std::filesystem::exists(target, error); ++attempt) {
        target = baseName + "-" + std::to_string(attempt);
    }
    std::filesystem::rename(databasePath, target, error);
    if (error) {
        failure = "moving it aside failed: " + error.message();
        return std::nullopt;
    }
    for (const char* companion : { "-wal", "-shm" }) {
        const std::filesystem::path companionPath = databasePath.string() + companion;
        if (std::filesystem::exists(companionPath, error)) {
            std::filesystem::rename(companionPath, target.string() + companion, error);
        }
    }
    return target;
}

// Runs a statement that answers with at most one text row, such as a PRAGMA.
int runForText(sqlite3* database, const char* sql, std::string* answer = nullptr)
{
    sqlite3_stmt* rawStatement = nullptr;
    int resultCode = sqlite3_prepare_v2(database, sql, -1, &rawStatement, nullptr);
    if (resultCode != SQLITE_OK) {
        sqlite3_finalize(rawStatement);
        return resultCode;
    }
    resultCode = sqlite3_step(rawStatement);
    if (resultCode == SQLITE_ROW && answer != nullptr) {
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(rawStatement, 0));
        *answer = text != nullptr ? text : "";
    }
    const int finalizeCode = sqlite3_finalize(rawStatement);
    if (resultCode == SQLITE_ROW || resultCode == SQLITE_DONE) {
        return finalizeCode;
    }
    return resultCode;
}

} // namespace

void SqliteSettingsStore::DatabaseCloser::operator()(sqlite3* database) const
{
    sqlite3_close_v2(database);
}

void SqliteSettingsStore::StatementFinalizer::operator()(sqlite3_stmt* statement) const
{
    sqlite3_finalize(statement);
}

std::filesystem::path SqliteSettingsStore::defaultPath()
{
    if (auto configured = environmentPath("VESTRAK_SETTINGS"); !configured.empty()) {
        return configured;
    }
    return userConfigFolder() / "settings.sqlite";
}

void SqliteSettingsStore::reportToStandardError(const std::string& message)
{
    std::cerr << "VestrakControls: " << message << '\n';
}

SqliteSettingsStore::SqliteSettingsStore(
    const std::filesystem::path& databasePath, const ProblemReporter& reportProblem)
{
    std::string failure;
    OpenResult result = openFile(databasePath, failure);
    std::string problem;
    if (result == OpenResult::Damaged) {
        const std::string damage = failure;
        if (const auto movedTo = moveAside(databasePath, failure)) {
            problem = "the settings database " + databasePath.string() + " was damaged (" + damage
                + "); it was moved aside to " + movedTo->string();
            result = openFile(databasePath, failure);
            problem += result == OpenResult::Opened
                ? " and a fresh one was started"
                : " but a fresh one could not be started (" + failure + ")";
        } else {
            problem = "the settings database " + databasePath.string() + " is damaged (" + damage + ") and "
                + failure;
        }
    }
    if (result != OpenResult::Opened) {
        if (problem.empty()) {
            problem = "the settings database " + databasePath.string() + " cannot be used (" + failure + ")";
        }
        problem += "; settings are kept in memory only and are lost when the program ends";
        openInMemory();
    } else {
        m_Persistent = true;
    }
    if (!problem.empty() && reportProblem) {
        reportProblem(problem);
    }
}

SqliteSettingsStore::~SqliteSettingsStore() = default;

SqliteSettingsStore::OpenResult SqliteSettingsStore::openFile(
    const std::filesystem::path& databasePath, std::string& failure)
{
    // SQLite would take an empty name for a private temporary database, which is lost at exit.
    if (databasePath.empty()) {
        failure = "no file name was given";
        return OpenResult::Unusable;
    }
    std::error_code error;
    const std::filesystem::path folder = databasePath.parent_path();
    if (!folder.empty()) {
        std::filesystem::create_directories(folder, error);
        if (error) {
            failure = "creating the folder " + folder.string() + " failed: " + error.message();
            return OpenResult::Unusable;
        }
    }
    // SQLite opens a file it may not write read-only without complaint; writes would fail later.
    if (access((folder.empty() ? std::filesystem::path(".") : folder).c_str(), W_OK) != 0) {
        failure = "its folder is not writable";
        return OpenResult::Unusable;
    }

    sqlite3* rawDatabase = nullptr;
    const int openCode = sqlite3_open_v2(databasePath.c_str(), &rawDatabase,
        SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX, nullptr);
    m_Database.reset(rawDatabase);
    if (openCode != SQLITE_OK) {
        failure = errorText(m_Database.get(), openCode);
        closeDatabase();
        return OpenResult::Unusable;
    }
    sqlite3_extended_result_codes(m_Database.get(), 1);
    sqlite3_busy_timeout(m_Database.get(), kBusyTimeoutMilliseconds);
    if (sqlite3_db_readonly(m_Database.get(), "main") == 1) {
        failure = "the file is read-only";
        closeDatabase();
        return OpenResult::Unusable;
    }

    std::string checkAnswer;
    const int checkCode = runForText(m_Database.get(), "PRAGMA quick_check", &checkAnswer);
    if (isDamage(checkCode) || (checkCode == SQLITE_OK && checkAnswer != "ok")) {
        failure = checkCode == SQLITE_OK ? "it fails the integrity check"
                                         : errorText(m_Database.get(), checkCode);
        closeDatabase();
        return OpenResult::Damaged;
    }
    if (checkCode != SQLITE_OK || !prepareDatabase(failure)) {
        if (checkCode != SQLITE_OK) {
            failure = errorText(m_Database.get(), checkCode);
        }
        closeDatabase();
        return OpenResult::Unusable;
    }
    return OpenResult::Opened;
}

bool SqliteSettingsStore::prepareDatabase(std::string& failure)
{
    sqlite3* database = m_Database.get();
    for (const char* setup : { "PRAGMA journal_mode=WAL", "PRAGMA synchronous=NORMAL", kCreateTable }) {
        if (const int code = runForText(database, setup); code != SQLITE_OK) {
            failure = errorText(database, code);
            return false;
        }
    }
    m_SelectValue
        = prepare("SELECT value FROM settings WHERE application = ?1 AND section = ?2 AND key = ?3");
    m_UpsertValue = prepare("INSERT INTO settings (application, section, key, value) VALUES (?1, ?2, ?3, ?4)"
                            " ON CONFLICT (application, section, key) DO UPDATE SET value = excluded.value");
    m_DeleteKey = prepare("DELETE FROM settings WHERE application = ?1 AND section = ?2 AND key = ?3");
    m_DeleteSection = prepare("DELETE FROM settings WHERE application = ?1 AND section = ?2");
    m_SelectEntries = prepare("SELECT section, key, value FROM settings WHERE application = ?1");
    m_SelectDataVersion = prepare("PRAGMA data_version");
    if (!m_SelectValue || !m_UpsertValue || !m_DeleteKey || !m_DeleteSection || !m_SelectEntries
        || !m_SelectDataVersion) {
        failure = sqlite3_errmsg(database);
        return false;
    }
    return true;
}

void SqliteSettingsStore::openInMemory()
{
    sqlite3* rawDatabase = nullptr;
    const int openCode = sqlite3_open_v2(
        ":memory:", &rawDatabase, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX, nullptr);
    m_Database.reset(rawDatabase);
    std::string ignoredFailure;
    if (openCode != SQLITE_OK || !prepareDatabase(ignoredFailure)) {
        // Out of memory: every operation answers with its default.
        closeDatabase();
    }
}

void SqliteSettingsStore::closeDatabase()
{
    m_SelectValue.reset();
    m_UpsertValue.reset();
    m_DeleteKey.reset();
    m_DeleteSection.reset();
    m_SelectEntries.reset();
    m_SelectDataVersion.reset();
    m_ListedEntries.reset();
    m_Database.reset();
}

SqliteSettingsStore::StatementHandle SqliteSettingsStore::prepare(const char* sql)
{
    sqlite3_stmt* rawStatement = nullptr;
    sqlite3_prepare_v3(m_Database.get(), sql, -1, SQLITE_PREPARE_PERSISTENT, &rawStatement, nullptr);
    return StatementHandle(rawStatement);
}

std::u16string SqliteSettingsStore::GetSetting(const std::u16string& application,
    const std::u16string& section, const std::u16string& key, const std::u16string& defaultValue)
{
    if (!m_SelectValue) {
        return defaultValue;
    }
    StatementUse use(m_SelectValue.get());
    if (!use.bindTexts({ application, section, key }) || sqlite3_step(m_SelectValue.get()) != SQLITE_ROW) {
        return defaultValue;
    }
    return columnText(m_SelectValue.get(), 0);
}

bool SqliteSettingsStore::SaveSetting(const std::u16string& application, const std::u16string& section,
    const std::u16string& key, const std::u16string& value)
{
    if (!m_UpsertValue) {
        return false;
    }
    m_ListedEntries.reset();
    StatementUse use(m_UpsertValue.get());
    return use.bindTexts({ application, section, key, value })
        && sqlite3_step(m_UpsertValue.get()) == SQLITE_DONE;
}

bool SqliteSettingsStore::DeleteSetting(
    const std::u16string& application, const std::u16string& section, const std::u16string& key)
{
    return runDeletion(m_DeleteKey.get(), { application, section, key });
}

bool SqliteSettingsStore::DeleteSetting(const std::u16string& application, const std::u16string& section)
{
    return runDeletion(m_DeleteSection.get(), { application, section });
}

bool SqliteSettingsStore::runDeletion(
    sqlite3_stmt* statement, std::initializer_list<std::u16string_view> names)
{
    if (statement == nullptr) {
        return false;
    }
    m_ListedEntries.reset();
    StatementUse use(statement);
    return use.bindTexts(names) && sqlite3_step(statement) == SQLITE_DONE
        && sqlite3_changes(m_Database.get()) > 0;
}

// Changes whenever another connection, in this process or another, commits to the database.
std::optional<std::int64_t> SqliteSettingsStore::dataVersion()
{
    if (!m_SelectDataVersion) {
        return std::nullopt;
    }
    StatementUse use(m_SelectDataVersion.get());
    if (sqlite3_step(m_SelectDataVersion.get()) != SQLITE_ROW) {
        return std::nullopt;
    }
    return sqlite3_column_int64(m_SelectDataVersion.get(), 0);
}

// A control lists its stored entries at every build; when nothing was written since, the list
// is answered from memory for the cost of one look at the data version.
std::vector<SettingsEntry> SqliteSettingsStore::entries(const std::u16string& application)
{
    const std::optional<std::int64_t> version = dataVersion();
    if (version && m_ListedEntries && m_ListedEntries->application == application
        && m_ListedEntries->dataVersion == *version) {
        return m_ListedEntries->entries;
    }
    std::vector<SettingsEntry> result = readEntries(application);
    if (version) {
        m_ListedEntries = ListedEntries { application, *version, result };
    } else {
        m_ListedEntries.reset();
    }
    return result;
}

std::vector<SettingsEntry> SqliteSettingsStore::readEntries(const std::u16string& application)
{
    std::vector<SettingsEntry> result;
    if (!m_SelectEntries) {
        return result;
    }
    StatementUse use(m_SelectEntries.get());
    if (!use.bindTexts({ application })) {
        return result;
    }
    while (sqlite3_step(m_SelectEntries.get()) == SQLITE_ROW) {
        result.push_back({ columnText(m_SelectEntries.get(), 0), columnText(m_SelectEntries.get(), 1),
            columnText(m_SelectEntries.get(), 2) });
    }
    // SQLite orders UTF-8 bytes, which differs from UTF-16 code unit order above U+FFFF only, so
    // the entries mostly come in order already and a check costs less than a sort.
    const auto before = [](const SettingsEntry& left, const SettingsEntry& right) {
        return std::tie(left.section, left.key) < std::tie(right.section, right.key);
    };
    if (!std::ranges::is_sorted(result, before)) {
        std::ranges::sort(result, before);
    }
    return result;
}

} // namespace vestrak
