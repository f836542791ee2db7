#pragma once

#include "headless/headless_surface.h"
#include "headless/memory_settings_store.h"
#include "headless/virtual_clock.h"
#include "linux_platform/environment_special_folders.h"
#include "linux_platform/ini_profile.h"
#include "ports/platform.h"

namespace vestrak {

// What a report builds its control on: the in-memory widget set with room for a few hundred rows,
// so nothing depends on scrolling; a fresh in-memory settings store; the profile without the
// user's configuration lookups, which must not change what the tool reads; and virtual time.
class ReportPlatform {
public:
    explicit ReportPlatform(FileSystem& files);

    [[nodiscard]] const Platform& platform() const { return m_Platform; }
    [[nodiscard]] HeadlessSurface& surface() { return m_Surface; }
    [[nodiscard]] SettingsStore& settings() { return m_Store; }
    [[nodiscard]] Profile& profile() { return m_Profile; }

private:
    MemorySettingsStore m_Store;
    IniProfile m_Profile;
    EnvironmentSpecialFolders m_SpecialFolders;
    VirtualClock m_Clock;
    Platform m_Platform;
    HeadlessSurface m_Surface;
};

} // namespace vestrak
