#pragma once

#include "../containers/settings_entries.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vestrak {

/// Per-user string values addressed by application, section and key; names are compared exactly.
/// No operation throws: a store that cannot reach its data answers with the default and reports
/// false from the writing operations.
class SettingsStore {
public:
    virtual ~SettingsStore() = default;

    /// The stored value, or the default when the application, section or key is missing.
    virtual std::u16string GetSetting(const std::u16string& application, const std::u16string& section,
        const std::u16string& key, const std::u16string& defaultValue = {})
        = 0;
    /// Stores the value, replacing an earlier one; false when it could not be stored.
    virtual bool SaveSetting(const std::u16string& application, const std::u16string& section,
        const std::u16string& key, const std::u16string& value)
        = 0;
    /// False when the key (or the section) was not there, or could not be removed.
    virtual bool DeleteSetting(
        const std::u16string& application, const std::u16string& section, const std::u16string& key)
        = 0;
    /// Removes a whole section; false when it was not there or could not be removed.
    virtual bool DeleteSetting(const std::u16string& application, const std::u16string& section) = 0;

    /// Every entry of one application, sorted by section, then key, by their UTF-16 code units.
    virtual SettingsEntries entries(const std::u16string& application) = 0;
};

} // namespace vestrak
