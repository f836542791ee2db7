#pragma once

#include "../export.h"
#include "../ports/special_folders.h"

namespace vestrak {

/// Special folders on Linux, where only the common application data folder is known: the value
/// of $VESTRAK_COMMON_APPDATA when set and not empty, otherwise /var/tmp, which every user may
/// write and which survives a restart. Every other identifier fails.
class VESTRAK_CONTROLS_EXPORT EnvironmentSpecialFolders : public SpecialFolders {
public:
    std::optional<std::u16string> folderPath(std::int32_t identifier) override;
};

} // namespace vestrak
