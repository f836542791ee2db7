#include "linux_platform/sqlite_settings_store_p.h"

namespace vestrak {

std::filesystem::path SqliteSettingsStore::defaultPath()
{
    return SqliteSettingsStorePrivate::defaultPath();
}

void SqliteSettingsStore::reportToStandardErrorAndLog(const std::string& message)
{
    SqliteSettingsStorePrivate::reportToStandardErrorAndLog(message);
}

SqliteSettingsStore::SqliteSettingsStore(
    std::filesystem::path databasePath, ProblemReporter reportProblem, Waits waits)
    : d(std::make_unique<SqliteSettingsStorePrivate>(
        std::move(databasePath), std::move(reportProblem), waits))
{
}

SqliteSettingsStore::~SqliteSettingsStore() = default;

std::u16string SqliteSettingsStore::GetSetting(const std::u16string& application,
    const std::u16string& section, const std::u16string& key, const std::u16string& defaultValue)
{
    return d->GetSetting(application, section, key, defaultValue);
}

bool SqliteSettingsStore::SaveSetting(const std::u16string& application, const std::u16string& section,
    const std::u16string& key, const std::u16string& value)
{
    return d->SaveSetting(application, section, key, value);
}

bool SqliteSettingsStore::DeleteSetting(
    const std::u16string& application, const std::u16string& section, const std::u16string& key)
{
    return d->DeleteSetting(application, section, key);
}

bool SqliteSettingsStore::DeleteSetting(const std::u16string& application, const std::u16string& section)
{
    return d->DeleteSetting(application, section);
}

SettingsEntries SqliteSettingsStore::entries(const std::u16string& application)
{
    return d->entries(application);
}

bool SqliteSettingsStore::isPersistent() const
{
    return d->isPersistent();
}

std::size_t SqliteSettingsStore::pendingChanges() const
{
    return d->pendingChanges();
}

bool SqliteSettingsStore::flush()
{
    return d->flush();
}

} // namespace vestrak
