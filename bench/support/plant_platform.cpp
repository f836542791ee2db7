#include "plant_platform.h"

#include "procs/encoding.h"

namespace vestrak::bench {

PlantPlatform::PlantPlatform()
    : m_Profile(m_Files, FromUtf8((m_Folder.path() / "win.ini").string()))
    , m_Settings(std::make_unique<SqliteSettingsStore>(m_Folder.path() / "settings.sqlite"))
{
}

Platform PlantPlatform::platform()
{
    return Platform { *m_Settings, m_Profile, m_SpecialFolders, m_Files, m_Clock, m_Clock };
}

std::u16string PlantPlatform::write(const std::string& name, const std::string& bytes) const
{
    return m_Folder.write(name, bytes);
}

} // namespace vestrak::bench
