#pragma once

#include "linux_platform/sqlite_settings_store.h"
#include "plant_files.h"
#include "support/test_platform.h"

#include <memory>

namespace vestrak::bench {

// The platform of a control on a plant page as the page application gives it: real files whose
// settled stamps let the profile keep what it read, the SQLite settings store in a scratch folder,
// and virtual time so that a benchmark decides when timers run.
class PlantPlatform {
public:
    PlantPlatform();

    [[nodiscard]] Platform platform() { return m_Test.platform; }
    [[nodiscard]] SettingsStore& settings() { return *m_Settings; }
    [[nodiscard]] VirtualClock& clock() { return m_Test.clock; }
    [[nodiscard]] LocalFileSystem& files() { return m_Files; }
    // Writes a file into the scratch folder and gives its full path once the file has settled:
    // object files on a plant were written long before a page opens, and what the profile read
    // of a file is kept only once its stamp has settled.
    std::u16string write(const std::string& name, const std::string& bytes) const;

private:
    testing::ScratchFiles m_Files { testing::Stamps::Kept };
    std::unique_ptr<SqliteSettingsStore> m_Settings;
    testing::TestPlatform m_Test;
};

} // namespace vestrak::bench
