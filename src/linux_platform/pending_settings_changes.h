#pragma once

#include "../ports/settings_store.h"

#include <map>
#include <optional>
#include <set>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace vestrak {

// One change of a settings store: a value saved, a key deleted, or a whole section deleted.
struct SettingsChange {
    enum class Kind { Save, DeleteKey, DeleteSection };

    Kind kind = Kind::Save;
    std::u16string application;
    std::u16string section;
    std::u16string key;
    std::u16string value;

    [[nodiscard]] bool covers(const std::u16string& otherApplication, const std::u16string& otherSection,
        const std::u16string& otherKey) const;
};

// Changes a store could not write yet, in order. A change replaces the earlier ones it makes
// pointless (a key written again, a section deleted), so repeated writes of one key keep one.
class PendingSettingsChanges {
public:
    void add(SettingsChange change);
    void clear() { m_Changes.clear(); }
    [[nodiscard]] bool empty() const { return m_Changes.empty(); }
    [[nodiscard]] const std::vector<SettingsChange>& changes() const { return m_Changes; }

    // What the last pending change of that key says: the saved value, or nothing saved (deleted).
    // No answer when no pending change touches the key.
    [[nodiscard]] std::optional<std::optional<std::u16string>> valueOf(
        const std::u16string& application, const std::u16string& section, const std::u16string& key) const;
    // The stored entries of one application with the pending changes made to them, sorted.
    [[nodiscard]] std::vector<SettingsEntry> appliedTo(
        std::vector<SettingsEntry> entries, const std::u16string& application) const;

private:
    std::vector<SettingsChange> m_Changes;
};

// The changes a store wrote to its file, one per key and one per deleted section, to write them
// again should the file be replaced. A change costs the logarithm of the count, so a store may keep
// many without slowing its writes.
class WrittenSettingsChanges {
public:
    void add(const SettingsChange& change);
    void clear();
    [[nodiscard]] std::size_t size() const { return m_Keys.size() + m_DeletedSections.size(); }
    // The changes in an order that leaves the file as the changes in the order made would.
    [[nodiscard]] std::vector<SettingsChange> changes() const;

private:
    // Application, section and key.
    using KeyName = std::tuple<std::u16string, std::u16string, std::u16string>;

    std::map<KeyName, SettingsChange> m_Keys;
    std::set<std::pair<std::u16string, std::u16string>> m_DeletedSections;
};

} // namespace vestrak
