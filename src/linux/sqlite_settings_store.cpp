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

// Lets the connection close without a checkpoint into the file and without deleting the journals
// at the file's name, which may belong to another file by now.
void closeLeavingJournals(sqlite3* database)
{
    if (database == nullptr) {
        return;
    }
    int keepJournal = 1;
    sqlite3_file_control(database, "main", SQLITE_FCNTL_PERSIST_WAL, &keepJournal);
    sqlite3_db_config(database, SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, 1, nullptr);
}

std::string describe(const SettingsChange& change)
{
    std::string text = ToUtf8(change.application) + "/" + ToUtf8(change.section);
    if (change.kind != SettingsChange::Kind::DeleteSection) {
        text += "/" + ToUtf8(change.key);
    }
    return text + (change.kind == SettingsChange::Kind::Save ? " saved" : " deleted");
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
    report(openStore(m_Waits.opening));
}

SqliteSettingsStore::~SqliteSettingsStore()
{
    flush();
}

bool SqliteSettingsStore::flush()
{
    watchFile();
    if (m_Pending.empty()) {
        return !m_ChangesLost;
    }
    if (m_Mode == Mode::Postponed && !openPostponed(m_Waits.shutDown)) {
        losePending("it could not be opened");
        return false;
    }
    if (writePending(m_Waits.shutDown)) {
        return !m_ChangesLost;
    }
    losePending("it stayed locked");
    return false;
}

void SqliteSettingsStore::losePending(const std::string& reason)
{
    std::string lost;
    const bool keptInMemory = m_Mode == Mode::ReadOnly || m_Mode == Mode::MemoryOnly;
    for (const SettingsChange& change : m_Pending.changes()) {
        int ignoredRows = 0;
        if (keptInMemory) {
            run(change, ignoredRows);
        }
        lost += (lost.empty() ? "" : ", ") + describe(change);
    }
    const std::size_t count = m_Pending.changes().size();
    m_Pending.clear();
    m_ChangesLost = true;
    report(std::to_string(count) + " settings change" + (count == 1 ? "" : "s") + " could not be written to "
        + m_Path.string() + " (" + reason + (m_WriteFailure.empty() ? "" : ": " + m_WriteFailure)
        + ") and are lost: " + lost);
}

void SqliteSettingsStore::report(const std::string& problem)
{
    if (!problem.empty() && m_ReportProblem) {
        m_ReportProblem(problem);
    }
}

std::string SqliteSettingsStore::openStore(std::chrono::milliseconds wait)
{
    const std::string name = "the settings database " + m_Path.string();
    Connection connection;
    std::string failure;
    std::string damage;
    const OpenResult result = openChecked(connection, failure, damage, wait);
    std::string problem = damage.empty() ? name : damage;
    const std::string cause = damage.empty() ? " cannot be used (" + failure + ")"
                                             : " but a fresh one could not be started (" + failure + ")";
    switch (result) {
    case OpenResult::Opened:
        adopt(std::move(connection), Mode::File);
        return damage.empty() ? std::string() : damage + " and a fresh one was started";
    case OpenResult::ReadOnly:
        adopt(std::move(connection), Mode::ReadOnly);
        return problem + " is read-only; its settings are used"
            + (failure.empty() ? "" : " except its latest changes, which " + failure)
            + ", and changes are kept in memory only and are lost when the program ends";
    case OpenResult::Postponed: {
        Connection copy;
        std::string copyFailure;
        std::string unreadJournal;
        std::error_code error;
        const bool exists = std::filesystem::exists(m_Path, error);
        const bool read
            = exists && openCopy(copy, copyFailure, unreadJournal, m_Waits.operation) == OpenResult::ReadOnly;
        adopt(read ? std::move(copy) : memoryConnection(), Mode::Postponed);
        m_WriteFailure = failure;
        m_NextRetry = std::chrono::steady_clock::now() + m_Waits.retryPause;
        return problem + (damage.empty() ? " cannot be opened (" + failure + ")" : cause) + "; "
            + (read ? "its settings were read from a copy"
                        + (unreadJournal.empty() ? "" : " except its latest changes, which " + unreadJournal)
                    : exists ? "its settings cannot be read either (" + copyFailure + ")"
                             : "it holds no settings yet")
            + "; changes are kept in memory and written once it can be opened (tried again at most once a"
              " second, and at shut-down)";
    }
    case OpenResult::Damaged:
    case OpenResult::Unusable:
        break;
    }
    adopt(memoryConnection(), Mode::MemoryOnly);
    return problem + cause + "; settings are kept in memory only and are lost when the program ends";
}

