#include "cistatus_fixture.h"

using namespace vestrak;
using namespace vestrak::testing;

TEST_F(CiStatusTest, ParentIsTheNearestObjectOnTheChainWhoseCodeListStartsTheCode)
{
    const struct {
        const char* name;
        std::u16string rootObject;
        std::vector<std::string> codes;
        std::string shape;
    } cases[] = {
        { "nested", u"", { "A", "A1", "A11", "A2", "B" }, "A/0(A1/1(A11/2),A2/3),B/4" },
        { "earlier node off the chain", u"", { "B", "A", "B1" }, "B/0,A/1,B1/2" },
        { "comma code", u"", { "A,B", "A1", "B1", "C" }, "A,B/0(A1/1,B1/2),C/3" },
        { "case ignored", u"", { "A", "a1" }, "A/0(a1/1)" },
        { "root skips without breaking the chain", u"A", { "A", "A1", "B", "B1", "A2" }, "A/0(A1/1,A2/4)" },
        { "root below the top", u"A1", { "A", "A1", "A11" }, "A1/1(A11/2)" },
        { "object part name ignored", u"", { "A/Pump", "A1 / Motor" }, "A/0(A1/1)" },
        { "empty code is a childless top node", u"", { "/X", "A" }, "/0,A/1" },
        { "empty code under a root", u"A", { "A", "/X", "A1" }, "A/0(A1/2)" },
    };
    for (const auto& each : cases) {
        SCOPED_TRACE(each.name);
        std::vector<std::string> lines;
        for (const auto& code : each.codes) {
            lines.push_back(code + "=2,T,x");
        }
        control->setRootObject(each.rootObject);
        load(lines);
        EXPECT_EQ(shape(), each.shape);
    }
}

// An object without a tag name is passed over by the status queries: "Other" is asked for then.
TEST_F(CiStatusTest, TheValuePartIsStatusTagNameAndText)
{
    struct Case {
        std::string line;
        std::int32_t status;
        std::int32_t image;
        std::u16string tagName;
        std::u16string text;
    };
    const std::vector<Case> cases {
        { "P = 3, T1 ,Pump1, left", 3, 3, u" T1 ", u"Pump1, left" },
        { "P = 2", 1, 2, u"Other", u"2" },
        { "P = 2,T1", 2, 2, u"T1", u"T1" },
        { "P = &H104,T1,X", 260, 4, u"T1", u"X" },
        { "P = x,T1,X", 0, 0, u"T1", u"X" },
        { "P = 2.5,T1,X", 2, 2, u"T1", u"X" },
        { "P = 99999999999,T1,X", 0, 0, u"T1", u"X" },
        { "P = 2,T1,X=Y", 2, 2, u"T1", u"X" },
        { "P = 7,T1,X", 7, 0, u"T1", u"X" },
        { "P", 1, 0, u"Other", u"" },
    };
    for (const auto& each : cases) {
        SCOPED_TRACE(each.line);
        load({ each.line, "Q = 1,Other,y" });
        ASSERT_EQ(tree().count(), 2);
        EXPECT_EQ(node(u"P/0")->text(), each.text);
        EXPECT_EQ(node(u"P/0")->image(), each.image);
        EXPECT_EQ(control->ObjectTagName(), each.tagName);
        EXPECT_EQ(control->ObjectStatus(), each.status);
        while (!control->ObjectTagName().empty()) { }
    }
}

TEST_F(CiStatusTest, SectionsBeyondSixteenBitLineNumbersLoadCompletely)
{
    std::vector<std::string> lines;
    for (int i = 0; i < 33000; ++i) {
        lines.push_back(std::string("C") + std::to_string(i) + "=2,T" + std::to_string(i) + ",x");
    }
    load(lines);
    EXPECT_EQ(tree().count(), 33000);
    ASSERT_TRUE(node(u"C32999/32999"));
    for (int i = 0; i < 32999; ++i) {
        ASSERT_FALSE(control->ObjectTagName().empty());
    }
    EXPECT_EQ(control->ObjectTagName(), u"T32999");
}

TEST_F(CiStatusTest, AReloadReplacesTheTreeInTheBackColourSetThen)
{
    control->setBackColor(0x00FF00);
    load({ "A=2,T,x", "A1=2,T,y" });
    const NodeRef old = node(u"A/0");
    control->setBackColor(0x0000FF);
    EXPECT_EQ(old->backColor(), 0x00FF00u);
    control->setRootObject(u"A1");
    control->setObjectFile(control->ObjectFile());
    EXPECT_EQ(shape(), "A1/1");
    EXPECT_EQ(node(u"A1/1")->backColor(), 0x0000FFu);
    EXPECT_FALSE(old->exists());
}

TEST_F(CiStatusTest, AMissingFileGivesAnEmptyTree)
{
    load({ "A=2,T,x" });
    control->setObjectFile(files.path("missing.ini"));
    EXPECT_EQ(tree().count(), 0);
    EXPECT_TRUE(tree().visible());
}

