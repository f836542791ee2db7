#include "plant_platform.h"

#include <thread>

namespace vestrak::bench {

PlantPlatform::PlantPlatform()
    : m_Settings(std::make_unique<SqliteSettingsStore>(m_Files.folder() / "settings.sqlite"))
    , m_Test(m_Files, *m_Settings)
{
}

std::u16string PlantPlatform::write(const std::string& name, const std::string& bytes) const
{
    std::u16string path = m_Files.write(name, bytes);
    std::this_thread::sleep_for(LocalFileSystem::DefaultSettleTime + std::chrono::milliseconds(100));
    return path;
}

} // namespace vestrak::bench
