#include "page_host/page_profile.h"

#include "text/encoding.h"

#include <filesystem>

namespace vestrak {

PageProfile::PageProfile(Profile& profile, FileSystem& files)
    : m_Profile(profile)
    , m_Files(files)
{
}

std::u16string PageProfile::userProfileString(const std::u16string& section, const std::u16string& key,
    const std::u16string& defaultValue, std::size_t bufferSize)
{
    return m_Profile.userProfileString(section, key, defaultValue, bufferSize);
}

std::u16string PageProfile::privateProfileString(const std::u16string& section, const std::u16string& key,
    const std::u16string& defaultValue, const std::u16string& fileName, std::size_t bufferSize)
{
    const std::filesystem::path path(ToUtf8(fileName));
    if (path.is_relative() && m_Files.isOrdinaryFile(fileName)) {
        std::error_code error;
        const std::filesystem::path absolute = std::filesystem::absolute(path, error);
        if (!error)
            return m_Profile.privateProfileString(
                section, key, defaultValue, FromUtf8(absolute.string()), bufferSize);
    }
    return m_Profile.privateProfileString(section, key, defaultValue, fileName, bufferSize);
}

} // namespace vestrak
