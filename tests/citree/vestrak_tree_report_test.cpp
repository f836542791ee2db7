#include "linux/local_file_system.h"
#include "linux/temporary_folder.h"
#include "procs/encoding.h"
#include "procs/object_file.h"
#include "procs/text.h"
#include "tree_report.h"

#include <fstream>
#include <gtest/gtest.h>

namespace vestrak::testing {
namespace {

class TreeReportTest : public ::testing::Test {
protected:
    TreeReportOptions optionsFor(const std::string& content)
    {
        const auto path = folder.path() / "objects.ini";
        std::ofstream(path, std::ios::binary) << content;
        TreeReportOptions options;
        options.file = FromUtf8(path.string());
        return options;
    }

    TemporaryFolder folder;
    LocalFileSystem files;
};

TEST_F(TreeReportTest, WarnsWithFileLineNumbers)
{
    const TreeReport report = MakeTreeReport(optionsFor("; objects\n"
                                                        "[TreeObjects]\n"
                                                        "P=1,Plant\n"
                                                        "P1=1,Area\n"
                                                        "\n"
                                                        "Q=1,Other\n"
                                                        "P12=5,Late pump\n"
                                                        "P1=14,Again\n"
                                                        "no equals sign\n"),
        files);
    EXPECT_EQ(report.text,
        "P/0  Plant  (image 1)\n"
        "  P1/1  Area  (image 1)\n"
        "Q/2  Other  (image 1)\n"
        "P12/3  Late pump  (image 5)\n"
        "P1/4  Again  (image 0)\n"
        "NO EQUALS SIGN/5    (image 0)\n"
        "warning: line 7: \"P12\" becomes a top node although its code extends \"P1\" (line 4)\n"
        "warning: line 8: \"P1\" becomes a top node although its code extends \"P1\" (line 4)\n"
        "warning: line 8: duplicate code \"P1\" (first on line 4)\n"
        "warning: line 8: image \"14\" is not a number from 1 to 11\n"
        "warning: line 9: no \"=\" in \"no equals sign\"\n");
    EXPECT_TRUE(report.warned);
}

// The warning names what the file holds, not the image the control makes of it.
TEST_F(TreeReportTest, ImageWarningsNameTheWrittenField)
{
    const TreeReport report
        = MakeTreeReport(optionsFor("[TreeObjects]\nA=x,Pump\nB=4.5,Valve\nC=&HB,Tank\nD=Motor\n"), files);
    EXPECT_EQ(report.text,
        "A/0  Pump  (image 0)\n"
        "B/1  Valve  (image 4)\n"
        "C/2  Tank  (image 11)\n"
        "D/3  Motor  (image 0)\n"
        "warning: line 2: image \"x\" is not a number from 1 to 11\n"
        "warning: line 3: image \"4.5\" is not a number from 1 to 11\n"
        "warning: line 5: image \"Motor\" is not a number from 1 to 11\n");
}

TEST_F(TreeReportTest, FilterGroupsAgainstNamesAndImages)
{
    const TreeReport report = MakeTreeReport(optionsFor("[General]\n"
                                                        "AllowedFilterGroups=3,04,4,5,12\n"
                                                        "[FilterGroupNames]\n"
                                                        "4=Pumps\n"
                                                        "12=Spare\n"
                                                        "7=Tanks\n"
                                                        "[TreeObjects]\n"
                                                        "P=1,Plant\n"
                                                        "P1=4,Pump\n"
                                                        "P2=6,Tank\n"
                                                        "P3=6,Tank 2\n"),
        files);
    EXPECT_EQ(report.text,
        "P/0  Plant  (image 1)\n"
        "  P1/1  Pump  (image 4)\n"
        "  P2/2  Tank  (image 6)\n"
        "  P3/3  Tank 2  (image 6)\n"
        "warning: line 2: filter group \"3\" makes no button: groups are numbers from 4\n"
        "warning: line 2: filter group \"04\" makes a button that hides nothing: write it as 4\n"
        "warning: line 2: filter group \"5\" has no name in [FilterGroupNames]\n"
        "warning: line 2: filter group \"12\" has no image: images go from 1 to 11\n"
        "warning: line 2: filter group 5 has no line with image 5\n"
        "warning: line 2: filter group 12 has no line with image 12\n"
        "warning: line 6: [FilterGroupNames] names group \"7\", which AllowedFilterGroups does not list\n"
        "warning: line 10: image 6 has no filter group button: its lines stay when groups are filtered\n");
}

TEST_F(TreeReportTest, ListsWithRootFilterAndGroups)
{
    const std::string file = "[General]\nAllowedFilterGroups=4,5\n[FilterGroupNames]\n4=Pumps\n5=Valves\n"
                             "[TreeObjects]\nP=1,Plant\nP1=4,Pump 1\nP2=5,Valve 1\nP3=4,Pump 2\n";
    TreeReportOptions options = optionsFor(file);
    options.shape = ReportShape::List;
    options.root = std::u16string(u"P");
    EXPECT_EQ(MakeTreeReport(options, files).text,
        "Pump 1  (line index 1)\nValve 1  (line index 2)\nPump 2  (line index 3)\n");

    options = optionsFor(file);
    options.groups = { u"5" };
    EXPECT_EQ(MakeTreeReport(options, files).text, "P/0  Plant  (image 1)\n  P2/2  Valve 1  (image 5)\n");

    options = optionsFor(file);
    options.filterText = u"pump 2";
    EXPECT_EQ(MakeTreeReport(options, files).text, "P3/3  Pump 2  (image 4)\n");
}

TEST_F(TreeReportTest, MissingSectionAndMissingFile)
{
    TreeReportOptions options = optionsFor("[Other]\nA=1,A\n");
    options.section = u"Absent";
    EXPECT_EQ(MakeTreeReport(options, files).text,
        "warning: no section [Absent] in " + ToUtf8(options.file) + "\n");
    options.file += u".gone";
    const TreeReport report = MakeTreeReport(options, files);
    EXPECT_EQ(report.text, "warning: cannot read " + ToUtf8(options.file) + "\n");
    EXPECT_TRUE(report.warned);
}

TEST_F(TreeReportTest, SectionLinesAgreeWithTheSectionReader)
{
    const TreeReportOptions options
        = optionsFor("[a]\r\nx=1\r\n[TreeObjects]\r\n  y  =  2\r\n;c\r\n\tz\r[b]\nw=3");
    const auto numbered = ReadIniSectionLines(u"treeobjects", options.file, files);
    ASSERT_TRUE(numbered);
    ASSERT_EQ(numbered->lines.size(), 2u);
    EXPECT_EQ(numbered->fileLines, (std::vector<std::int32_t> { 4, 6 }));
    const auto pieces = SplitAtNul(ReadIniSection(u"TreeObjects", options.file, files));
    ASSERT_EQ(pieces.size(), 3u);
    EXPECT_EQ(pieces[0], numbered->lines[0]);
    EXPECT_EQ(pieces[1], numbered->lines[1]);
    EXPECT_FALSE(ReadIniSectionLines(u"missing", options.file, files));
}

// A garbage file's control characters would act on the terminal; a NUL inside a line ends a line
// there for the report as for the tree, so the warnings name the right file line.
TEST_F(TreeReportTest, ControlCharactersAreShownAndNulSplitLinesKeepTheirFileLine)
{
    const TreeReport report = MakeTreeReport(
        optionsFor(std::string("[TreeObjects]\nP=1,\x1B[2JPlant\x7F\nQ\0R=4,x\xC2\x9B\n", 39)), files);
    EXPECT_EQ(report.text,
        "P/0  \xE2\x90\x9B[2JPlant\xE2\x90\xA1  (image 1)\n"
        "Q/1    (image 0)\n"
        "R/2  x<U+009B>  (image 4)\n"
        "warning: line 3: no \"=\" in \"Q\"\n");
}

} // namespace
} // namespace vestrak::testing
