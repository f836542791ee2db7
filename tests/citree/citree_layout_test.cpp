#include "citree_fixture.h"

namespace vestrak::testing {
namespace {

constexpr const char* GroupedFile
    = "[General]\nAllowedFilterGroups=4,5\n[TreeObjects]\nP=1,Plant\nP1=4,Pump\n";
constexpr double Pixel = HeadlessSurface::DefaultTwipsPerPixel;
constexpr double ToolbarRow = 22 * Pixel;
constexpr double FilterTextHeight = 240;

using Layout = CiTreeTest;

TEST_F(Layout, CollapsibleOrNotTheCollapseButtonSitsAtTheRightEdge)
{
    build(GroupedFile, ShownTree | StyleStartExpanded);
    EXPECT_EQ(tree().width(), Width - 195);
    EXPECT_EQ(groups().width(), Width - 195);
    EXPECT_EQ(button(u"Command_Collapse").left(), 2790);
    EXPECT_EQ(button(u"Command_Collapse").height(), Height);
    EXPECT_TRUE(button(u"Command_Collapse").visible());
    EXPECT_EQ(filterText().width() + widget<Toolbar>(u"Toolbar_Filter").width(), Width - 195);
    EXPECT_EQ(tree().top(), FilterTextHeight + ToolbarRow);
    EXPECT_EQ(tree().height(), Height - FilterTextHeight - ToolbarRow);

    create();
    build(GroupedFile, ShownTree | StyleHomeButton);
    EXPECT_EQ(tree().width(), Width);
    EXPECT_EQ(groups().width(), Width);
    EXPECT_EQ(filterText().top(), 0);
    EXPECT_EQ(tree().top(), 345 + FilterTextHeight + ToolbarRow);
    EXPECT_EQ(button(u"Command_Collapse").left(), 2790);
    EXPECT_FALSE(button(u"Command_Collapse").visible());

    build(ExampleSection, ShownTree);
    EXPECT_EQ(tree().top(), 0);
}

TEST_F(Layout, CountdownCollapsesAfterIdleSecondsAndActivityInTheControlRestartsIt)
{
    control->setCollapseTime(5);
    build("[General]\nAllowedFilterGroups=4\n" + std::string(ExampleSection), ShownTree | StyleStartExpanded);
    clock.advance(4000);
    ASSERT_TRUE(tree().operatorMouseMove());
    clock.advance(4000);
    ASSERT_TRUE(widget<TextBox>(u"Text_Filter").operatorType(u"pu"));
    clock.advance(4000);
    EXPECT_TRUE(tree().visible()) << "typing a filter is activity";
    clock.advance(1000);
    EXPECT_FALSE(tree().visible());

    control->setCollapseTime(0);
    ASSERT_TRUE(button(u"Command_Expand").operatorClick());
    clock.advance(60000);
    EXPECT_TRUE(tree().visible());
}

TEST_F(Layout, VisibleHidesOnlyTheObjects)
{
    build(GroupedFile, ShownTree | StyleHomeButton);
    control->setVisible(0);
    EXPECT_FALSE(tree().visible());
    EXPECT_TRUE(groups().visible() && button(u"Command_Home").visible());
    control->setVisible(-1);
    EXPECT_EQ(surface->focusedWidget(), &tree());
}

} // namespace
} // namespace vestrak::testing
