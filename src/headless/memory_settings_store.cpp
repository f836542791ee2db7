#include "headless/memory_settings_store.h"

#include <utility>

namespace vestrak {

std::u16string MemorySettingsStore::GetSetting(const std::u16string& application,
    const std::u16string& section, const std::u16string& key, const std::u16string& defaultValue)
{
    const auto foundApplication = m_Applications.find(application);
    if (foundApplication == m_Applications.end()) {
        return defaultValue;
    }
    const auto foundSection = foundApplication->second.find(section);
    if (foundSection == foundApplication->second.end()) {
        return defaultValue;
    }
    const auto foundKey = foundSection->second.find(key);
    return foundKey == foundSection->second.end() ? defaultValue : foundKey->second;
}

bool MemorySettingsStore::SaveSetting(const std::u16string& application, const std::u16string& section,
    const std::u16string& key, const std::u16string& value)
{
    m_Applications[application][section][key] = value;
    return true;
}

bool MemorySettingsStore::DeleteSetting(
    const std::u16string& application, const std::u16string& section, const std::u16string& key)
{
    const auto foundApplication = m_Applications.find(application);
    if (foundApplication == m_Applications.end()) {
        return false;
    }
    const auto foundSection = foundApplication->second.find(section);
    if (foundSection == foundApplication->second.end() || foundSection->second.erase(key) == 0) {
        return false;
    }
    // A section without keys does not exist, as in the database-backed store.
    if (foundSection->second.empty()) {
        foundApplication->second.erase(foundSection);
        if (foundApplication->second.empty()) {
            m_Applications.erase(foundApplication);
        }
    }
    return true;
}

bool MemorySettingsStore::DeleteSetting(const std::u16string& application, const std::u16string& section)
{
    const auto foundApplication = m_Applications.find(application);
    if (foundApplication == m_Applications.end() || foundApplication->second.erase(section) == 0) {
        return false;
    }
    if (foundApplication->second.empty()) {
        m_Applications.erase(foundApplication);
    }
    return true;
}

SettingsEntries MemorySettingsStore::entries(const std::u16string& application)
{
    SettingsEntries::Builder result;
    const auto foundApplication = m_Applications.find(application);
    if (foundApplication == m_Applications.end()) {
        return {};
    }
    for (const auto& [sectionName, section] : foundApplication->second) {
        for (const auto& [key, value] : section) {
            result.add(sectionName, key, value);
        }
    }
    return result.finish();
}

} // namespace vestrak
