#include "citree_fixture.h"

namespace vestrak::testing {
namespace {

// What a click gives the properties for codes of every shape is shown by the navigation transcript.
using Selection = CiTreeTest;

TEST_F(Selection, AListClickSelectsWithoutStoring)
{
    build(ExampleSection, ShownList, u"P1");
    ASSERT_TRUE(list().operatorClick(1));
    EXPECT_EQ(ToUtf8(control->SelectedObject()), "P12");
    EXPECT_EQ(setting(u"Selected", u"NodeName"), "(none)");
}

TEST_F(Selection, AClickOnANodeOfAnEarlierBuildIsIgnored)
{
    build(ExampleSection, ShownTree);
    int nodeClicks = 0;
    Connections connections;
    connections += control->NodeClick.connect([&nodeClicks] { ++nodeClicks; });
    control->setObjectFileSection(u"Short");
    build("[Short]\nS=5,Only\n", ShownList);
    ASSERT_TRUE(tree().operatorClick(u"P21/6"));
    EXPECT_EQ(nodeClicks, 0);
    EXPECT_EQ(ToUtf8(control->SelectedObject()), "");
}

// The list and navigation transcripts show double clicks, and Home, Up and Down over the list;
// over the tree, and where Down leaves the focus:
TEST_F(Selection, UpAndDownOverTheTree)
{
    build(ExampleSection, ShownTree | StyleUpDownButtons);
    ASSERT_TRUE(button(u"Command_Up").operatorClick());
    EXPECT_FALSE(tree().visible());
    ASSERT_TRUE(button(u"Command_Down").operatorClick());
    EXPECT_TRUE(tree().visible());
    EXPECT_EQ(surface->focusedWidget(), &tree());

    build(ExampleSection, ShownList | StyleUpDownButtons);
    ASSERT_TRUE(button(u"Command_Up").operatorClick());
    ASSERT_TRUE(button(u"Command_Down").operatorClick());
    EXPECT_EQ(surface->focusedWidget(), &list());
}

} // namespace
} // namespace vestrak::testing
