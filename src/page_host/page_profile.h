#pragma once

#include "ports/file_system.h"
#include "ports/profile.h"

namespace vestrak {

// Profile lookups as a page sees them. A page names its files relative to the container's
// current folder, also the object file whose filter groups a control looks up through the
// profile; such a file that exists in the current folder is read from there. Any other relative
// name keeps the profile's own rule (the folder of the user's profile), where the SCADA
// configuration files live.
class PageProfile : public Profile {
public:
    PageProfile(Profile& profile, FileSystem& files);

    std::u16string userProfileString(const std::u16string& section, const std::u16string& key,
        const std::u16string& defaultValue, std::size_t bufferSize) override;
    std::u16string privateProfileString(const std::u16string& section, const std::u16string& key,
        const std::u16string& defaultValue, const std::u16string& fileName, std::size_t bufferSize) override;

private:
    Profile& m_Profile;
    FileSystem& m_Files;
};

} // namespace vestrak
