// Object files no one should write, through both controls and the vestrak-tree report: each shows
// the objects it can read, the report names what it could not, and nothing crashes or hangs. The
// fuzz targets feed the controls arbitrary bytes, but not files this large, nor the report.
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

TEST(BadObjectFile, BothControlsAndTheReportShowWhatCanBeRead)
{
    std::independent_bits_engine<std::mt19937, 8, unsigned> random(20240607);
    std::string garbage(100'000, '\0');
    std::ranges::generate(garbage, [&random] { return static_cast<char>(random()); });
    const std::string plant = "P=1,Plant\r\n";
    const struct {
        const char* name;
        std::string bytes;
        const char* lastNode;
        // The report, but for garbage inside the section.
        std::string report;
    } cases[] = {
        { "garbage before the section", garbage + "\r\n[TreeObjects]\r\n" + plant, "Plant",
            "P/0  Plant  (image 1)\n" },
        { "millions of line ends",
            "[TreeObjects]\r\n" + std::string(2'000'000, '\n') + plant + std::string(1'000'000, '\r'),
            "Plant", "P/0  Plant  (image 1)\n" },
        // What a crash or power cut leaves: 4 MB of NUL in a line, and a block of NUL holding line ends.
        { "runs of NUL",
            "[TreeObjects]\r\n" + plant + "P1=4,Pu" + std::string(4 << 20, '\0') + "mp\r\nP2=5,Valve\r\n"
                + std::string(1000, '\0') + std::string("\r\n\0\0\n\0\nP3=4,Pump 3\r\n", 20),
            "Pump 3",
            "P/0  Plant  (image 1)\n  P2/1  Valve  (image 5)\n  P3/2  Pump 3  (image 4)\n"
            "warning: line 3: 4 lines from here on hold NUL bytes, as a crash or power cut leaves a file: "
            "skipped\n" },
        // Every data line is an object, but for those holding NUL, skipped as damage once.
        { "garbage inside the section", "[TreeObjects]\r\n" + garbage + "\r\n" + plant, "Plant", "" },
    };
    for (const auto& bad : cases) {
        SCOPED_TRACE(bad.name);
        ScratchFiles files;
        TestPlatform services { files };
        const std::u16string file = files.write("objects.ini", bad.bytes);
        TreeReportOptions options;
        options.file = file;
        const TreeReport report = MakeTreeReport(options, files);
        const std::size_t warnings = report.text.find("\nwarning: ");
        const auto nodes = static_cast<std::int32_t>(std::count(report.text.begin(),
            warnings == std::string::npos ? report.text.end() : report.text.begin() + warnings + 1, '\n'));
        if (bad.report.empty()) {
            const std::size_t nul = report.text.find("hold NUL bytes");
            EXPECT_TRUE(nul != std::string::npos && nul == report.text.rfind("hold NUL bytes"));
            EXPECT_GT(std::ranges::count(report.text, '\n') - nodes, 100);
        } else {
            EXPECT_EQ(report.text, bad.report);
        }
        HeadlessSurface treeSurface(services.platform.files, 3000, 4500);
        CiTree tree(treeSurface, services.platform);
        tree.setObjectFile(file);
        tree.setStyle(StyleObjectTree | StyleShowObjects);
        HeadlessSurface statusSurface(services.platform.files, 4800, 3600);
        CiStatus status(statusSurface, services.platform);
        status.setObjectFile(file);
        services.clock.advance(2000);
        EXPECT_EQ(Shown(treeSurface, u"TreeView_Objects"), std::pair(nodes, std::string(bad.lastNode)));
        EXPECT_EQ(Shown(statusSurface, u"TreeView_Status"), std::pair(nodes, std::string(bad.lastNode)));
    }
}

} // namespace
} // namespace vestrak::testing
