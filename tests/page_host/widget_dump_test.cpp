// The transcript tests show every widget's dump; what no page can show is a position between twips.
#include "headless/headless_surface.h"
#include "linux_platform/local_file_system.h"
#include "page_host/widget_dump.h"

#include <gtest/gtest.h>

namespace vestrak {
namespace {

TEST(WidgetDump, PositionsAreRoundedToWholeTwipsHalvesToEven)
{
    LocalFileSystem files;
    HeadlessSurface surface { files, 4800, 3600, 30 };
    CommandButton& button = surface.addCommandButton(
        u"Command_Home", Geometry { 2.5, 3.5, 374.5, 345 }, ButtonPicture::House, true);
    EXPECT_EQ(DumpWidget(u"t", button),
        (std::vector<std::string> { "t.Command_Home visible=-1 left=2 top=4 width=374 height=345" }));
}

} // namespace
} // namespace vestrak
