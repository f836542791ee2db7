// Object files no one should write, through both controls and the vestrak-tree report: each shows
// the objects it can read, the report names what it could not, and nothing crashes or hangs.
#include "cistatus/cistatus.h"
#include "citree/citree.h"
#include "headless/headless_surface.h"
#include "headless/memory_settings_store.h"
#include "object_file/object_file.h"
#include "support/test_platform.h"
#include "text/encoding.h"
#include "text/text.h"
#include "tree_report.h"

#include <fstream>
#include <gtest/gtest.h>
#include <random>

namespace vestrak::testing {
namespace {

struct Shown {
    std::int32_t treeNodes = 0;
    std::int32_t statusNodes = 0;
    std::u16string lastTreeText;
    std::u16string lastStatusText;
    TreeReport report;
};

class BadObjectFile : public ::testing::Test {
protected:
    Shown showFile(const std::string& bytes)
    {
        const std::filesystem::path path = files.folder() / "objects.ini";
        std::ofstream(path, std::ios::binary) << bytes;
        const std::u16string file = FromUtf8(path.string());
        Shown shown;
        {
            HeadlessSurface surface(services.platform.files, 3000, 4500);
            CiTree control(surface, services.platform);
            control.setObjectFile(file);
            control.setStyle(StyleObjectTree | StyleShowObjects);
            const auto& tree = dynamic_cast<Tree&>(*surface.widget(u"TreeView_Objects"));
            shown.treeNodes = tree.count();
            if (shown.treeNodes > 0) {
                shown.lastTreeText = tree.node(shown.treeNodes)->text();
            }
        }
        {
            HeadlessSurface surface(services.platform.files, 4800, 3600);
            CiStatus control(surface, services.platform);
            control.setObjectFile(file);
            services.clock.advance(2000);
            const auto& tree = dynamic_cast<Tree&>(*surface.widget(u"TreeView_Status"));
            shown.statusNodes = tree.count();
            if (shown.statusNodes > 0) {
                shown.lastStatusText = tree.node(shown.statusNodes)->text();
            }
        }
        TreeReportOptions options;
        options.file = file;
        shown.report = MakeTreeReport(options, files);
        return shown;
    }

    static std::string Garbage(std::size_t count)
    {
        std::independent_bits_engine<std::mt19937, 8, unsigned> random(20240607);
        std::string bytes(count, '\0');
        for (char& byte : bytes) {
            byte = static_cast<char>(random());
        }
        return bytes;
    }

    ScratchFiles files;
    TestPlatform services { files };
};

std::size_t CountOf(const std::string& text, const std::string& part)
{
    std::size_t count = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + part.size())) {
        ++count;
    }
    return count;
}

TEST_F(BadObjectFile, WhatLiesOutsideTheObjectLinesIsPassedOver)
{
    for (const std::string& bytes : { Garbage(100'000) + "\r\n[TreeObjects]\r\nP=1,Plant\r\n",
             "[TreeObjects]\r\n" + std::string(2'000'000, '\n') + "P=1,Plant\r\n"
                 + std::string(1'000'000, '\r') }) {
        const Shown shown = showFile(bytes);
        EXPECT_EQ(shown.treeNodes, 1);
        EXPECT_EQ(shown.statusNodes, 1);
        EXPECT_EQ(shown.report.text, "P/0  Plant  (image 1)\n");
    }
}

TEST_F(BadObjectFile, GarbageInsideTheSectionIsShownAsNodes)
{
    const std::string bytes = "[TreeObjects]\r\n" + Garbage(100'000) + "\r\nP=1,Plant\r\n";
    const Shown shown = showFile(bytes);
    // Every data line is an object to both controls, down to the good line at the end, but for
    // the lines holding NUL, skipped as damage.
    const auto lines = static_cast<std::int32_t>(
        SplitAtNul(ReadIniSection(u"TreeObjects", FromUtf8((files.folder() / "objects.ini").string()), files))
            .size());
    EXPECT_EQ(shown.treeNodes, lines - 1);
    EXPECT_EQ(shown.statusNodes, lines - 1);
    EXPECT_EQ(shown.lastTreeText, u"Plant");
    EXPECT_EQ(shown.lastStatusText, u"Plant");
    EXPECT_TRUE(shown.report.warned);
    EXPECT_GT(CountOf(shown.report.text, "warning: line "), 100U);
    EXPECT_EQ(CountOf(shown.report.text, "hold NUL bytes"), 1U);
}

// What a crash or power cut leaves: runs of NUL bytes, here 4 MB of them in the middle of a line
// and a block of them holding line ends. Their lines are skipped, and cost nothing.
TEST_F(BadObjectFile, RunsOfNulAreSkippedLinesNotNodes)
{
    const std::string bytes = "[TreeObjects]\r\nP=1,Plant\r\nP1=4,Pu" + std::string(4 << 20, '\0')
        + "mp\r\nP2=5,Valve\r\n" + std::string(1000, '\0') + std::string("\r\n\0\0\n\0\nP3=4,Pump 3\r\n", 20);
    const Shown shown = showFile(bytes);
    EXPECT_EQ(shown.treeNodes, 3);
    EXPECT_EQ(shown.statusNodes, 3);
    EXPECT_EQ(shown.lastTreeText, u"Pump 3");
    EXPECT_EQ(shown.report.text,
        "P/0  Plant  (image 1)\n"
        "  P2/1  Valve  (image 5)\n"
        "  P3/2  Pump 3  (image 4)\n"
        "warning: line 3: 4 lines from here on hold NUL bytes, as a crash or power cut leaves a file: "
        "skipped\n");
}

} // namespace
} // namespace vestrak::testing
