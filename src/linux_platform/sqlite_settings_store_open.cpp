// Opening the settings database, moving a damaged one aside, reading one that cannot be written,
// and noticing one replaced under the running store.
#include "linux_platform/settings_file.h"
#include "linux_platform/sqlite_calls.h"
#include "linux_platform/sqlite_settings_store_p.h"
#include "linux_platform/user_config_folder.h"

#include <chrono>
#include <sqlite3.h>
#include <thread>
#include <unistd.h>
#include <utility>
#include <vector>

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

} // namespace

std::string SqliteSettingsStorePrivate::openStore(std::chrono::milliseconds wait)
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
SqliteSettingsStorePrivate::OpenResult SqliteSettingsStorePrivate::openChecked(
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
            failure.insert(0, "it is damaged (").append(") and another process holds it to move it aside");
            return OpenResult::Postponed;
        }
        if (const std::optional<FileIdentity> underLock = identityOf(m_Path);
            !underLock || !underLock->isSameFile(*checked)) {
            continue;
        }
        const std::string found = failure;
        const std::optional<std::filesystem::path> movedTo = moveDatabaseAside(m_Path, failure);
        if (!movedTo) {
            failure = std::string("it is damaged (").append(found).append(") and ").append(failure);
            return OpenResult::Unusable;
        }
        damage = "the settings database " + m_Path.string() + " was damaged (" + found
            + "); it was moved aside to " + movedTo->string();
        return openFile(connection, failure, wait);
    }
    failure = "it was found damaged, and it kept changing while it was checked";
    return OpenResult::Unusable;
}

SqliteSettingsStorePrivate::OpenResult SqliteSettingsStorePrivate::openFile(
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
SqliteSettingsStorePrivate::OpenResult SqliteSettingsStorePrivate::openCopy(
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

int SqliteSettingsStorePrivate::checkAndPrepare(Connection& connection, std::string& failure)
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

int SqliteSettingsStorePrivate::prepareDatabase(Connection& connection, std::string& failure)
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
SqliteSettingsStorePrivate::Connection SqliteSettingsStorePrivate::memoryConnection()
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

void SqliteSettingsStorePrivate::adopt(Connection connection, Mode mode)
{
    m_Connection = std::move(connection);
    m_Mode = mode;
    m_FileIdentity = mode == Mode::File ? identityOf(m_Path) : std::nullopt;
    m_JournalIdentity = mode == Mode::File ? identityOf(m_Path.string() + "-wal") : std::nullopt;
}

bool SqliteSettingsStorePrivate::openPostponed(std::chrono::milliseconds wait)
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

void SqliteSettingsStorePrivate::watchFile()
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
    for (const SettingsChange& change : m_Written.changes()) {
        again.add(change);
    }
    for (const SettingsChange& change : m_Pending.changes()) {
        again.add(change);
    }
    const std::size_t rewritten = m_Written.size();
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
        const bool one = rewritten == 1;
        problem += (one ? ", and the change" : ", and the " + std::to_string(rewritten) + " changes")
            + " this program had made to it " + (one ? "was" : "were")
            + (m_Mode == Mode::File && writePending(m_Waits.operation)
                    ? " written to it again"
                    : " kept, to be written to it once it can be");
    }
    // The file now in place has every change of this run that was not reported lost.
    if (m_WrittenOverflowed) {
        m_WrittenOverflowed = false;
        m_Written.clear();
    }
    report(problem);
}

} // namespace vestrak
