#include "linux_platform/pending_settings_changes.h"

#include <algorithm>
#include <tuple>

namespace vestrak {

bool SettingsChange::covers(const std::u16string& otherApplication, const std::u16string& otherSection,
    const std::u16string& otherKey) const
{
    return application == otherApplication && section == otherSection
        && (kind == Kind::DeleteSection || key == otherKey);
}

void PendingSettingsChanges::add(SettingsChange change)
{
    std::erase_if(m_Changes, [&change](const SettingsChange& earlier) {
        return change.kind == SettingsChange::Kind::DeleteSection
            ? earlier.application == change.application && earlier.section == change.section
            : earlier.kind != SettingsChange::Kind::DeleteSection
                && change.covers(earlier.application, earlier.section, earlier.key);
    });
    m_Changes.push_back(std::move(change));
}

std::optional<std::optional<std::u16string>> PendingSettingsChanges::valueOf(
    const std::u16string& application, const std::u16string& section, const std::u16string& key) const
{
    const auto last = std::find_if(m_Changes.rbegin(), m_Changes.rend(),
        [&](const SettingsChange& change) { return change.covers(application, section, key); });
    if (last == m_Changes.rend()) {
        return std::nullopt;
    }
    if (last->kind == SettingsChange::Kind::Save) {
        return std::optional(last->value);
    }
    return std::optional<std::u16string>();
}

std::vector<SettingsEntry> PendingSettingsChanges::appliedTo(
    std::vector<SettingsEntry> entries, const std::u16string& application) const
{
    for (const SettingsChange& change : m_Changes) {
        if (change.application != application) {
            continue;
        }
        std::erase_if(entries, [&change](const SettingsEntry& entry) {
            return change.covers(change.application, entry.section, entry.key);
        });
        if (change.kind == SettingsChange::Kind::Save) {
            entries.push_back({ change.section, change.key, change.value });
        }
    }
    std::ranges::sort(entries, [](const SettingsEntry& left, const SettingsEntry& right) {
        return std::tie(left.section, left.key) < std::tie(right.section, right.key);
    });
    return entries;
}

void WrittenSettingsChanges::add(const SettingsChange& change)
{
    if (change.kind != SettingsChange::Kind::DeleteSection) {
        m_Keys.insert_or_assign(KeyName { change.application, change.section, change.key }, change);
        return;
    }
    auto key = m_Keys.lower_bound(KeyName { change.application, change.section, {} });
    while (key != m_Keys.end() && std::get<0>(key->first) == change.application
        && std::get<1>(key->first) == change.section) {
        key = m_Keys.erase(key);
    }
    m_DeletedSections.emplace(change.application, change.section);
}

void WrittenSettingsChanges::clear()
{
    m_Keys.clear();
    m_DeletedSections.clear();
}

// A section's deletion made before a change of one of its keys, since each deletion removed the
// changes of its keys made before it.
std::vector<SettingsChange> WrittenSettingsChanges::changes() const
{
    std::vector<SettingsChange> changes;
    changes.reserve(size());
    for (const auto& [application, section] : m_DeletedSections) {
        changes.push_back({ SettingsChange::Kind::DeleteSection, application, section, {}, {} });
    }
    for (const auto& [name, change] : m_Keys) {
        changes.push_back(change);
    }
    return changes;
}

} // namespace vestrak
