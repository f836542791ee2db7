#include "qt/live_platform.h"

#include "linux_platform/sqlite_settings_store.h"
#include "qt_widgets/qt_timer.h"
#include "qt_widgets/reporting_file_system.h"

namespace vestrak {

LivePlatform::LivePlatform(std::unique_ptr<SettingsStore> settings)
    : m_Settings(settings ? std::move(settings) : std::make_unique<SqliteSettingsStore>())
    , m_ControlFiles(std::make_unique<ReportingFileSystem>(m_Files))
    , m_Timers(std::make_unique<QtTimerFactory>())
{
}

LivePlatform::~LivePlatform() = default;

Platform LivePlatform::platform()
{
    return Platform { *m_Settings, m_Profile, m_SpecialFolders, *m_ControlFiles, m_Clock, *m_Timers };
}

} // namespace vestrak
