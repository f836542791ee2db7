#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace vestrak {

/// Identifiers of the special folders the controls ask for.
enum class SpecialFolderId : std::int32_t {
    CommonApplicationData = 35,
};

/// Finds a special folder of the platform by its numeric identifier.
class SpecialFolders {
public:
    virtual ~SpecialFolders() = default;

    /// The folder's current path, or nothing when the identifier is unknown or the lookup fails.
    virtual std::optional<std::u16string> folderPath(std::int32_t identifier) = 0;
};

} // namespace vestrak
