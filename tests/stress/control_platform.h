#pragma once

#include "headless/virtual_clock.h"
#include "linux_platform/environment_special_folders.h"
#include "linux_platform/ini_profile.h"
#include "linux_platform/local_file_system.h"
#include "ports/platform.h"

namespace vestrak::testing {

// The machine's files and profiles, virtual time, and the settings store the test chooses.
struct ControlPlatform {
    explicit ControlPlatform(SettingsStore& store)
        : platform { store, profile, specialFolders, files, clock, clock }
    {
    }

    LocalFileSystem files;
    IniProfile profile { files, u"/nonexistent/win.ini" };
    EnvironmentSpecialFolders specialFolders;
    VirtualClock clock;
    Platform platform;
};

} // namespace vestrak::testing
