#pragma once

#include "../export.h"
#include "../linux_platform/environment_special_folders.h"
#include "../linux_platform/ini_profile.h"
#include "../linux_platform/local_file_system.h"
#include "../linux_platform/system_clock.h"
#include "../ports/platform.h"

#include <memory>

namespace vestrak {

/// The platform of a live Qt application: the user's settings store, profiles, special folders and
/// files of the machine, the real clock and timers on the Qt event loop.
class VESTRAK_QTWIDGETS_EXPORT LivePlatform {
public:
    /// Without a store, the user's own SQLite store.
    explicit LivePlatform(std::unique_ptr<SettingsStore> settings = nullptr);
    ~LivePlatform();
    LivePlatform(const LivePlatform&) = delete;
    LivePlatform& operator=(const LivePlatform&) = delete;

    /// The services as a control takes them; valid while this object lives.
    [[nodiscard]] Platform platform();

private:
    std::unique_ptr<SettingsStore> m_Settings;
    LocalFileSystem m_Files;
    // The controls' own reads, object files and pictures: those that fail are reported.
    std::unique_ptr<FileSystem> m_ControlFiles;
    IniProfile m_Profile { m_Files };
    EnvironmentSpecialFolders m_SpecialFolders;
    SystemClock m_Clock;
    std::unique_ptr<TimerFactory> m_Timers;
};

} // namespace vestrak
