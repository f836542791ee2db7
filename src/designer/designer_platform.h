#pragma once

#include "limited_file_system.h"
#include "linux_platform/ini_profile.h"
#include "linux_platform/local_file_system.h"
#include "ports/platform.h"
#include "qt/live_platform.h"

namespace vestrak {

// The platform of the controls on a form in Qt Designer: the live one, but with settings kept in
// memory (a form being drawn must not change the user's stored tree state) and no file read
// above a size a form can show (an object file of gigabytes would stall or end Designer).
class DesignerPlatform {
public:
    static constexpr std::uint64_t LargestFileBytes = std::uint64_t { 16 } * 1024 * 1024;

    DesignerPlatform();

    [[nodiscard]] Platform platform();

private:
    LivePlatform m_Live;
    LocalFileSystem m_LocalFiles;
    LimitedFileSystem m_Files { m_LocalFiles, LargestFileBytes };
    IniProfile m_Profile { m_Files };
};

// The one Designer platform of the process, made on first use.
Platform designerPlatform();

} // namespace vestrak
