#include "citree_fixture.h"

namespace vestrak::testing {
namespace {

constexpr const char* GroupedFile
    = "[General]\nAllowedFilterGroups=4,5\n[TreeObjects]\nP=1,Plant\nP1=4,Pump\n";
constexpr double Pixel = HeadlessSurface::DefaultTwipsPerPixel;
constexpr double ToolbarRow = 22 * Pixel;

using Layout = CiTreeTest;

TEST_F(Layout, CollapsibleTreeLeavesRoomForTheCollapseButton)
{
    build(GroupedFile, ShownTree | StyleStartExpanded);
    EXPECT_EQ(tree().width(), Width - 195);
    EXPECT_EQ(groups().width(), Width - 195);
    EXPECT_EQ(button(u"Command_Collapse").left(), Width - 195 - Pixel);
    EXPECT_EQ(button(u"Command_Collapse").height(), Height);
    EXPECT_TRUE(button(u"Command_Collapse").visible());
    // The filter row sits on top; the tree below it.
    EXPECT_EQ(filterText().top(), 0);
    EXPECT_EQ(filterText().width(), Width - 195 - filterToolbar().width());
    EXPECT_EQ(filterToolbar().left(), filterText().width());
    EXPECT_EQ(groups().top(), filterText().height());
    EXPECT_EQ(tree().top(), 240 + ToolbarRow);
    EXPECT_EQ(tree().height(), Height - 240 - ToolbarRow);
}

TEST_F(Layout, TreeThatCannotCollapseTakesTheFullWidth)
{
    build(GroupedFile, ShownTree);
    EXPECT_EQ(tree().width(), Width);
    EXPECT_EQ(groups().width(), Width);
    EXPECT_EQ(button(u"Command_Collapse").left(), Width - 195 - Pixel);
    EXPECT_FALSE(button(u"Command_Collapse").visible());
}

TEST_F(Layout, WithoutGroupsTheTreeStartsBelowTheHomeButtonOnly)
{
    build(ExampleSection, ShownTree);
    EXPECT_EQ(tree().top(), 0);
    EXPECT_EQ(filterText().top(), 2088);
    build(ExampleSection, ShownTree | StyleHomeButton);
    EXPECT_EQ(tree().top(), 345);
    EXPECT_EQ(tree().height(), Height - 345);
}

TEST_F(Layout, ListIsPlacedBelowTheHomeButtonByTheBuildOnly)
{
    build(ExampleSection, ShownList | StyleHomeButton, u"P1");
    EXPECT_EQ(list().top(), 345);
    EXPECT_EQ(list().height(), Height - 345);
    EXPECT_EQ(list().width(), Width);
    surface->resize(6000, 6000, 0);
    control->UserControl_Resize();
    EXPECT_EQ(list().width(), Width);
    EXPECT_EQ(tree().width(), 6000);
}

TEST_F(Layout, TooShortForTheFilterRowKeepsTheTreeHeight)
{
    build(GroupedFile, ShownTree);
    const double treeHeight = tree().height();
    surface->resize(Width, 300, 0);
    control->UserControl_Resize();
    EXPECT_EQ(tree().height(), treeHeight);
    EXPECT_EQ(button(u"Command_Collapse").height(), 300);
}

TEST_F(Layout, CollapseWithABorderLeavesExactlyTheExpandButtonInside)
{
    constexpr double border = 30;
    create(border);
    build(GroupedFile, ShownTree | StyleStartCollapsed | StyleStartExpanded);
    EXPECT_EQ(surface->innerWidth(), 195);
    EXPECT_EQ(surface->innerHeight(), 225);
    EXPECT_EQ(surface->outerWidth(), 195 + 2 * border);
    EXPECT_TRUE(button(u"Command_Expand").visible());
    EXPECT_EQ(button(u"Command_Expand").left(), 0);
    EXPECT_EQ(button(u"Command_Expand").top(), 0);
    EXPECT_FALSE(tree().visible());
    EXPECT_FALSE(groups().visible());
    EXPECT_FALSE(filterText().visible());

    ASSERT_TRUE(button(u"Command_Expand").operatorClick());
    EXPECT_EQ(surface->outerWidth(), Width);
    EXPECT_EQ(surface->outerHeight(), Height);
    EXPECT_TRUE(tree().visible());
    EXPECT_TRUE(groups().visible());
    EXPECT_FALSE(button(u"Command_Expand").visible());
}

TEST_F(Layout, ExpandTakesTheExpandedSizeInPixelsWhenBothAreSet)
{
    control->setExpandedWidth(400);
    control->setExpandedHeight(300);
    build(ExampleSection, ShownTree | StyleStartCollapsed);
    ASSERT_TRUE(button(u"Command_Expand").operatorClick());
    EXPECT_EQ(surface->outerWidth(), 400 * Pixel);
    EXPECT_EQ(surface->outerHeight(), 300 * Pixel);

    control->setExpandedHeight(0);
    ASSERT_TRUE(button(u"Command_Collapse").operatorClick());
    ASSERT_TRUE(button(u"Command_Expand").operatorClick());
    EXPECT_EQ(surface->outerWidth(), Width);
}

TEST_F(Layout, CountdownCollapsesAfterIdleSecondsAndTreeActivityRestartsIt)
{
    control->setCollapseTime(5);
    build(ExampleSection, ShownTree | StyleStartExpanded);
    clock.advance(4000);
    ASSERT_TRUE(tree().operatorMouseMove());
    clock.advance(4000);
    EXPECT_TRUE(tree().visible());
    clock.advance(1000);
    EXPECT_FALSE(tree().visible());
    EXPECT_TRUE(button(u"Command_Expand").visible());
}

TEST_F(Layout, ListActivityDoesNotRestartTheCountdown)
{
    control->setCollapseTime(3);
    build(ExampleSection, ShownTree | StyleStartExpanded);
    clock.advance(2000);
    ASSERT_TRUE(tree().operatorDoubleClick(u"P/0"));
    clock.advance(2000);
    EXPECT_TRUE(tree().visible());
    clock.advance(1000);
    EXPECT_FALSE(tree().visible());
}

TEST_F(Layout, CollapseTimeZeroNeverCountsButZeroSetLaterCollapsesAtTheNextRestart)
{
    build(ExampleSection, ShownTree | StyleStartExpanded);
    clock.advance(60000);
    EXPECT_TRUE(tree().visible());

    control->setCollapseTime(10);
    ASSERT_TRUE(button(u"Command_Collapse").operatorClick());
    ASSERT_TRUE(button(u"Command_Expand").operatorClick());
    control->setCollapseTime(0);
    clock.advance(1000);
    EXPECT_TRUE(tree().visible());
    ASSERT_TRUE(tree().operatorMouseMove());
    clock.advance(1000);
    EXPECT_FALSE(tree().visible());
}

TEST_F(Layout, VisibleHidesOnlyTheObjects)
{
    build(GroupedFile, ShownTree | StyleHomeButton);
    control->setVisible(0);
    EXPECT_FALSE(tree().visible());
    EXPECT_TRUE(groups().visible());
    EXPECT_TRUE(button(u"Command_Home").visible());
    control->setVisible(-1);
    EXPECT_TRUE(tree().visible());
    EXPECT_EQ(surface->focusedWidget(), &tree());
}

} // namespace
} // namespace vestrak::testing
