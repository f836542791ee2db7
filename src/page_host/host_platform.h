#pragma once

#include "headless/virtual_clock.h"
#include "linux_platform/environment_special_folders.h"
#include "linux_platform/ini_profile.h"
#include "linux_platform/local_file_system.h"
#include "page_host/page_profile.h"
#include "ports/platform.h"
#include "ports/settings_store.h"

#include <memory>

namespace vestrak {

// The services a container hands to its controls: the machine's files, profiles and special
// folders, the settings store it was given, and virtual time, so that a page runs the same on
// every machine and at every speed (or, started at the real date and time and kept in step with
// the real clock, runs live).
class HostPlatform {
public:
    HostPlatform(std::unique_ptr<SettingsStore> settings, double clockStartSecondsSinceMidnight,
        std::chrono::sys_days clockStartDate = VirtualClock::DefaultStartDate);

    [[nodiscard]] Platform platform();
    [[nodiscard]] VirtualClock& clock() { return m_Clock; }
    [[nodiscard]] SettingsStore& settings() { return *m_Settings; }
    [[nodiscard]] FileSystem& files() { return m_Files; }
    // The files the controls read through from now on, in place of the machine's own (such as a
    // wrapper that reports the files that cannot be read).
    void setControlFiles(FileSystem& files) { m_ControlFiles = &files; }

private:
    std::unique_ptr<SettingsStore> m_Settings;
    LocalFileSystem m_Files;
    FileSystem* m_ControlFiles = &m_Files;
    IniProfile m_IniProfile { m_Files };
    PageProfile m_Profile { m_IniProfile, m_Files };
    EnvironmentSpecialFolders m_SpecialFolders;
    VirtualClock m_Clock;
};

} // namespace vestrak