// The file is read as UTF-8 until a byte shows that it is not: the lines given until then are
// forgotten and the whole section comes again, as Windows-1252.
TEST_F(CiStatusTest, AFileFoundNotToBeUtf8HalfWayLoadsEachLineOnceAsWindows1252)
{
    files.pieceBytes = 8;
    control->setBehaviour(CiStatus::BehaviourInheritStatus);
    load({ "A=2,T1,caf\xC3\xA9", "A1=2,T2,d\xE9j\xE0", "A2=2,T3,z" });
    EXPECT_EQ(shape(), "A/0(A1/1,A2/2)");
    EXPECT_EQ(node(u"A/0")->text(), u"caf\u00C3\u00A9");
    EXPECT_EQ(node(u"A1/1")->text(), u"d\u00E9j\u00E0");
    std::vector<std::u16string> polled { control->ObjectTagName(), control->ObjectTagName() };
    control->setObjectStatus(4);
    clock.advance(500);
    EXPECT_EQ(images(), (std::vector<std::int32_t> { 4, 4, 2 })) << "the branch above shows it";
    polled.push_back(control->ObjectTagName());
    polled.push_back(control->ObjectTagName());
    EXPECT_EQ(polled, (std::vector<std::u16string> { u"T1", u"T2", u"T3", u"" }));
}

// Stored branches and the stored selection name nodes by full path, which the load follows down
// and back up the tree; texts repeat, so several nodes share a path.
TEST_F(CiStatusTest, StoredPathsFindTheirNodesAtEveryDepth)
{
    settings.SaveSetting(u"CiStatus", u"ExpandedNodes", u"Top", u"1");
    settings.SaveSetting(u"CiStatus", u"ExpandedNodes", u"Top\\Mid\\Leaf", u"1");
    settings.SaveSetting(u"CiStatus", u"ExpandedNodes", u"Top\\Mid", u"0");
    settings.SaveSetting(u"CiStatus", u"ExpandedNodes", u"Top\\Mid\\Leaf\\Deep", u"-1");
    settings.SaveSetting(u"CiStatus", u"SelectedNode", u"FullPath", u"Top\\Mid\\Leaf");
    int clicks = 0;
    Connections connections;
    connections += control->NodeClick.connect([&clicks] { ++clicks; });
    load({ "A=2,,Top", "A1=2,,Mid", "A11=2,,Leaf", "A111=2,,Deep", "A2=2,,Mid", "A21=2,,Leaf", "B=2,,Top",
        "B1=2,,Other" });

    std::vector<std::string> expanded;
    for (std::int32_t index = 1; index <= tree().count(); ++index) {
        if (tree().node(index)->expanded()) {
            expanded.push_back(ToUtf8(tree().node(index)->key()));
        }
    }
    // A1 and A2 open only as the ancestors of a selected leaf: only "1" opens a branch.
    EXPECT_EQ(expanded, (std::vector<std::string> { "A/0", "A1/1", "A11/2", "A2/4", "A21/5", "B/6" }));
    EXPECT_EQ(tree().selectedNode(), node(u"A21/5")) << "of the nodes with the stored path the last";
    EXPECT_EQ(clicks, 0);
    EXPECT_EQ(control->SelectedNode(), u"") << "a restored selection is no click";
    EXPECT_EQ(settings.entries(u"CiStatus").size(), 5u) << "the load stores nothing";

    settings.SaveSetting(u"CiStatus", u"SelectedNode", u"FullPath", u"Nowhere");
    control->setObjectFile(control->ObjectFile());
    EXPECT_EQ(tree().selectedNode(), nullptr);
}

// The stored branches above the stored selection are open before the tree scrolls to it: opened
// after, they would push it out of sight.
TEST_F(CiStatusTest, StoredBranchesAreOpenBeforeTheSelectedNodeIsScrolledTo)
{
    std::vector<std::string> lines;
    for (int area = 10; area < 50; ++area) {
        const std::string number = std::to_string(area);
        lines.push_back("A" + number + "=2,,Area " + number);
        lines.push_back("A" + number + "P=2,,Pump");
        settings.SaveSetting(u"CiStatus", u"ExpandedNodes", u"Area " + FromUtf8(number), u"1");
    }
    settings.SaveSetting(u"CiStatus", u"SelectedNode", u"FullPath", u"Area 47\\Pump");
    load(lines);

    const NodeRef selected = tree().selectedNode();
    ASSERT_TRUE(selected);
    EXPECT_EQ(ToUtf8(selected->fullPath()), "Area 47\\Pump");
    bool shown = false;
    for (double y = 0; y < tree().height() && !shown; y += 15) {
        const NodeRef hit = tree().hitTest(100, y);
        shown = hit && hit == selected;
    }
    EXPECT_TRUE(shown) << "scrolled to row " << tree().scrollPosition();
}
