#include "linux_platform/environment_special_folders.h"

#include "text/encoding.h"

#include <cstdlib>

namespace vestrak {

std::optional<std::u16string> EnvironmentSpecialFolders::folderPath(std::int32_t identifier)
{
    if (identifier != static_cast<std::int32_t>(SpecialFolderId::CommonApplicationData)) {
        return std::nullopt;
    }
    const char* configured = std::getenv("VESTRAK_COMMON_APPDATA");
    if (configured == nullptr || *configured == '\0') {
        return u"/var/tmp";
    }
    return FromUtf8(configured);
}

} // namespace vestrak
