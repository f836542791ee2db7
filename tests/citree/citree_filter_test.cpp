#include "citree/tree_line.h"
#include "citree/tree_object_lines.h"
#include "citree_fixture.h"
#include "text/text.h"

#include <gmock/gmock.h>

using ::testing::ElementsAre;

namespace vestrak::testing {
namespace {

constexpr const char* GroupedFile = "[General]\nAllowedFilterGroups=3,4,5\n[FilterGroupNames]\n4=Pumps\n"
                                    "[TreeObjects]\nP=1,Plant\nP1=1,Pumps\nP11=4,Pump 1\nP12=4,Main pump 1\n"
                                    "P2=1,Valves\nP21=5,Valve\nP3=2,Empty house\nP4=3,Yard\n";

using Filter = CiTreeTest;

// A build reads the code, image and text of a plain ASCII line from its bytes: as the decoded line
// gives them, wherever the separators and spaces lie.
TEST(AsciiTreeLine, IsTheDecodedLine)
{
    for (const std::string line : { "A=4,Pump", "A,B/x,y=  12 , Main pump , spare ", "A=7", "A= 7 ", "A",
             "A=,Text", "A=5,Text=more,x", "A/B=5=6,Text", "A=&H10,Hex", "A=12345,Big", "A=4x,Odd",
             "A=007,Zeros", "A=-3,Minus", "A=4,  ", "A=4,a,b", " a b /x=1", "a=b/c,1", "ab",
             "A234567890B234567890C234567890D234567890E234567890F23456789/x,y=4,Text past 64 "
             "bytes=,\xC3\xBC" }) {
        const std::optional<AsciiTreeLine> parts = ReadAsciiTreeLine(line);
        const std::u16string units = FromUtf8(line);
        const TreeLine decoded = ReadTreeLine(units);
        ASSERT_TRUE(parts) << line;
        EXPECT_EQ(ToUpper(FromUtf8(parts->code)), decoded.code) << line;
        EXPECT_EQ(parts->image, decoded.image) << line;
        EXPECT_EQ(FromUtf8(parts->text), decoded.text) << line;
        // A filter rebuild reads the same text where the build noted one.
        SectionBytes bytes;
        bytes.add(line);
        TreeObjectLines lines(std::move(bytes));
        lines.noteAsciiTextStart(
            0, TreeObjectLines::AsciiTextStart(lines.bytes(0), ReadAsciiTreeLine(lines.bytes(0))->text));
        EXPECT_EQ(lines.knownAsciiText(0, lines.bytes(0)).value_or(parts->text), parts->text) << line;
    }
    EXPECT_FALSE(ReadAsciiTreeLine("A=4,K\xC3\xBChlung"));
}

// The filter transcript shows the group buttons and which nodes filter words keep.
TEST_F(Filter, AnEmptyFilteredTreeSaysWhyOnlyWhileTheFilterIsOn)
{
    saveSetting(u"PressedFilterButtons", u"FilterText", u"nomatch");
    saveSetting(u"PressedFilterButtons", u"FilterButton", u"1");
    build(GroupedFile, ShownTree);
    EXPECT_EQ(tree().count(), 0);
    EXPECT_EQ(tree().placeholderText(), u"No objects match the filter.");
    saveSetting(u"PressedFilterButtons", u"FilterButton", u"0");
    build(GroupedFile, ShownTree);
    EXPECT_EQ(tree().placeholderText(), u"");
}

TEST_F(Filter, GroupClicksRebuildTheTreeOnceAtTheTimer)
{
    constexpr std::int32_t style = ShownTree | StyleKeepOpenNodes | StyleKeepScrollPosition;
    build(GroupedFile, style);
    ASSERT_TRUE(groups().operatorClick(u"K5"));
    ASSERT_TRUE(groups().operatorClick(u"K4"));
    ASSERT_TRUE(groups().operatorClick(u"K4"));
    // As a widget set would that tells of the branches the rebuild opens from code.
    store.whileReading = [this] { tree().Expand(tree().node(1)); };
    clock.advance(200);
    store.whileReading = nullptr;
    EXPECT_THAT(nodes(), ElementsAre("P/0 - Plant 1", "P2/4 P/0 Valves 1", "P21/5 P2/4 Valve 5"));
    // Nodes the rebuild opened are not the operator's, and the buttons keep the operator's state.
    EXPECT_EQ(setting(u"OpenNodes", u"Plant"), "(none)");
    EXPECT_EQ(groups().button(2)->value(), 1);
    ASSERT_TRUE(tree().operatorCollapse(u"P/0"));
    clock.advance(1000);
    EXPECT_FALSE(tree().node(1)->expanded());
}

// The filter transcript shows Enter pressing the filter button; the rebuild leaves the focus in
// the box.
TEST_F(Filter, EnterRebuildsWithTheFocusInTheFilterBox)
{
    build(GroupedFile, ShownTree);
    ASSERT_TRUE(filterText().operatorType(u"valve\r"));
    clock.advance(200);
    EXPECT_THAT(nodes(), ElementsAre("P2/4 - Valves 1", "P21/5 P2/4 Valve 5"));
    EXPECT_EQ(surface->focusedWidget(), &filterText());
}

// The rebuild after a group click highlights the last node from code: Enter opens that node, and
// the keyboard stays where the operator had it.
TEST_F(Filter, AGroupRebuildHighlightsTheLastNodeWithoutTakingTheKeyboard)
{
    build(GroupedFile, ShownTree);
    std::vector<std::string> events;
    Connections connections;
    connections += control->NodeClick.connect(
        [&] { events.push_back("click " + ToUtf8(control->SelectedObject())); });
    connections += control->NodeDoubleClick.connect(
        [&] { events.push_back("double " + ToUtf8(control->SelectedObject())); });
    ASSERT_TRUE(tree().operatorClick(u"P21/5"));
    ASSERT_TRUE(filterText().setFocus());
    ASSERT_TRUE(groups().operatorClick(u"K4"));
    clock.advance(200);
    EXPECT_EQ(surface->focusedWidget(), &filterText());
    EXPECT_EQ(tree().selectedNode(), tree().find(u"P12/3"));

    ASSERT_TRUE(tree().setFocus());
    ASSERT_TRUE(tree().operatorKey(TreeKey::Enter));
    EXPECT_THAT(events, ElementsAre("click P21", "click P12", "double P12"));
    ASSERT_TRUE(groups().operatorClick(u"K4"));
    clock.advance(200);
    EXPECT_EQ(surface->focusedWidget(), &tree()) << "a tree that had the keyboard keeps it";
}

TEST_F(Filter, ARebuildGivesTheTreeNoKeyboardItDidNotHave)
{
    build(GroupedFile, ShownTree);
    // The keyboard elsewhere (the tree hidden and shown again stands for another control's).
    tree().setVisible(false);
    tree().setVisible(true);
    ASSERT_EQ(surface->focusedWidget(), nullptr);
    ASSERT_TRUE(groups().operatorClick(u"K4"));
    clock.advance(200);
    EXPECT_EQ(surface->focusedWidget(), nullptr);
}

TEST_F(Filter, OperatorClicksThatArriveDuringABuildAreIgnored)
{
    build(GroupedFile, ShownTree);
    bool nodeClickRaised = false;
    Connections connections;
    connections += control->NodeClick.connect([&nodeClickRaised] { nodeClickRaised = true; });
    profile.whileLookingUp = [this] {
        groups().operatorClick(u"K5");
        widget<Toolbar>(u"Toolbar_Filter").operatorClick(u"Filter");
        tree().operatorClick(u"P/0");
    };
    control->setStyle(ShownTree);
    profile.whileLookingUp = nullptr;
    EXPECT_EQ(setting(u"PressedFilterButtons", u"5"), "(none)");
    EXPECT_EQ(setting(u"PressedFilterButtons", u"FilterButton"), "(none)");
    EXPECT_EQ(setting(u"Selected", u"NodeName"), "(none)");
    EXPECT_FALSE(nodeClickRaised);
}

} // namespace
} // namespace vestrak::testing
