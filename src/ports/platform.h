#pragma once

#include "clock.h"
#include "file_system.h"
#include "profile.h"
#include "settings_store.h"
#include "special_folders.h"
#include "timer.h"

namespace vestrak {

// Everything a control needs of its platform besides its widgets. The container owns the
// services and hands them to each control by reference; they outlive the control.
struct Platform {
    SettingsStore& settings;
    Profile& profile;
    SpecialFolders& specialFolders;
    FileSystem& files;
    Clock& clock;
    TimerFactory& timers;
};

} // namespace vestrak
