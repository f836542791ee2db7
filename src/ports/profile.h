#pragma once

#include <cstddef>
#include <string>

namespace vestrak {

/// Looks up values in profile files (initialisation files), the way the configuration values of
/// the SCADA system are found. Section and key names are matched without regard to case; a
/// missing file, section or key gives the default. A result never holds more than
/// bufferSize - 1 characters.
class Profile {
public:
    virtual ~Profile() = default;

    /// The user's own profile file.
    virtual std::u16string userProfileString(const std::u16string& section, const std::u16string& key,
        const std::u16string& defaultValue, std::size_t bufferSize)
        = 0;
    /// A named profile file; a relative name is resolved in the folder of the user's profile file.
    virtual std::u16string privateProfileString(const std::u16string& section, const std::u16string& key,
        const std::u16string& defaultValue, const std::u16string& fileName, std::size_t bufferSize)
        = 0;
};

} // namespace vestrak
