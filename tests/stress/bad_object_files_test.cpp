// Object files no one should write, too large for the fuzz targets (which feed both controls
// arbitrary bytes), through both controls and the vestrak-tree report: each control shows what the
// report shows, down to the good line at the end, and nothing crashes or hangs. The report's exact
// text on such files is vestrak_tree_report_test's.
#include "cistatus/cistatus.h"
#include "citree/citree.h"
#include "headless/headless_surface.h"
#include "support/test_platform.h"
#include "text/encoding.h"
#include "tree_report.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <random>

namespace vestrak::testing {
namespace {

// How many nodes a control's tree shows, and the text of the last.
std::pair<std::int32_t, std::string> Shown(HeadlessSurface& surface, const std::u16string& treeName)
{
    const auto& tree = dynamic_cast<Tree&>(*surface.widget(treeName));
    return { tree.count(), tree.count() > 0 ? ToUtf8(tree.node(tree.count())->text()) : "" };
}

TEST(BadObjectFile, BothControlsShowWhatTheReportShows)
{
    std::independent_bits_engine<std::mt19937, 8, unsigned> random(20240607);
    std::string garbage(100'000, '\0');
    std::ranges::generate(garbage, [&random] { return static_cast<char>(random()); });
    // What a crash or power cut leaves: 4 MB of NUL in a line, and a block of NUL holding line ends.
    const std::string nulRuns = "[TreeObjects]\r\nA=1,Area\r\nP1=4,Pu" + std::string(4 << 20, '\0')
        + "mp\r\nP2=5,Valve\r\n" + std::string(1000, '\0') + std::string("\r\n\0\0\n\0\nP3=4,Pump 3\r\n", 20);
    for (const std::string& bytes :
        { garbage + "\r\n[TreeObjects]\r\n", "[TreeObjects]\r\n" + garbage + "\r\n",
            "[TreeObjects]\r\n" + std::string(2'000'000, '\n'), nulRuns }) {
        SCOPED_TRACE(bytes.substr(0, 20));
        ScratchFiles files;
        TestPlatform services { files };
        const std::u16string file
            = files.write("objects.ini", bytes + "P=1,Plant\r\n" + std::string(1'000'000, '\r'));
        TreeReportOptions options;
        options.file = file;
        const TreeReport report = MakeTreeReport(options, files);
        // One node a line, then the warnings, where the NUL bytes are named once.
        const std::string nodes
            = report.text.substr(0, std::min(report.text.find("\nwarning: "), report.text.size() - 1) + 1);
        EXPECT_TRUE(nodes.ends_with("  Plant  (image 1)\n")) << report.text.substr(0, 300);
        EXPECT_EQ(report.text.find("hold NUL bytes"), report.text.rfind("hold NUL bytes"));
        const auto shown
            = std::pair(static_cast<std::int32_t>(std::ranges::count(nodes, '\n')), std::string("Plant"));
        HeadlessSurface treeSurface(services.platform.files, 3000, 4500);
        CiTree tree(treeSurface, services.platform);
        tree.setObjectFile(file);
        tree.setStyle(StyleObjectTree | StyleShowObjects);
        HeadlessSurface statusSurface(services.platform.files, 4800, 3600);
        CiStatus status(statusSurface, services.platform);
        status.setObjectFile(file);
        services.clock.advance(2000);
        EXPECT_EQ(Shown(treeSurface, u"TreeView_Objects"), shown);
        EXPECT_EQ(Shown(statusSurface, u"TreeView_Status"), shown);
    }
}

} // namespace
} // namespace vestrak::testing
