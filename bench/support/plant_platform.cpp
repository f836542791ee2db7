#include "plant_platform.h"

#include "text/encoding.h"

#include <thread>

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
    std::u16string path = m_Folder.write(name, bytes);
    std::this_thread::sleep_for(LocalFileSystem::DefaultSettleTime + std::chrono::milliseconds(100));
    return path;
}

} // namespace vestrak::bench