// Only one of the processes that find the file damaged moves it aside, under a lock of its folder,
// and starts the fresh one; the others wait for it and then use the fresh file.
SqliteSettingsStore::OpenResult SqliteSettingsStore::openChecked(
    Connection& connection, std::string& failure, std::string& damage, std::chrono::milliseconds wait)
{
    constexpr int Looks = 5;
    for (int look = 0; look < Looks; ++look) {
        const std::optional<FileIdentity> checked = identityOf(m_Path);
        const OpenResult result = openFile(connection, failure, wait);
        if (result != OpenResult::Damaged) {
            return result;
        }
        const std::optional<FileIdentity> afterCheck = identityOf(m_Path);
        if (!checked || !afterCheck || !checked->isSameFile(*afterCheck)) {
            continue;
        }
        const FolderLock lock(m_Path.parent_path(), m_Waits.opening);
        if (!lock.isHeldOrUnavailable()) {
            failure = "it is damaged (" + failure + ") and another process holds it to move it aside";
            return OpenResult::Postponed;
        }
        if (const std::optional<FileIdentity> underLock = identityOf(m_Path);
            !underLock || !underLock->isSameFile(*checked)) {
            continue;
        }
        const std::string found = failure;
        const std::optional<std::filesystem::path> movedTo = moveDatabaseAside(m_Path, failure);
        if (!movedTo) {
            failure = "it is damaged (" + found + ") and " + failure;
            return OpenResult::Unusable;
        }
        damage = "the settings database " + m_Path.string() + " was damaged (" + found
            + "); it was moved aside to " + movedTo->string();
        return openFile(connection, failure, wait);
    }
    failure = "it was found damaged, and it kept changing while it was checked";
    return OpenResult::Unusable;
}

