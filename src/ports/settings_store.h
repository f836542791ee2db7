#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace vestrak {

/// One stored value, as listed by SettingsStore::entries.
struct SettingsEntry {
    std::u16string section; ///< The section name.
    std::u16string key; ///< The key name.
    std::u16string value; ///< The stored value.

    /// Equal in section, key and value.
    bool operator==(const SettingsEntry&) const = default;
};

/// The entries of one application as listed once: shared and never changed, so that a store may
/// keep the list it gave out, and a listing costs one copy of the entries however many hold it.
class SettingsEntries {
public:
    /// No entries.
    SettingsEntries() = default;
    /// These entries, in this order.
    explicit SettingsEntries(std::vector<SettingsEntry> entries)
        : m_Entries(std::make_shared<const std::vector<SettingsEntry>>(std::move(entries)))
    {
    }

    /// The entries in order; they never change.
    [[nodiscard]] std::vector<SettingsEntry>::const_iterator begin() const { return list().begin(); }
    /// After the last entry.
    [[nodiscard]] std::vector<SettingsEntry>::const_iterator end() const { return list().end(); }
    /// How many entries there are.
    [[nodiscard]] std::size_t size() const { return list().size(); }
    /// True when there is no entry.
    [[nodiscard]] bool empty() const { return list().empty(); }
    /// The last entry; there must be one.
    [[nodiscard]] const SettingsEntry& back() const { return list().back(); }
    /// Equal in every entry, in order.
    bool operator==(const std::vector<SettingsEntry>& other) const { return list() == other; }

private:
    [[nodiscard]] const std::vector<SettingsEntry>& list() const
    {
        static const std::vector<SettingsEntry> none;
        return m_Entries ? *m_Entries : none;
    }

    std::shared_ptr<const std::vector<SettingsEntry>> m_Entries;
};

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
