#include "page_host/host_platform.h"

namespace vestrak {

HostPlatform::HostPlatform(std::unique_ptr<SettingsStore> settings, double clockStartSecondsSinceMidnight,
    std::chrono::sys_days clockStartDate)
    : m_Settings(std::move(settings))
    , m_Clock(clockStartSecondsSinceMidnight, clockStartDate)
{
}

Platform HostPlatform::platform()
{
    return Platform { *m_Settings, m_Profile, m_SpecialFolders, *m_ControlFiles, m_Clock, m_Clock };
}

} // namespace vestrak