SqliteSettingsStore::OpenResult SqliteSettingsStore::openFile(
    Connection& connection, std::string& failure, std::chrono::milliseconds wait)
{
    // SQLite would take an empty name for a private temporary database, which is lost at exit.
    if (m_Path.empty()) {
        failure = "no file name was given";
        return OpenResult::Unusable;
    }
    if (const std::optional<std::string> foreignLink = foreignLinkProblem(m_Path)) {
        failure = *foreignLink;
        return OpenResult::Unusable;
    }
    std::error_code error;
    const std::filesystem::path folder = m_Path.parent_path();
    const std::filesystem::path usedFolder = folder.empty() ? std::filesystem::path(".") : folder;
    if (!std::filesystem::exists(usedFolder, error)) {
        // The user's configuration folder is made as XDG applications make it; elsewhere only the
        // last folder is created: a mistyped path must not leave a chain of folders behind.
        const std::filesystem::path above = folder.parent_path();
        if (folder == userConfigFolder()) {
            error = createUserConfigFolder();
        } else if (std::filesystem::is_directory(above.empty() ? std::filesystem::path(".") : above, error)) {
            std::filesystem::create_directory(folder, error);
        } else {
            failure = "neither its folder " + folder.string() + " nor the folder above it exists";
            return OpenResult::Unusable;
        }
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
    const bool fileExists = std::filesystem::exists(m_Path, error);
    if (access(usedFolder.c_str(), W_OK) != 0 || (fileExists && access(m_Path.c_str(), W_OK) != 0)) {
        if (fileExists && access(m_Path.c_str(), R_OK) == 0) {
            failure.clear();
            std::string unreadJournal;
            const OpenResult result = openCopy(connection, failure, unreadJournal, m_Waits.opening);
            if (result == OpenResult::ReadOnly) {
                failure = unreadJournal;
            }
            return result;
        }
        failure = fileExists ? "the file can be neither read nor written" : "its folder is not writable";
        return OpenResult::Unusable;
    }

    sqlite3* rawDatabase = nullptr;
    const int openCode = sqlite3_open_v2(m_Path.c_str(), &rawDatabase,
        SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX, nullptr);
    connection = {};
    connection.database.reset(rawDatabase);
    sqlite3* database = connection.database.get();
    if (openCode != SQLITE_OK) {
        failure = errorText(database, openCode);
        connection = {};
        return OpenResult::Unusable;
    }
    sqlite3_extended_result_codes(database, 1);
    if (sqlite3_db_readonly(database, "main") == 1) {
        failure = "the file is read-only";
        connection = {};
        return OpenResult::Unusable;
    }
    // Several processes starting on one fresh file meet in the table's creation and the journal
    // mode switch, where SQLite may answer "locked" at once instead of waiting: those steps are
    // tried again until the opening wait is over.
    setBusyWait(database, wait);
    const auto deadline = std::chrono::steady_clock::now() + wait;
    int code = checkAndPrepare(connection, failure);
    while (isLocked(code) && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(OpeningRetryPause);
        code = checkAndPrepare(connection, failure);
    }
    setBusyWait(database, m_Waits.operation);
    if (code == SQLITE_OK) {
        return OpenResult::Opened;
    }
    // Closing may not touch the journals at the file's name: another process may have moved the
    // damaged file aside and started a fresh one there.
    closeLeavingJournals(database);
    connection = {};
    return isDamage(code) ? OpenResult::Damaged : OpenResult::Postponed;
}

// A copy in memory of a file that cannot be opened for writing: read directly when SQLite can,
// otherwise from a private copy of the file with its journals, so that commits still in its
// write-ahead journal are read too. As a last resort the file alone is read, and unreadJournal
// says what is missed.
SqliteSettingsStore::OpenResult SqliteSettingsStore::openCopy(
    Connection& connection, std::string& failure, std::string& unreadJournal, std::chrono::milliseconds wait)
{
    connection = memoryConnection();
    if (!connection.database) {
        failure = "out of memory";
        return OpenResult::Unusable;
    }
    const auto copyFrom = [&connection, wait](const std::string& source, int flags) {
        sqlite3* rawSource = nullptr;
        sqlite3_open_v2(source.c_str(), &rawSource, flags, nullptr);
        const DatabaseHandle sourceDatabase(rawSource);
        setBusyWait(sourceDatabase.get(), wait);
        sqlite3_backup* backup
            = sqlite3_backup_init(connection.database.get(), "main", sourceDatabase.get(), "main");
        if (backup == nullptr) {
            return sqlite3_errcode(connection.database.get());
        }
        sqlite3_backup_step(backup, -1);
        return sqlite3_backup_finish(backup);
    };
    int copyCode = copyFrom(m_Path.string(), SQLITE_OPEN_READONLY);
    if (copyCode != SQLITE_OK) {
        std::string copyFailure = sqlite3_errstr(copyCode);
        const PrivateDatabaseCopy privateCopy(m_Path);
        if (!privateCopy.path().empty()) {
            copyCode = copyFrom(privateCopy.path().string(), SQLITE_OPEN_READWRITE);
            copyFailure = sqlite3_errstr(copyCode);
        } else {
            copyFailure = privateCopy.failure();
        }
        // The file alone misses what its write-ahead journal holds.
        if (copyCode != SQLITE_OK && !isDamage(copyCode)) {
            copyCode = copyFrom(immutableFileName(m_Path), SQLITE_OPEN_READONLY | SQLITE_OPEN_URI);
            if (copyCode == SQLITE_OK && hasJournaledCommits(m_Path)) {
                unreadJournal = "are in its write-ahead journal " + m_Path.string()
                    + "-wal and could not be read (" + copyFailure + ")";
            }
        }
        failure = "it cannot be read (" + copyFailure + ")";
    }
    if (copyCode != SQLITE_OK) {
        connection = {};
        return isDamage(copyCode) ? OpenResult::Damaged : OpenResult::Unusable;
    }
    if (const int code = checkAndPrepare(connection, failure); code != SQLITE_OK) {
        connection = {};
        return isDamage(code) ? OpenResult::Damaged : OpenResult::Unusable;
    }
    return OpenResult::ReadOnly;
}

int SqliteSettingsStore::checkAndPrepare(Connection& connection, std::string& failure)
{
    sqlite3* database = connection.database.get();
    std::string checkAnswer;
    const int checkCode = runForText(database, "PRAGMA quick_check", &checkAnswer);
    if (checkCode == SQLITE_OK && checkAnswer != "ok") {
        failure = "it fails the integrity check";
        return SQLITE_CORRUPT;
    }
    if (checkCode != SQLITE_OK) {
        failure = errorText(database, checkCode);
        return checkCode;
    }
    return prepareDatabase(connection, failure);
}

int SqliteSettingsStore::prepareDatabase(Connection& connection, std::string& failure)
{
    sqlite3* database = connection.database.get();
    for (const char* setup : { "PRAGMA journal_mode=WAL", "PRAGMA synchronous=NORMAL", kCreateTable }) {
        if (const int code = runForText(database, setup); code != SQLITE_OK) {
            failure = errorText(database, code);
            return code;
        }
    }
    const auto prepare = [database](const char* sql) {
        sqlite3_stmt* rawStatement = nullptr;
        sqlite3_prepare_v3(database, sql, -1, SQLITE_PREPARE_PERSISTENT, &rawStatement, nullptr);
        return StatementHandle(rawStatement);
    };
    connection.selectValue
        = prepare("SELECT value FROM settings WHERE application = ?1 AND section = ?2 AND key = ?3");
    connection.upsertValue
        = prepare("INSERT INTO settings (application, section, key, value) VALUES (?1, ?2, ?3, ?4)"
                  " ON CONFLICT (application, section, key) DO UPDATE SET value = excluded.value");
    connection.deleteKey
        = prepare("DELETE FROM settings WHERE application = ?1 AND section = ?2 AND key = ?3");
    connection.deleteSection = prepare("DELETE FROM settings WHERE application = ?1 AND section = ?2");
    connection.selectEntries = prepare("SELECT section, key, value FROM settings WHERE application = ?1");
    if (!connection.selectValue || !connection.upsertValue || !connection.deleteKey
        || !connection.deleteSection || !connection.selectEntries) {
        failure = sqlite3_errmsg(database);
        const int code = sqlite3_errcode(database);
        return code == SQLITE_OK ? SQLITE_ERROR : code;
    }
    return SQLITE_OK;
}

// Out of memory, it has no statements: every operation answers with its default.
SqliteSettingsStore::Connection SqliteSettingsStore::memoryConnection()
{
    sqlite3* rawDatabase = nullptr;
    const int openCode = sqlite3_open_v2(
        ":memory:", &rawDatabase, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX, nullptr);
    Connection connection;
    connection.database.reset(rawDatabase);
    std::string ignoredFailure;
    if (openCode != SQLITE_OK || prepareDatabase(connection, ignoredFailure) != SQLITE_OK) {
        return {};
    }
    return connection;
}

void SqliteSettingsStore::adopt(Connection connection, Mode mode)
{
    m_Connection = std::move(connection);
    m_Mode = mode;
    m_FileIdentity = mode == Mode::File ? identityOf(m_Path) : std::nullopt;
    m_JournalIdentity = mode == Mode::File ? identityOf(m_Path.string() + "-wal") : std::nullopt;
}

bool SqliteSettingsStore::openPostponed(std::chrono::milliseconds wait)
{
    Connection connection;
    std::string failure;
    std::string damage;
    const OpenResult result = openChecked(connection, failure, damage, wait);
    if (result == OpenResult::Opened) {
        adopt(std::move(connection), Mode::File);
        report(damage.empty() ? std::string() : damage + " and a fresh one was started");
        return true;
    }
    m_WriteFailure = failure;
    return false;
}

void SqliteSettingsStore::watchFile()
{
    if (m_Mode != Mode::File || !m_FileIdentity) {
        return;
    }
    const std::optional<FileIdentity> file = identityOf(m_Path);
    const std::optional<FileIdentity> journal = identityOf(m_Path.string() + "-wal");
    const bool sameFile = file && file->isSameFile(*m_FileIdentity);
    const bool sameJournal = !m_JournalIdentity || (journal && journal->isSameFile(*m_JournalIdentity));
    if (sameFile && sameJournal && file->size >= m_FileIdentity->size) {
        m_FileIdentity->size = file->size;
        return;
    }
    const std::string what = !file ? "removed"
        : !sameFile                ? "replaced by another file"
        : !sameJournal             ? "left without its write-ahead journal"
                                   : "truncated from " + std::to_string(m_FileIdentity->size) + " to "
            + std::to_string(file->size) + " bytes";
    closeLeavingJournals(m_Connection.database.get());
    m_Connection = {};
    // The journals the old file left at its name would be read as the new file's.
    if (!sameFile && m_JournalIdentity && sameJournal) {
        std::error_code ignored;
        std::filesystem::remove(m_Path.string() + "-wal", ignored);
        std::filesystem::remove(m_Path.string() + "-shm", ignored);
    }
    PendingSettingsChanges again;
    for (const auto* changes : { &m_Written, &m_Pending }) {
        for (const SettingsChange& change : changes->changes()) {
            again.add(change);
        }
    }
    const std::size_t rewritten = m_Written.changes().size();
    m_Pending = std::move(again);
    std::string problem = "the settings database " + m_Path.string() + " was " + what
        + " while the program ran; it was opened again";
    if (m_WrittenOverflowed) {
        problem += ", and the changes this program had written to it before are lost";
        m_ChangesLost = true;
    }
    const std::string reopening = openStore(m_Waits.operation);
    if (!reopening.empty()) {
        problem += " (" + reopening + ")";
    }
    if (m_Mode == Mode::ReadOnly || m_Mode == Mode::MemoryOnly) {
        report(problem);
        losePending("it cannot be written again");
        return;
    }
    if (rewritten > 0 && !m_WrittenOverflowed) {
        const std::string changes
            = rewritten == 1 ? "the change" : "the " + std::to_string(rewritten) + " changes";
        problem += m_Mode == Mode::File && writePending(m_Waits.operation)
            ? " and " + changes + " this program had made to it were written to it again"
            : ", and " + changes + " this program had made to it are kept and written to it once it can be";
    }
    report(problem);
}

std::u16string SqliteSettingsStore::GetSetting(const std::u16string& application,
    const std::u16string& section, const std::u16string& key, const std::u16string& defaultValue)
{
    if (const auto pending = m_Pending.valueOf(application, section, key)) {
        return pending->value_or(defaultValue);
    }
    if (!m_Connection.selectValue) {
        return defaultValue;
    }
    StatementUse use(m_Connection.selectValue.get());
    if (!use.bindTexts({ application, section, key })
        || sqlite3_step(m_Connection.selectValue.get()) != SQLITE_ROW) {
        return defaultValue;
    }
    return columnText(m_Connection.selectValue.get(), 0);
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
    if (!m_Connection.upsertValue) {
        return false;
    }
    if (m_Mode == Mode::ReadOnly || m_Mode == Mode::MemoryOnly) {
        int changedRows = 0;
        return run(change, changedRows) == SQLITE_DONE
            && (change.kind == SettingsChange::Kind::Save || changedRows > 0);
    }
    watchFile();
    // Changes kept earlier go first, so the file sees every change in order.
    if (retryPending()) {
        int changedRows = 0;
        const int code = run(change, changedRows);
        if (code == SQLITE_DONE) {
            remember(change);
            return change.kind == SettingsChange::Kind::Save || changedRows > 0;
        }
        m_WriteFailure = errorText(m_Connection.database.get(), code);
        m_NextRetry = std::chrono::steady_clock::now() + m_Waits.retryPause;
        if (!m_DelayReported) {
            m_DelayReported = true;
            report("writing to the settings database " + m_Path.string() + " failed (" + m_WriteFailure
                + "); changes are kept in memory and written with a later change (tried again at most once a"
                  " second) or at shut-down");
        }
    }
    const bool effective = change.kind == SettingsChange::Kind::Save || holds(change);
    m_Pending.add(change);
    return effective;
}

void SqliteSettingsStore::remember(const SettingsChange& change)
{
    // One change kept per key; a run that changes more gives up the copies it keeps.
    constexpr std::size_t KeptChanges = 1000;
    if (m_WrittenOverflowed) {
        return;
    }
    m_Written.add(change);
    if (m_Written.changes().size() > KeptChanges) {
        m_Written.clear();
        m_WrittenOverflowed = true;
    }
}

int SqliteSettingsStore::run(const SettingsChange& change, int& changedRows)
{
    sqlite3_stmt* statement = change.kind == SettingsChange::Kind::Save ? m_Connection.upsertValue.get()
        : change.kind == SettingsChange::Kind::DeleteKey                ? m_Connection.deleteKey.get()
                                                                        : m_Connection.deleteSection.get();
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
    changedRows = sqlite3_changes(m_Connection.database.get());
    return code;
}

// Whether the deletion finds something to delete, as far as this store can see.
bool SqliteSettingsStore::holds(const SettingsChange& deletion)
{
    if (deletion.kind == SettingsChange::Kind::DeleteKey) {
        if (const auto pending = m_Pending.valueOf(deletion.application, deletion.section, deletion.key)) {
            return pending->has_value();
        }
        StatementUse use(m_Connection.selectValue.get());
        return use.bindTexts({ deletion.application, deletion.section, deletion.key })
            && sqlite3_step(m_Connection.selectValue.get()) == SQLITE_ROW;
    }
    return std::ranges::any_of(entries(deletion.application),
        [&deletion](const SettingsEntryView entry) { return entry.section == deletion.section; });
}

bool SqliteSettingsStore::retryPending()
{
    if (m_Pending.empty() && m_Mode != Mode::Postponed) {
        return true;
    }
    const auto now = std::chrono::steady_clock::now();
    if (now < m_NextRetry) {
        return false;
    }
    if ((m_Mode != Mode::Postponed || openPostponed(m_Waits.operation)) && writePending(m_Waits.operation)) {
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
    sqlite3* database = m_Connection.database.get();
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
    for (const SettingsChange& change : m_Pending.changes()) {
        remember(change);
    }
    m_Pending.clear();
    return true;
}

// Read anew at every call: a listing kept for the next build would hold the stored entries of a
// large plant (some 12 MB for its open branches) for the whole run, to save a build a twentieth of
// its time.
SettingsEntries SqliteSettingsStore::entries(const std::u16string& application)
{
    watchFile();
    if (!retryPending()) {
        return SettingsEntries(m_Pending.appliedTo(readEntries(application).copies(), application));
    }
    return readEntries(application);
}

SettingsEntries SqliteSettingsStore::readEntries(const std::u16string& application)
{
    SettingsEntries::Builder listing;
    if (!m_Connection.selectEntries) {
        return listing.finish();
    }
    StatementUse use(m_Connection.selectEntries.get());
    if (!use.bindTexts({ application })) {
        return listing.finish();
    }
    std::u16string section;
    std::u16string key;
    std::u16string value;
    while (sqlite3_step(m_Connection.selectEntries.get()) == SQLITE_ROW) {
        listing.add(columnText(m_Connection.selectEntries.get(), 0, section),
            columnText(m_Connection.selectEntries.get(), 1, key),
            columnText(m_Connection.selectEntries.get(), 2, value));
    }
    // SQLite orders UTF-8 bytes, which differs from UTF-16 code unit order above U+FFFF only; the
    // listing sorts what comes out of order.
    return listing.finish();
}

} // namespace vestrak
