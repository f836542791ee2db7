#include "designer_platform.h"

#include "headless/memory_settings_store.h"

namespace vestrak {

DesignerPlatform::DesignerPlatform()
    : m_Live(std::make_unique<MemorySettingsStore>())
{
}

Platform DesignerPlatform::platform()
{
    const Platform live = m_Live.platform();
    // The services are references to objects this platform keeps, not to the local copy.
    // cppcheck-suppress returnDanglingLifetime
    return Platform { live.settings, m_Profile, live.specialFolders, m_Files, live.clock, live.timers };
}

Platform designerPlatform()
{
    static DesignerPlatform platform;
    return platform.platform();
}

} // namespace vestrak
