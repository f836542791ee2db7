#include "linux/pending_settings_changes.h"

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

} // namespace vestrak
