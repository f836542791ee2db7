#include "citree/tree_line.h"
#include "citree_fixture.h"

#include <gmock/gmock.h>

using ::testing::ElementsAre;

namespace vestrak::testing {
namespace {

using Build = CiTreeTest;

TEST_F(Build, ExampleSectionGivesKeysParentsTextsAndImages)
{
    build(ExampleSection, ShownTree);
    EXPECT_THAT(nodes(),
        ElementsAre("P/0 - Plant 1", "P1/1 P/0 Area 1 1", "P11/2 P1/1 Pump 1 5", "P12/3 P1/1 Pump 2 5",
            "P2/4 P/0 Area 2 1", "Q/5 - Utilities 1", "P21/6 - Valve 5"));
    EXPECT_EQ(Utf8(control->ObjectFileSection()), "TreeObjects");
    EXPECT_TRUE(tree().visible());
}

TEST_F(Build, LongerCodeNestsUnderItsPrefixAndCommaListsServeAsPrefixes)
{
    build("[TreeObjects]\nP1=1,One\nP10=5,Ten\nA,B=1,Both\nB7=5,Bee\n", ShownTree);
    EXPECT_THAT(
        nodes(), ElementsAre("P1/0 - One 1", "P10/1 P1/0 Ten 5", "A,B/2 - Both 1", "B7/3 A,B/2 Bee 5"));
}

TEST(TreeLine, TakesCodeExtraInfoImageAndText)
{
    struct Case {
        const char16_t* line;
        const char* code;
        const char* extraInfo;
        std::int32_t image;
        const char* text;
    };
    const Case cases[] = {
        { u" p1 / North = 1 , Area 1", "P1", "North", 1, "Area 1" },
        { u"X=12", "X", "", 12, "12" },
        { u"X=Pump", "X", "", 0, "Pump" },
        { u"X=5,Pump, big=old", "X", "", 5, "Pump, big" },
        { u"X/a/b=2.5,Half", "X", "a", 2, "Half" },
        { u"X=99999,Too big", "X", "", 0, "Too big" },
    };
    for (const Case& each : cases) {
        const TreeLine line = ReadTreeLine(each.line);
        EXPECT_EQ(Utf8(line.code), each.code) << Utf8(each.line);
        EXPECT_EQ(Utf8(line.extraInfo), each.extraInfo) << Utf8(each.line);
        EXPECT_EQ(line.image, each.image) << Utf8(each.line);
        EXPECT_EQ(Utf8(line.text), each.text) << Utf8(each.line);
    }
}

TEST_F(Build, RootsInTreeMode)
{
    build(ExampleSection, ShownTree, u"P1,Q");
    EXPECT_THAT(nodeKeys(), ElementsAre("P1/1", "P11/2", "P12/3", "Q/5"));
    EXPECT_FALSE(tree().node(1)->parent());
    EXPECT_FALSE(tree().node(4)->parent());

    build(ExampleSection, ShownTree, u"p");
    EXPECT_THAT(nodeKeys(), ElementsAre("P/0", "P1/1", "P11/2", "P12/3", "P2/4", "P21/6"));
}

TEST_F(Build, RootsInListMode)
{
    build(ExampleSection, ShownList, u"P1");
    EXPECT_THAT(listTexts(), ElementsAre("Pump 1", "Pump 2"));
    EXPECT_EQ(list().itemData(1), 3);
    EXPECT_TRUE(list().visible());

    build(ExampleSection, ShownList, u"P1,Q");
    EXPECT_THAT(listTexts(), ElementsAre("Pump 1", "Pump 2", "Utilities"));
}

TEST_F(Build, ListWithoutRootReadsListObjectsAndShowsTheWholeValue)
{
    build("[ListObjects]\nx=5,Pump\n[TreeObjects]\nT=1,Tree\n", ShownList);
    EXPECT_THAT(listTexts(), ElementsAre("5,Pump"));
    EXPECT_EQ(Utf8(control->ObjectFileSection()), "ListObjects");
    EXPECT_EQ(tree().count(), 0);
}

TEST_F(Build, ListTakesPrecedenceOverTree)
{
    build(ExampleSection, ShownList | StyleObjectTree, u"P1");
    EXPECT_EQ(list().count(), 2);
    EXPECT_EQ(tree().count(), 0);
}

TEST_F(Build, SectionSetByTheHostIsKeptEvenWhenEmpty)
{
    control->setObjectFileSection(u"");
    build("[]\nE=1,Empty name\n[TreeObjects]\nT=1,Tree\n", ShownTree);
    EXPECT_THAT(nodeKeys(), ElementsAre("E/0"));
    EXPECT_EQ(Utf8(control->ObjectFileSection()), "");
}

TEST_F(Build, MissingFileGivesAnEmptyTreeAndTheOtherStepsStillRun)
{
    control->setObjectFile(writeFile("other.ini", "") + u".missing");
    control->setStyle(ShownTree | StyleHomeButton | StyleUpDownButtons);
    EXPECT_EQ(tree().count(), 0);
    EXPECT_TRUE(tree().visible());
    EXPECT_TRUE(button(u"Command_Up").visible());
    EXPECT_FALSE(button(u"Command_Down").visible());
    EXPECT_EQ(button(u"Command_Up").left(), 375);
}

TEST_F(Build, WithoutShowObjectsTheHomeButtonStaysButTheTreeIsHidden)
{
    build(ExampleSection, StyleObjectTree | StyleHomeButton);
    EXPECT_TRUE(button(u"Command_Home").visible());
    EXPECT_FALSE(tree().visible());
    EXPECT_EQ(tree().count(), 7);
}

TEST_F(Build, PreselectionByCodeAndByExtraInfo)
{
    control->setSelectedObject(u"p11,any");
    build(ExampleSection, ShownTree);
    ASSERT_TRUE(tree().selectedNode());
    EXPECT_EQ(Utf8(tree().selectedNode()->key()), "P11/2");
    EXPECT_TRUE(tree().find(u"P1/1")->expanded());

    control->setSelectedObject(u"");
    control->setSelectedObjectExtraInfo(u"north");
    build(ExampleSection, ShownTree);
    EXPECT_EQ(Utf8(tree().selectedNode()->key()), "P1/1");

    // A line without "/" has no extra info to match.
    control->setSelectedObjectExtraInfo(u"Q");
    build(ExampleSection, ShownTree);
    EXPECT_FALSE(tree().selectedNode());
}

TEST_F(Build, OpenBranchesAndLastClickedNodeSurviveDestroyAndCreate)
{
    constexpr std::int32_t style = ShownTree | StyleKeepOpenNodes;
    build(ExampleSection, style);
    ASSERT_TRUE(tree().operatorExpand(u"P/0"));
    ASSERT_TRUE(tree().operatorClick(u"P1/1"));
    EXPECT_EQ(setting(u"OpenNodes", u"Plant"), "1");
    EXPECT_EQ(setting(u"Selected", u"NodeName"), "Plant\\Area 1");

    create();
    build(ExampleSection, style);
    EXPECT_TRUE(tree().find(u"P/0")->expanded());
    EXPECT_TRUE(tree().find(u"P1/1")->expanded());
    EXPECT_FALSE(tree().find(u"P2/4")->expanded());

    ASSERT_TRUE(tree().operatorCollapse(u"P/0"));
    EXPECT_EQ(setting(u"OpenNodes", u"Plant"), "(none)");
}

TEST_F(Build, WithoutKeepOpenNodesEveryStoredBranchIsForgotten)
{
    saveSetting(u"OpenNodes", u"Plant", u"1");
    saveSetting(u"Selected", u"NodeName", u"Plant");
    build(ExampleSection, ShownList);
    EXPECT_EQ(setting(u"OpenNodes", u"Plant"), "(none)");
    build(ExampleSection, ShownTree);
    EXPECT_FALSE(tree().find(u"P/0")->expanded());
}

TEST_F(Build, ExpandAllOpensEveryNodeAndKeepsTheTreeShown)
{
    build(ExampleSection, ShownTree | StyleExpandAll);
    for (std::int32_t index = 1; index <= tree().count(); ++index) {
        EXPECT_TRUE(tree().node(index)->expanded()) << index;
    }
    EXPECT_TRUE(tree().visible());
}

TEST_F(Build, BackColorReachesTheListAtOnceAndTheTreeAtTheNextBuild)
{
    build(ExampleSection, ShownTree);
    control->setBackColor(0x00FF00);
    EXPECT_EQ(list().backColor(), 0x00FF00u);
    EXPECT_EQ(tree().backColor(), WindowBackgroundColor);
    build(ExampleSection, ShownTree);
    EXPECT_EQ(tree().backColor(), 0x00FF00u);
    EXPECT_EQ(tree().node(7)->backColor(), 0x00FF00u);
}

TEST_F(Build, FortyThousandLinesBuildAndTheLastNodeReportsItsLine)
{
    std::string content = "[TreeObjects]\n";
    constexpr int lineCount = 40000;
    for (int line = 1; line <= lineCount; ++line) {
        const std::string number = std::to_string(100000 + line).substr(1);
        content += "N" + number + "/X" + number + "=5,Item " + number + "\n";
    }
    build(content, ShownTree);
    ASSERT_EQ(tree().count(), lineCount);
    int clicks = 0;
    control->NodeClick.connect([&clicks] { ++clicks; });
    ASSERT_TRUE(tree().operatorClick(u"N40000/39999"));
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(Utf8(control->SelectedObject()), "N40000");
    EXPECT_EQ(Utf8(control->SelectedObjectExtraInfo()), "X40000");
    EXPECT_EQ(Utf8(control->SelectedObjectExtraKey()), "X40000");
}

} // namespace
} // namespace vestrak::testing
