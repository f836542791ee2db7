#include "linux/sqlite_settings_store.h"

#include "linux/environment_special_folders.h"
#include "linux/local_file_system.h"
#include "linux/system_clock.h"
#include "linux/user_config_folder.h"
#include "procs/encoding.h"
#include "procs/log.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <ctime>
#include <initializer_list>
#include <iostream>
#include <optional>
#include <sqlite3.h>
#include <thread>
#include <unistd.h>
#include <utility>

namespace vestrak {

namespace {

// Between tries of an opening step that found the file locked at once, without waiting.
constexpr std::chrono::milliseconds OpeningRetryPause { 10 };

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

std::string_view columnBytes(sqlite3_stmt* statement, int column)
{
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, column));
    if (text == nullptr) {
        return {};
    }
    return { text, static_cast<std::size_t>(sqlite3_column_bytes(statement, column)) };
}

std::u16string columnText(sqlite3_stmt* statement, int column)
{
    return FromUtf8(columnBytes(statement, column));
}

// The column's text written into room, which a loop over many rows reuses.
std::u16string_view columnText(sqlite3_stmt* statement, int column, std::u16string& room)
{
    room.clear();
    AppendDecoded(room, columnBytes(statement, column), ObjectFileText::Encoding::Utf8);
    return room;
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

bool isLocked(int resultCode)
{
    const int primaryCode = resultCode & 0xff;
    return primaryCode == SQLITE_BUSY || primaryCode == SQLITE_LOCKED;
}

void setBusyWait(sqlite3* database, std::chrono::milliseconds wait)
{
    sqlite3_busy_timeout(database, static_cast<int>(wait.count()));
}

// The file as an SQLite URI that reads it without any lock or journal.
std::string immutableFileName(const std::filesystem::path& databasePath)
{
    std::string name = "file:";
    std::error_code error;
    for (const char character : std::filesystem::absolute(databasePath, error).string()) {
        if (character == '%' || character == '?' || character == '#') {
            constexpr std::string_view Digits = "0123456789ABCDEF";
            const auto byte = static_cast<unsigned char>(character);
            name += { '%', Digits[byte >> 4U], Digits[byte & 0xFU] };
        } else {
            name += character;
        }
    }
    return name + "?immutable=1";
}

std::string describe(const SettingsChange& change)
{
    std::string text = ToUtf8(change.application) + "/" + ToUtf8(change.section);
    if (change.kind != SettingsChange::Kind::DeleteSection) {
        text += "/" + ToUtf8(change.key);
    }
    return text + (change.kind == SettingsChange::Kind::Save ? " saved" : " deleted");
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

void SqliteSettingsStore::reportToStandardErrorAndLog(const std::string& message)
{
    std::cerr << "VestrakControls: " << message << '\n';
    LocalFileSystem files;
    SystemClock clock;
    EnvironmentSpecialFolders folders;
    LogServices services { clock, files, folders };
    float timeReference = 0;
    WriteLog(DiagnosticLogFlag, timeReference, u"Settings store: " + FromUtf8(message), services);
}

SqliteSettingsStore::SqliteSettingsStore(
    const std::filesystem::path& databasePath, const ProblemReporter& reportProblem, Waits waits)
    : m_Path(databasePath)
    , m_ReportProblem(reportProblem)
    , m_Waits(waits)
{
    std::string failure;
    OpenResult result = openFile(databasePath, failure);
    std::string problem;
    if (result == OpenResult::ReadOnly) {
        problem = "the settings database " + databasePath.string()
            + " is read-only; its settings are used, and changes are kept in memory only and are lost"
              " when the program ends";
    }
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
    if (result != OpenResult::Opened && result != OpenResult::ReadOnly) {
        if (problem.empty()) {
            problem = "the settings database " + databasePath.string() + " cannot be used (" + failure + ")";
        }
        problem += "; settings are kept in memory only and are lost when the program ends";
        openInMemory();
    } else {
        m_Persistent = result == OpenResult::Opened;
    }
    if (!problem.empty() && reportProblem) {
        reportProblem(problem);
    }
}

SqliteSettingsStore::~SqliteSettingsStore()
{
    flush();
}

bool SqliteSettingsStore::flush()
{
    if (m_Pending.empty() || writePending(m_Waits.shutDown)) {
        return !m_ChangesLost;
    }
    std::string lost;
    for (const SettingsChange& change : m_Pending.changes()) {
        lost += (lost.empty() ? "" : ", ") + describe(change);
    }
    const std::string problem = std::to_string(m_Pending.changes().size()) + " settings change"
        + (m_Pending.changes().size() == 1 ? "" : "s") + " could not be written to " + m_Path.string() + " ("
        + m_WriteFailure + ") and are lost: " + lost;
    m_Pending.clear();
    m_ChangesLost = true;
    if (m_ReportProblem) {
        m_ReportProblem(problem);
    }
    return false;
}

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
    const std::filesystem::path usedFolder = folder.empty() ? std::filesystem::path(".") : folder;
    // Only the last folder is created: a mistyped path must not leave a chain of folders behind.
    if (!std::filesystem::exists(usedFolder, error)) {
        const std::filesystem::path above = folder.parent_path();
        if (!std::filesystem::is_directory(above.empty() ? std::filesystem::path(".") : above, error)) {
            failure = "neither its folder " + folder.string() + " nor the folder above it exists";
            return OpenResult::Unusable;
        }
        std::filesystem::create_directory(folder, error);
        if (error) {
            failure = "creating the folder " + folder.string() + " failed: " + error.message();
            return OpenResult::Unusable;
        }
    }
    if (!std::filesystem::is_directory(usedFolder, error)) {
        failure = folder.string() + " is not a folder";
        return OpenResult::Unusable;
    }
    // SQLite opens a file it may not write read-only without complaint; writes would fail later.
    const bool fileExists = std::filesystem::exists(databasePath, error);
    if (access(usedFolder.c_str(), W_OK) != 0 || (fileExists && access(databasePath.c_str(), W_OK) != 0)) {
        if (fileExists && access(databasePath.c_str(), R_OK) == 0) {
            return openReadOnlyCopy(databasePath, failure);
        }
        failure = fileExists ? "the file can be neither read nor written" : "its folder is not writable";
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
    if (sqlite3_db_readonly(m_Database.get(), "main") == 1) {
        failure = "the file is read-only";
        closeDatabase();
        return OpenResult::Unusable;
    }
    // Several processes starting on one fresh file meet in the table's creation and the journal
    // mode switch, where SQLite may answer "locked" at once instead of waiting: those steps are
    // tried again until the opening wait is over.
    setBusyWait(m_Database.get(), m_Waits.opening);
    const auto deadline = std::chrono::steady_clock::now() + m_Waits.opening;
    int code = checkAndPrepare(failure);
    while (isLocked(code) && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(OpeningRetryPause);
        code = checkAndPrepare(failure);
    }
    setBusyWait(m_Database.get(), m_Waits.operation);
    if (code == SQLITE_OK) {
        return OpenResult::Opened;
    }
    closeDatabase();
    return isDamage(code) ? OpenResult::Damaged : OpenResult::Unusable;
}

// A file the user may only read: its contents are copied into memory, where changes are kept.
SqliteSettingsStore::OpenResult SqliteSettingsStore::openReadOnlyCopy(
    const std::filesystem::path& databasePath, std::string& failure)
{
    sqlite3* rawDatabase = nullptr;
    sqlite3_open_v2(
        ":memory:", &rawDatabase, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX, nullptr);
    m_Database.reset(rawDatabase);
    // Reading a file with a write-ahead journal needs its shared-memory file, which a read-only
    // folder may not let SQLite create; such a file is then read as one no one changes.
    int copyCode = SQLITE_CANTOPEN;
    for (const std::string& source : { databasePath.string(), immutableFileName(databasePath) }) {
        sqlite3* rawSource = nullptr;
        sqlite3_open_v2(source.c_str(), &rawSource, SQLITE_OPEN_READONLY | SQLITE_OPEN_URI, nullptr);
        const DatabaseHandle sourceDatabase(rawSource);
        setBusyWait(sourceDatabase.get(), m_Waits.opening);
        sqlite3_backup* backup = sqlite3_backup_init(m_Database.get(), "main", sourceDatabase.get(), "main");
        if (backup == nullptr) {
            failure = errorText(m_Database.get(), SQLITE_CANTOPEN);
            continue;
        }
        sqlite3_backup_step(backup, -1);
        copyCode = sqlite3_backup_finish(backup);
        if (copyCode == SQLITE_OK) {
            break;
        }
        failure = std::string("it cannot be read (") + sqlite3_errstr(copyCode) + ")";
    }
    if (copyCode != SQLITE_OK) {
        closeDatabase();
        return isDamage(copyCode) ? OpenResult::Damaged : OpenResult::Unusable;
    }
    if (const int code = checkAndPrepare(failure); code != SQLITE_OK) {
        closeDatabase();
        return isDamage(code) ? OpenResult::Damaged : OpenResult::Unusable;
    }
    return OpenResult::ReadOnly;
}

int SqliteSettingsStore::checkAndPrepare(std::string& failure)
{
    std::string checkAnswer;
    const int checkCode = runForText(m_Database.get(), "PRAGMA quick_check", &checkAnswer);
    if (checkCode == SQLITE_OK && checkAnswer != "ok") {
        failure = "it fails the integrity check";
        return SQLITE_CORRUPT;
    }
    if (checkCode != SQLITE_OK) {
        failure = errorText(m_Database.get(), checkCode);
        return checkCode;
    }
    return prepareDatabase(failure);
}

int SqliteSettingsStore::prepareDatabase(std::string& failure)
{
    sqlite3* database = m_Database.get();
    for (const char* setup : { "PRAGMA journal_mode=WAL", "PRAGMA synchronous=NORMAL", kCreateTable }) {
        if (const int code = runForText(database, setup); code != SQLITE_OK) {
            failure = errorText(database, code);
            return code;
        }
    }
    m_SelectValue
        = prepare("SELECT value FROM settings WHERE application = ?1 AND section = ?2 AND key = ?3");
    m_UpsertValue = prepare("INSERT INTO settings (application, section, key, value) VALUES (?1, ?2, ?3, ?4)"
                            " ON CONFLICT (application, section, key) DO UPDATE SET value = excluded.value");
    m_DeleteKey = prepare("DELETE FROM settings WHERE application = ?1 AND section = ?2 AND key = ?3");
    m_DeleteSection = prepare("DELETE FROM settings WHERE application = ?1 AND section = ?2");
    m_SelectEntries = prepare("SELECT section, key, value FROM settings WHERE application = ?1");
    if (!m_SelectValue || !m_UpsertValue || !m_DeleteKey || !m_DeleteSection || !m_SelectEntries) {
        failure = sqlite3_errmsg(database);
        const int code = sqlite3_errcode(database);
        return code == SQLITE_OK ? SQLITE_ERROR : code;
    }
    return SQLITE_OK;
}

void SqliteSettingsStore::openInMemory()
{
    sqlite3* rawDatabase = nullptr;
    const int openCode = sqlite3_open_v2(
        ":memory:", &rawDatabase, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX, nullptr);
    m_Database.reset(rawDatabase);
    std::string ignoredFailure;
    if (openCode != SQLITE_OK || prepareDatabase(ignoredFailure) != SQLITE_OK) {
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
    if (const auto pending = m_Pending.valueOf(application, section, key)) {
        return pending->value_or(defaultValue);
    }
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
    return change({ SettingsChange::Kind::Save, application, section, key, value });
}

bool SqliteSettingsStore::DeleteSetting(
    const std::u16string& application, const std::u16string& section, const std::u16string& key)
{
    return change({ SettingsChange::Kind::DeleteKey, application, section, key, {} });
}

bool SqliteSettingsStore::DeleteSetting(const std::u16string& application, const std::u16string& section)
{
    return change({ SettingsChange::Kind::DeleteSection, application, section, {}, {} });
}

bool SqliteSettingsStore::change(const SettingsChange& change)
{
    if (!m_UpsertValue) {
        return false;
    }
    // Changes kept earlier go first, so the file sees every change in order.
    if (retryPending()) {
        int changedRows = 0;
        const int code = run(change, changedRows);
        if (code == SQLITE_DONE) {
            return change.kind == SettingsChange::Kind::Save || changedRows > 0;
        }
        m_WriteFailure = errorText(m_Database.get(), code);
        m_NextRetry = std::chrono::steady_clock::now() + m_Waits.retryPause;
    }
    const bool effective = change.kind == SettingsChange::Kind::Save || holds(change);
    m_Pending.add(change);
    return effective;
}

int SqliteSettingsStore::run(const SettingsChange& change, int& changedRows)
{
    sqlite3_stmt* statement = change.kind == SettingsChange::Kind::Save ? m_UpsertValue.get()
        : change.kind == SettingsChange::Kind::DeleteKey                ? m_DeleteKey.get()
                                                                        : m_DeleteSection.get();
    StatementUse use(statement);
    const bool bound = change.kind == SettingsChange::Kind::Save
        ? use.bindTexts({ change.application, change.section, change.key, change.value })
        : change.kind == SettingsChange::Kind::DeleteKey
        ? use.bindTexts({ change.application, change.section, change.key })
        : use.bindTexts({ change.application, change.section });
    if (!bound) {
        return SQLITE_NOMEM;
    }
    const int code = sqlite3_step(statement);
    changedRows = sqlite3_changes(m_Database.get());
    return code;
}

// Whether the deletion finds something to delete, as far as this store can see.
bool SqliteSettingsStore::holds(const SettingsChange& deletion)
{
    if (deletion.kind == SettingsChange::Kind::DeleteKey) {
        if (const auto pending = m_Pending.valueOf(deletion.application, deletion.section, deletion.key)) {
            return pending->has_value();
        }
        StatementUse use(m_SelectValue.get());
        return use.bindTexts({ deletion.application, deletion.section, deletion.key })
            && sqlite3_step(m_SelectValue.get()) == SQLITE_ROW;
    }
    return std::ranges::any_of(entries(deletion.application),
        [&deletion](const SettingsEntryView entry) { return entry.section == deletion.section; });
}

bool SqliteSettingsStore::retryPending()
{
    if (m_Pending.empty()) {
        return true;
    }
    const auto now = std::chrono::steady_clock::now();
    if (now < m_NextRetry) {
        return false;
    }
    if (writePending(m_Waits.operation)) {
        return true;
    }
    m_NextRetry = now + m_Waits.retryPause;
    return false;
}

bool SqliteSettingsStore::writePending(std::chrono::milliseconds wait)
{
    if (m_Pending.empty()) {
        return true;
    }
    sqlite3* database = m_Database.get();
    setBusyWait(database, wait);
    int code = runForText(database, "BEGIN IMMEDIATE");
    for (auto change = m_Pending.changes().begin(); code == SQLITE_OK && change != m_Pending.changes().end();
         ++change) {
        int changedRows = 0;
        code = run(*change, changedRows);
        code = code == SQLITE_DONE ? SQLITE_OK : code;
    }
    if (code == SQLITE_OK) {
        code = runForText(database, "COMMIT");
    }
    setBusyWait(database, m_Waits.operation);
    if (code != SQLITE_OK) {
        m_WriteFailure = errorText(database, code);
        if (sqlite3_get_autocommit(database) == 0) {
            runForText(database, "ROLLBACK");
        }
        return false;
    }
    m_Pending.clear();
    return true;
}

// Read anew at every call: a listing kept for the next build would hold the stored entries of a
// large plant (some 12 MB for its open branches) for the whole run, to save a build a twentieth of
// its time.
SettingsEntries SqliteSettingsStore::entries(const std::u16string& application)
{
    if (!retryPending()) {
        return SettingsEntries(m_Pending.appliedTo(readEntries(application).copies(), application));
    }
    return readEntries(application);
}

SettingsEntries SqliteSettingsStore::readEntries(const std::u16string& application)
{
    SettingsEntries::Builder listing;
    if (!m_SelectEntries) {
        return listing.finish();
    }
    StatementUse use(m_SelectEntries.get());
    if (!use.bindTexts({ application })) {
        return listing.finish();
    }
    std::u16string section;
    std::u16string key;
    std::u16string value;
    while (sqlite3_step(m_SelectEntries.get()) == SQLITE_ROW) {
        listing.add(columnText(m_SelectEntries.get(), 0, section), columnText(m_SelectEntries.get(), 1, key),
            columnText(m_SelectEntries.get(), 2, value));
    }
    // SQLite orders UTF-8 bytes, which differs from UTF-16 code unit order above U+FFFF only; the
    // listing sorts what comes out of order.
    return listing.finish();
}

} // namespace vestrak
