#pragma once

#include "../ports/clock.h"
#include "../ports/file_system.h"
#include "../ports/profile.h"
#include "../ports/settings_store.h"
#include "../ports/special_folders.h"
#include "../ports/timer.h"

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
