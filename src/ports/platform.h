#pragma once

#include "../ports/clock.h"
#include "../ports/file_system.h"
#include "../ports/profile.h"
#include "../ports/settings_store.h"
#include "../ports/special_folders.h"
#include "../ports/timer.h"

namespace vestrak {

/// Everything a control needs of its platform besides its widgets. The container owns the
/// services and hands them to each control by reference; they outlive the control.
struct Platform {
    SettingsStore& settings; ///< The per-user settings store.
    Profile& profile; ///< Profile lookups: configuration values and filter-group entries.
    SpecialFolders& specialFolders; ///< Where the diagnostic log goes.
    FileSystem& files; ///< Object files, pictures and the log.
    Clock& clock; ///< The time of day for the diagnostic log.
    TimerFactory& timers; ///< The controls' timers.
};

} // namespace vestrak
