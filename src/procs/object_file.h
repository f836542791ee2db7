#pragma once

#include "ports/file_system.h"
#include "ports/profile.h"

#include <string>

namespace vestrak {

// The data lines of the first section of that name (compared upper-cased), each followed by NUL:
// trimmed of spaces, comments (";") and empty lines left out, double spaces halved. A missing or
// unreadable file, or a missing section, gives the empty text.
std::u16string ReadIniSection(
    const std::u16string& section, const std::u16string& fileName, FileSystem& files);

// One key's value (at most 2047 characters) through the profile lookup, or the default.
std::u16string ReadIniValue(const std::u16string& section, const std::u16string& key,
    const std::u16string& defaultValue, const std::u16string& fileName, Profile& profile);

} // namespace vestrak
