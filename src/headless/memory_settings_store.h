#pragma once

#include "ports/settings_store.h"

#include <map>
#include <string>
#include <vector>

namespace vestrak {

// Settings kept in memory for the life of the object: the store of tests and of the headless
// container, where nothing may outlive the process. Names are compared exactly.
class MemorySettingsStore : public SettingsStore {
public:
    std::u16string GetSetting(const std::u16string& application, const std::u16string& section,
        const std::u16string& key, const std::u16string& defaultValue = {}) override;
    bool SaveSetting(const std::u16string& application, const std::u16string& section,
        const std::u16string& key, const std::u16string& value) override;
    bool DeleteSetting(
        const std::u16string& application, const std::u16string& section, const std::u16string& key) override;
    bool DeleteSetting(const std::u16string& application, const std::u16string& section) override;
    SettingsEntries entries(const std::u16string& application) override;

private:
    // std::u16string orders by UTF-16 code units, which is the order entries() promises.
    using Section = std::map<std::u16string, std::u16string>;
    using Application = std::map<std::u16string, Section>;

    std::map<std::u16string, Application> m_Applications;
};

} // namespace vestrak
