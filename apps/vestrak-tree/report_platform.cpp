#include "report_platform.h"

namespace vestrak {

namespace {

constexpr double SurfaceWidth = 4800;
constexpr double SurfaceHeight = 7200;
constexpr const char16_t* NoUserProfile = u"";

} // namespace

ReportPlatform::ReportPlatform(FileSystem& files)
    : m_Profile(files, NoUserProfile)
    , m_Platform { m_Store, m_Profile, m_SpecialFolders, files, m_Clock, m_Clock }
    , m_Surface(files, SurfaceWidth, SurfaceHeight)
{
}

} // namespace vestrak
