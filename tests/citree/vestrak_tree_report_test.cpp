#include "status_report.h"
#include "support/test_platform.h"
#include "text/encoding.h"
#include "tree_report.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

namespace vestrak::testing {
namespace {

class TreeReportTest : public ::testing::Test {
protected:
    TreeReportOptions optionsFor(const std::string& content)
    {
        TreeReportOptions options;
        options.file = files.write("objects.ini", content);
        return options;
    }

    std::pair<std::string, bool> statusReport(const std::string& content, const std::u16string& root = {})
    {
        std::ostringstream out;
        const bool warned = WriteStatusReport({ optionsFor(content).file, root }, files, out);
        return { std::move(out).str(), warned };
    }

    ScratchFiles files;
};

// The image warnings name the field as the file holds it, not the image the control makes of it.
TEST_F(TreeReportTest, WarnsWithFileLineNumbers)
{
    const TreeReport report
        = MakeTreeReport(optionsFor("; objects\n[TreeObjects]\nP=1,Plant\nP1=1,Area\n\nQ=1,Other\n"
                                    "P12=5,Late pump\nP1=14,Again\nno equals sign\nA=x,Pump\n"
                                    "B=4.5,Valve\nC=&HB,Tank\nD=Motor\n"),
            files);
    EXPECT_EQ(report.text,
        "P/0  Plant  (image 1)\n  P1/1  Area  (image 1)\nQ/2  Other  (image 1)\nP12/3  Late pump  (image 5)\n"
        "P1/4  Again  (image 0)\nNO EQUALS SIGN/5    (image 0)\nA/6  Pump  (image 0)\nB/7  Valve  (image 4)\n"
        "C/8  Tank  (image 11)\nD/9  Motor  (image 0)\n"
        "warning: line 7: \"P12\" becomes a top node although its code extends \"P1\" (line 4)\n"
        "warning: line 8: \"P1\" becomes a top node although its code extends \"P1\" (line 4)\n"
        "warning: line 8: duplicate code \"P1\" (first on line 4)\n"
        "warning: line 8: image \"14\" is not a number from 1 to 11\n"
        "warning: line 9: no \"=\" in \"no equals sign\"\n"
        "warning: line 10: image \"x\" is not a number from 1 to 11\n"
        "warning: line 11: image \"4.5\" is not a number from 1 to 11\n"
        "warning: line 13: image \"Motor\" is not a number from 1 to 11\n");
    EXPECT_TRUE(report.warned);
}

TEST_F(TreeReportTest, FilterGroupsAgainstNamesAndImages)
{
    const TreeReport report
        = MakeTreeReport(optionsFor("[General]\nAllowedFilterGroups=3,04,4,5,12\n"
                                    "[FilterGroupNames]\n4=Pumps\n12=Spare\n7=Tanks\n[TreeObjects]\n"
                                    "P=1,Plant\nP1=4,Pump\nP2=6,Tank\nP3=6,Tank 2\n"),
            files);
    EXPECT_EQ(report.text,
        "P/0  Plant  (image 1)\n  P1/1  Pump  (image 4)\n  P2/2  Tank  (image 6)\n  P3/3  Tank 2  (image 6)\n"
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
                             "[TreeObjects]\nP=1,Plant\nP1=4,Pump 1\nP2=5,Valve 1\nP3=4,Pump 2\n"
                             "P4=3,Pump hall\nP41=4,Pump 4\n";
    TreeReportOptions options = optionsFor(file);
    options.shape = ReportShape::List;
    options.root = std::u16string(u"P");
    EXPECT_EQ(MakeTreeReport(options, files).text,
        "Pump 1  (line index 1)\nValve 1  (line index 2)\nPump 2  (line index 3)\n"
        "Pump hall  (line index 4)\nPump 4  (line index 5)\n");

    // The structure node of image 3 left without children goes too.
    options = optionsFor(file);
    options.groups = { u"5" };
    EXPECT_EQ(MakeTreeReport(options, files).text, "P/0  Plant  (image 1)\n  P2/2  Valve 1  (image 5)\n");

    // The 32nd word counts, the 33rd not.
    options = optionsFor(file);
    std::u16string words;
    for (int word = 1; word < 32; ++word) {
        words += u"nothing,";
    }
    options.filterText = words + u"pump 2,valve";
    EXPECT_EQ(MakeTreeReport(options, files).text, "P3/3  Pump 2  (image 4)\n");
}

TEST_F(TreeReportTest, SaysWhyAFileGaveNoObjects)
{
    TreeReportOptions options = optionsFor("[Other]\nA=1,A\n");
    options.section = u"Absent";
    const std::string file = ToUtf8(options.file);
    EXPECT_EQ(MakeTreeReport(options, files).text, "warning: no section [Absent] in " + file + "\n");
    EXPECT_EQ(
        statusReport("[Other]\n"), std::pair("warning: no section [TreeObjects] in " + file + "\n", true));
    std::filesystem::remove(file);
    const TreeReport report = MakeTreeReport(options, files);
    EXPECT_EQ(std::pair(report.text, report.warned), std::pair("warning: cannot read " + file + "\n", true));
    std::ostringstream out;
    EXPECT_TRUE(WriteStatusReport({ options.file, {} }, files, out));
    EXPECT_EQ(out.str(), report.text);
}

// A garbage file's control characters would act on the terminal; lines holding NUL are skipped
// by the tree and the report alike, and named once, so the other warnings keep their file lines.
TEST_F(TreeReportTest, GarbageIsShownSafely)
{
    const std::string file("[TreeObjects]\nP=1,\x1B[2JPlant\x7F\nQ\0R=4\nR=4,x\xC2\x9B\n\0\0\nS\n", 48);
    const TreeReport report = MakeTreeReport(optionsFor(file), files);
    EXPECT_EQ(report.text,
        "P/0  \\x1B[2JPlant\\x7F  (image 1)\nR/1  x\\x9B  (image 4)\nS/2    (image 0)\n"
        "warning: line 3: 2 lines from here on hold NUL bytes, as a crash or power cut leaves a file: "
        "skipped\nwarning: line 6: no \"=\" in \"S\"\n");
    EXPECT_EQ(statusReport(std::string("[TreeObjects]\nA=1,T,x\n\0\n", 24)),
        std::pair(std::string("A/0  x  (image 1, status 1, tag \"T\", no information, no picture)\n"
                              "warning: line 3: the line holds NUL bytes, as a crash or power cut leaves a "
                              "file: skipped\n"),
            true));
}

// Below a depth the lines stop moving right and say their depth: a tree as deep as its file is
// long gives a report that grows with the file, not with the square of its depth.
TEST_F(TreeReportTest, DeepNodesSayTheirDepthInsteadOfIndenting)
{
    std::string file = "[TreeObjects]\n";
    std::string code;
    for (int line = 0; line < 40; ++line) {
        code += 'A';
        file += code + "=1,T\n";
    }
    const TreeReport report = MakeTreeReport(optionsFor(file), files);
    EXPECT_NE(
        report.text.find("\n" + std::string(64, ' ') + "AAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAA/32  T  (image 1)\n"
            + std::string(64, ' ') + "(depth 33) AAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAA/33  T  (image 1)\n"),
        std::string::npos);
    EXPECT_TRUE(report.text.ends_with("(depth 39) " + code
        + "/39  T  (image 1)\n"
          "note: nodes deeper than 32 are indented as at depth 32 and begin with their depth\n"));
    EXPECT_FALSE(report.warned);
}

// The search for the branch a top node was meant for once tried every prefix of the node's code,
// so a code of a million characters took hours; it finishes at once and still finds the branch.
TEST_F(TreeReportTest, TopNodesWithAMillionCharacterCode)
{
    const std::string longCode(1'000'000, 'P');
    const TreeReport report = MakeTreeReport(optionsFor("[TreeObjects]\nQ=1,Other\n" + longCode
                                                 + "=5,Long\nR=1,Rest\n" + longCode + "X=4,Stray\n"),
        files);
    EXPECT_TRUE(report.text.starts_with("Q/0  Other  (image 1)\n" + longCode + "/1  Long  (image 5)\n"));
    EXPECT_TRUE(report.text.ends_with("warning: line 5: \"" + longCode
        + "X\" becomes a top node although its code extends \"" + longCode + "\" (line 3)\n"));
}

TEST_F(TreeReportTest, StatusReportDescribesEachObjectAndEverySurprise)
{
    std::filesystem::copy_file(
        std::filesystem::path(VESTRAK_EXAMPLES) / "WW111.bmp", files.folder() / "A1.bmp");
    std::ofstream(files.folder() / "A2.jpg", std::ios::binary) << "not a picture";
    const auto [text, warned]
        = statusReport("[TreeObjects]\nA = 2,,Site\nA1 = &H1002,TAG_1,Pump\nA2 = x,TAG_2,Tank\n"
                       "A3 = 7, TAG_3,Valve\nA4 = &H100,TAG_1,Motor\nB\n[A1]\nPump 1, 45 kW.\n");
    EXPECT_EQ(statusReport("[TreeObjects]\nA = 1,TAG,Site\n[Other]\n", u"A"),
        std::pair(
            std::string("A/0  Site  (image 1, status 1, tag \"TAG\", no information, no picture)\n"), false));
    EXPECT_TRUE(warned);
    EXPECT_EQ(text,
        "A/0  Site  (image 2, status 2, no tag, no information, no picture)\n"
        "  A1/1  Pump  (image 2, status &H1002, tag \"TAG_1\", information [A1] 1 line, picture A1.bmp)\n"
        "  A2/2  Tank  (image 0, status x, tag \"TAG_2\", no information, picture A2.jpg)\n"
        "  A3/3  Valve  (image 0, status 7, tag \" TAG_3\", no information, no picture)\n"
        "  A4/4  Motor  (image 0, status &H100, tag \"TAG_1\", no information, no picture)\n"
        "B/5    (image 0, status , no tag, no information, no picture)\n"
        "warning: line 4: status \"x\" is not a number\n"
        "warning: line 4: picture A2.jpg cannot be read: it is not a BMP, JPEG, GIF or TIFF picture\n"
        "warning: line 5: status \"7\" shows no icon: its low byte 7 is outside 1 to 6\n"
        "warning: line 5: tag \" TAG_3\" has blanks around it: the host is asked for it so\n"
        "warning: line 6: status \"&H100\" shows no icon: its low byte 0 is outside 1 to 6\n"
        "warning: line 6: tag \"TAG_1\" is used twice (first on line 3)\n"
        "warning: line 7: no \"=\" in \"B\"\n");
}

} // namespace
} // namespace vestrak::testing
