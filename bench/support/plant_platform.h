#pragma once

#include "headless/virtual_clock.h"
#include "linux_platform/ini_profile.h"
#include "linux_platform/local_file_system.h"
#include "linux_platform/sqlite_settings_store.h"
#include "plant_files.h"
#include "ports/platform.h"

#include <memory>

namespace vestrak::bench {

// The platform of a control on a plant page as the page application gives it: real files and
// profile lookups, the SQLite settings store in a scratch folder, and virtual time so that a
// benchmark decides when timers run.
class PlantPlatform {
public:
    PlantPlatform();

    [[nodiscard]] Platform platform();
    [[nodiscard]] SettingsStore& settings() { return *m_Settings; }
    [[nodiscard]] VirtualClock& clock() { return m_Clock; }
    [[nodiscard]] LocalFileSystem& files() { return m_Files; }
    // Writes a file into the scratch folder and gives its full path once the file has settled:
    // object files on a plant were written long before a page opens, and what the profile read
    // of a file is kept only once its stamp has settled.
    std::u16string write(const std::string& name, const std::string& bytes) const;

private:
    class NoSpecialFolders final : public SpecialFolders {
    public:
        std::optional<std::u16string> folderPath(std::int32_t) override { return std::nullopt; }
    };

    ScratchFolder m_Folder;
    LocalFileSystem m_Files;
    IniProfile m_Profile;
    NoSpecialFolders m_SpecialFolders;
    VirtualClock m_Clock;
    std::unique_ptr<SqliteSettingsStore> m_Settings;
};

} // namespace vestrak::bench
