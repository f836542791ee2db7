#include "container/widget_dump.h"
#include "headless/headless_surface.h"

#include <gtest/gtest.h>

namespace vestrak {
namespace {

using Lines = std::vector<std::string>;

class WidgetDump : public ::testing::Test {
protected:
    HeadlessSurface surface { 4800, 3600, 30 };
};

TEST_F(WidgetDump, TreeNodesInNodeOrderIndentedByLevel)
{
    Tree& tree = surface.addTree(
        u"TreeView_Objects", Geometry { 0, 570.4, 4800, 3029.5 }, ImageList::SystemIcons, true);
    const NodeRef top = tree.add(nullptr, NodeRelationship::Last, u"P/0", u"Plant \"A\"", 1);
    const NodeRef child = tree.add(top, NodeRelationship::Child, u"P1/1", u"Area\\1", 4);
    tree.add(child, NodeRelationship::Child, u"P11/2", u"Pump", 0);
    tree.add(nullptr, NodeRelationship::Last, u"Q/3", u"Utilities", 2);
    top->setExpanded(true);
    child->setSelected(true);
    child->setBackColor(0xFF);

    EXPECT_EQ(DumpWidget(u"t", tree),
        (Lines { "t.TreeView_Objects visible=-1 left=0 top=570 width=4800 height=3030 scroll=0",
            "  P/0 \"Plant \\\"A\\\"\" image=1 expanded",
            "    P1/1 \"Area\\\\1\" image=4 selected back=0x000000FF", "      P11/2 \"Pump\" image=0",
            "  Q/3 \"Utilities\" image=2" }));
}

TEST_F(WidgetDump, ListItemsWithTheListIndex)
{
    ListBox& list = surface.addListBox(u"List_Objects", Geometry { 0, 345, 4800, 3255 }, false);
    list.addItem(u"5,Pump");
    list.setItemData(0, 7);
    list.addItem(u"Hall");
    list.setItemData(1, 9);
    list.setListIndex(1);

    EXPECT_EQ(DumpWidget(u"t", list),
        (Lines { "t.List_Objects visible=0 left=0 top=345 width=4800 height=3255", "  [0] \"5,Pump\" data=7",
            "  [1] \"Hall\" data=9 selected" }));
}

TEST_F(WidgetDump, ToolbarButtonsTextPictureAndMenu)
{
    Toolbar& toolbar = surface.addToolbar(u"Toolbar_SystemFilter", Geometry {}, ImageList::SystemIcons, true);
    toolbar.addButton(u"K4", 4)->setToolTipText(u"Pumps");
    toolbar.addButton(u"K5", 5)->setValue(1);
    const Lines toolbarLines = DumpWidget(u"t", toolbar);
    ASSERT_EQ(toolbarLines.size(), 3u);
    EXPECT_EQ(toolbarLines[1], "  K4 value=0 image=4 tip=\"Pumps\"");
    EXPECT_EQ(toolbarLines[2], "  K5 value=1 image=5 tip=\"\"");

    TextBox& text
        = surface.addTextBox(u"Text_Info", Geometry { 0, 2775, 4800, 825 }, TextBoxLines::Multiple, true);
    text.setText(u"Line1\r\nLine2\r\n");
    EXPECT_EQ(DumpWidget(u"s", text),
        (Lines { "s.Text_Info visible=-1 left=0 top=2775 width=4800 height=825",
            "  text=\"Line1\\r\\nLine2\\r\\n\"" }));

    PictureBox& picture = surface.addPictureBox(u"Picture_Object", Geometry { 4800, 0, 2415, 3600 }, false);
    EXPECT_EQ(DumpWidget(u"s", picture).back(), "  picture=\"\"");

    PopupMenu& menu = surface.addPopupMenu(u"Menu_Popup", u"...");
    menu.addItem(1);
    menu.setCaption(1, u"Show details");
    EXPECT_EQ(DumpWidget(u"s", menu),
        (Lines { "s.Menu_Popup visible=0 left=0 top=0 width=0 height=0", "  [0] \"...\"",
            "  [1] \"Show details\"" }));
}

TEST_F(WidgetDump, CommandButtonHeaderOnlyAndHalvesToEven)
{
    CommandButton& button = surface.addCommandButton(
        u"Command_Home", Geometry { 2.5, 3.5, 374.5, 345 }, ButtonPicture::House, true);
    EXPECT_EQ(
        DumpWidget(u"t", button), (Lines { "t.Command_Home visible=-1 left=2 top=4 width=374 height=345" }));
}

TEST_F(WidgetDump, ControlWithOuterAndInnerSize)
{
    EXPECT_EQ(DumpControl(u"t", surface), "t visible=-1 left=0 top=0 width=4800 height=3600 inner=4740,3540");
}

} // namespace
} // namespace vestrak
