#include "citree_fixture.h"

namespace vestrak::testing {
namespace {

constexpr const char* GroupedFile
    = "[General]\nAllowedFilterGroups=4,5\n[TreeObjects]\nP=1,Plant\nP1=4,Pump\n";

using Layout = CiTreeTest;

// The collapse and navigation transcripts show where the tree and the group buttons lie; beyond
// them: the filter row beside the collapse button, and a tree that cannot collapse keeping the
// full width when the host resizes it after the build.
TEST_F(Layout, OnlyACollapsibleTreeLeavesRoomForTheCollapseButton)
{
    build(GroupedFile, ShownTree | StyleStartExpanded);
    EXPECT_EQ(filterText().width() + widget<Toolbar>(u"Toolbar_Filter").width(), Width - 195);

    create();
    build(GroupedFile, ShownTree);
    EXPECT_FALSE(button(u"Command_Collapse").visible());
    ASSERT_TRUE(surface->setOuterWidth(2400));
    control->UserControl_Resize();
    EXPECT_EQ(tree().width(), 2400);
    EXPECT_EQ(groups().width(), 2400);

    build(ExampleSection, ShownTree);
    EXPECT_EQ(tree().top(), 0) << "without group buttons the tree starts at the top";
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

// The collapse transcript shows clicks and mouse moves restarting the count; keys and scrolling in
// the tree do too.
TEST_F(Layout, KeysAndScrollingRestartTheIdleCount)
{
    control->setCollapseTime(3);
    build(GroupedFile, ShownTree | StyleStartExpanded);
    clock.advance(2000);
    ASSERT_TRUE(tree().operatorKey(TreeKey::Down));
    clock.advance(2000);
    ASSERT_TRUE(tree().operatorScroll(0));
    clock.advance(2000);
    EXPECT_TRUE(tree().visible()) << "never three idle seconds";
    clock.advance(1000);
    EXPECT_FALSE(tree().visible());
}

TEST_F(Layout, ACollapseKeepsTheKeyboardOnTheControlOnlyIfItHadIt)
{
    control->setCollapseTime(3);
    build(GroupedFile, ShownTree | StyleStartExpanded);
    ASSERT_EQ(surface->focusedWidget(), &tree());
    clock.advance(3000);
    ASSERT_FALSE(tree().visible());
    EXPECT_EQ(surface->focusedWidget(), &button(u"Command_Expand"));
    ASSERT_TRUE(button(u"Command_Expand").operatorClick());
    EXPECT_EQ(surface->focusedWidget(), &tree());

    // The keyboard elsewhere (the tree hidden and shown again stands for another control's).
    tree().setVisible(false);
    tree().setVisible(true);
    ASSERT_TRUE(button(u"Command_Collapse").operatorClick());
    EXPECT_EQ(surface->focusedWidget(), nullptr);
    ASSERT_TRUE(button(u"Command_Expand").operatorClick());
    EXPECT_EQ(surface->focusedWidget(), nullptr);
}

// An expanded size counts only whole: with its height missing, expanding restores the first size.
TEST_F(Layout, ExpandingWithHalfAnExpandedSizeRestoresTheFirstSize)
{
    control->setExpandedWidth(200);
    build(GroupedFile, ShownTree | StyleStartExpanded);
    ASSERT_TRUE(button(u"Command_Collapse").operatorClick());
    ASSERT_TRUE(button(u"Command_Expand").operatorClick());
    EXPECT_EQ(surface->outerWidth(), Width);
    EXPECT_EQ(surface->outerHeight(), Height);
}

// The navigation transcript shows the colour in the tree after the next build.
TEST_F(Layout, BackColorReachesTheTreeOnlyAtTheNextBuild)
{
    build(ExampleSection, ShownTree);
    control->setBackColor(0x00FF00);
    EXPECT_EQ(list().backColor(), 0x00FF00u);
    EXPECT_EQ(tree().backColor(), WindowBackgroundColor);
}

} // namespace
} // namespace vestrak::testing
