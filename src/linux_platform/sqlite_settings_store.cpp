#include "diagnostics/log.h"
#include "linux_platform/environment_special_folders.h"
#include "linux_platform/local_file_system.h"
#include "linux_platform/sqlite_calls.h"
#include "linux_platform/sqlite_settings_store_p.h"
#include "linux_platform/system_clock.h"
#include "linux_platform/user_config_folder.h"
#include "text/encoding.h"
#include "text/output_text.h"

#include <algorithm>
#include <chrono>
#include <initializer_list>
#include <iostream>
#include <optional>
#include <sqlite3.h>
#include <utility>

namespace vestrak {

namespace {

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

std::string describe(const SettingsChange& change)
{
    std::string text = ToUtf8(change.application) + "/" + ToUtf8(change.section);
    if (change.kind != SettingsChange::Kind::DeleteSection) {
        text += '/';
        text += ToUtf8(change.key);
    }
    return text + (change.kind == SettingsChange::Kind::Save ? " saved" : " deleted");
}

} // namespace

void SqliteSettingsStorePrivate::DatabaseCloser::operator()(sqlite3* database) const
{
    sqlite3_close_v2(database);
}

void SqliteSettingsStorePrivate::StatementFinalizer::operator()(sqlite3_stmt* statement) const
{
    sqlite3_finalize(statement);
}

std::filesystem::path SqliteSettingsStorePrivate::defaultPath()
{
    if (auto configured = environmentPath("VESTRAK_SETTINGS"); !configured.empty()) {
        return configured;
    }
    return userConfigFolder() / "settings.sqlite";
}

void SqliteSettingsStorePrivate::reportToStandardErrorAndLog(const std::string& message)
{
    std::cerr << "VestrakControls: " << PrintableText(message) << '\n';
    LocalFileSystem files;
    SystemClock clock;
    EnvironmentSpecialFolders folders;
    LogServices services { clock, files, folders };
    float timeReference = 0;
    WriteLog(DiagnosticLogFlag, timeReference, u"Settings store: " + FromUtf8(message), services);
}

SqliteSettingsStorePrivate::SqliteSettingsStorePrivate(
    std::filesystem::path databasePath, ProblemReporter reportProblem, Waits waits)
    : m_Path(std::move(databasePath))
    , m_ReportProblem(std::move(reportProblem))
    , m_Waits(waits)
{
    report(openStore(m_Waits.opening));
}

SqliteSettingsStorePrivate::~SqliteSettingsStorePrivate()
{
    flush();
}

bool SqliteSettingsStorePrivate::flush()
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

void SqliteSettingsStorePrivate::losePending(const std::string& reason)
{
    std::string lost;
    const bool keptInMemory = m_Mode == Mode::ReadOnly || m_Mode == Mode::MemoryOnly;
    for (const SettingsChange& change : m_Pending.changes()) {
        int ignoredRows = 0;
        if (keptInMemory) {
            run(change, ignoredRows);
        }
        if (!lost.empty()) {
            lost += ", ";
        }
        lost += describe(change);
    }
    const std::size_t count = m_Pending.changes().size();
    m_Pending.clear();
    m_ChangesLost = true;
    report(std::to_string(count) + " settings change" + (count == 1 ? "" : "s") + " could not be written to "
        + m_Path.string() + " (" + reason + (m_WriteFailure.empty() ? "" : ": " + m_WriteFailure)
        + ") and are lost: " + lost);
}

void SqliteSettingsStorePrivate::report(const std::string& problem)
{
    if (!problem.empty() && m_ReportProblem) {
        m_ReportProblem(problem);
    }
}

std::u16string SqliteSettingsStorePrivate::GetSetting(const std::u16string& application,
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

bool SqliteSettingsStorePrivate::SaveSetting(const std::u16string& application, const std::u16string& section,
    const std::u16string& key, const std::u16string& value)
{
    return change({ SettingsChange::Kind::Save, application, section, key, value });
}

bool SqliteSettingsStorePrivate::DeleteSetting(
    const std::u16string& application, const std::u16string& section, const std::u16string& key)
{
    return change({ SettingsChange::Kind::DeleteKey, application, section, key, {} });
}

bool SqliteSettingsStorePrivate::DeleteSetting(
    const std::u16string& application, const std::u16string& section)
{
    return change({ SettingsChange::Kind::DeleteSection, application, section, {}, {} });
}

bool SqliteSettingsStorePrivate::change(const SettingsChange& change)
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

void SqliteSettingsStorePrivate::remember(const SettingsChange& change)
{
    // One change kept per key; a run that changes more gives up the copies it keeps.
    constexpr std::size_t KeptChanges = 1000;
    if (m_WrittenOverflowed) {
        return;
    }
    m_Written.add(change);
    if (m_Written.size() > KeptChanges) {
        m_Written.clear();
        m_WrittenOverflowed = true;
    }
}

int SqliteSettingsStorePrivate::run(const SettingsChange& change, int& changedRows)
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
bool SqliteSettingsStorePrivate::holds(const SettingsChange& deletion)
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
        [&deletion](const SettingsEntryView& entry) { return entry.section == deletion.section; });
}

bool SqliteSettingsStorePrivate::retryPending()
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

bool SqliteSettingsStorePrivate::writePending(std::chrono::milliseconds wait)
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
SettingsEntries SqliteSettingsStorePrivate::entries(const std::u16string& application)
{
    watchFile();
    if (!retryPending()) {
        return SettingsEntries(m_Pending.appliedTo(readEntries(application).copies(), application));
    }
    return readEntries(application);
}

SettingsEntries SqliteSettingsStorePrivate::readEntries(const std::u16string& application)
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
