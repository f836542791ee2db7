#include "ports/widget_contract.h"
#include "qt/qt_colors.h"
#include "qt/qt_images.h"
#include "qt/qt_surface.h"
#include "qt/qt_tooltip.h"
#include "qt/qt_tree_view.h"

#include <QApplication>
#include <QDir>
#include <QImageWriter>
#include <QLineEdit>
#include <QListWidget>
#include <QScreen>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

using namespace vestrak;

INSTANTIATE_TEST_SUITE_P(Qt, WidgetContract,
    testing::Values(NamedSurfaceFactory { "Qt",
        [](double width, double height, double border) {
            return std::make_unique<QtSurface>(width, height, border);
        } }),
    surfaceFactoryName);

namespace {

QWidget& qtWidgetOf(Widget& widget)
{
    return *dynamic_cast<QtWidgetBase&>(widget).qtWidget();
}

// The view's row reached through the rows of the top nodes and their children, in turn.
QModelIndex rowAt(const QTreeView& view, std::initializer_list<int> rows)
{
    QModelIndex index;
    for (const int row : rows)
        index = view.model()->index(row, 0, index);
    return index;
}

QString textOf(const QModelIndex& index)
{
    return index.data().toString();
}

QColor pixelOf(const QIcon& icon, int x, int y)
{
    return icon.pixmap(16, 16).toImage().pixelColor(x, y);
}

} // namespace

TEST(QtSurface, TwipsComeFromTheScreenDpiAndOnlyThePixelsAreRounded)
{
    QtSurface surface(4800, 3600, 30);
    const double expected = 1440.0 / QApplication::primaryScreen()->logicalDotsPerInchX();
    EXPECT_DOUBLE_EQ(surface.twipsPerPixelX(), expected);

    QtSurface fixed(4800, 3600, 30, nullptr, 15);
    EXPECT_EQ(fixed.size(), QSize(320, 240));
    CommandButton& button = fixed.addCommandButton(
        u"Command_Collapse", { 1740, 30, 195, 225 }, ButtonPicture::TriangleLeft, true);
    button.setLeft(2790.5);
    EXPECT_EQ(button.left(), 2790.5);
    EXPECT_EQ(qtWidgetOf(button).geometry(), QRect(186, 2, 13, 15));
    EXPECT_EQ(qtWidgetOf(button).parentWidget()->pos(), QPoint(2, 2)) << "the border moves the inner area";
}

TEST(QtSurface, FollowsTheOperatorsFocusAndEndsWhileAWidgetHasIt)
{
    auto surface = std::make_unique<QtSurface>(4800, 3600);
    TextBox& text = surface->addTextBox(u"Text_Filter", { 72, 2088, 1848, 240 }, TextBoxLines::Single, true);
    surface->show();
    QApplication::setActiveWindow(surface.get());
    qtWidgetOf(text).setFocus();
    EXPECT_EQ(surface->focusedWidget(), &text);
    surface.reset();
}

TEST(QtSurface, StatesSetFromCodeEmitNoQtSignals)
{
    QtSurface surface(4800, 3600);
    Tree& tree = surface.addTree(u"Tree", { 0, 0, 3000, 1350 }, ImageList::SystemIcons, true);
    auto& view = static_cast<QtTreeView&>(qtWidgetOf(tree));
    QSignalSpy expanded(&view, &QTreeView::expanded);
    QSignalSpy current(&view, &QtTreeView::keyboardMovedTo);
    NodeRef top = tree.add(nullptr, NodeRelationship::Last, u"A", u"A", 1);
    NodeRef child = tree.add(top, NodeRelationship::Child, u"B", u"B", 1);
    top->setExpanded(true);
    child->setSelected(true);
    child->setImage(3);
    child->setBackColor(0x0000FF);

    Toolbar& toolbar = surface.addToolbar(u"Bar", {}, ImageList::SystemIcons, true);
    toolbar.addButton(u"K4", 4);
    auto* toolButton = qtWidgetOf(toolbar).findChild<QToolButton*>();
    QSignalSpy toggled(toolButton, &QToolButton::toggled);
    toolbar.button(1)->setValue(1);

    ListBox& list = surface.addListBox(u"List", { 0, 0, 795, 780 }, true);
    list.addItem(u"one");
    QSignalSpy row(&static_cast<QListWidget&>(qtWidgetOf(list)), &QListWidget::currentRowChanged);
    list.setListIndex(0);

    TextBox& text = surface.addTextBox(u"Text", {}, TextBoxLines::Single, true);
    QSignalSpy edited(&static_cast<QLineEdit&>(qtWidgetOf(text)), &QLineEdit::textChanged);
    text.setText(u"P*");

    EXPECT_EQ(expanded.count() + current.count() + toggled.count() + row.count() + edited.count(), 0);
    EXPECT_TRUE(view.isExpanded(rowAt(view, { 0 })));
    EXPECT_EQ(view.currentIndex(), rowAt(view, { 0, 0 }));
    const QModelIndex childRow = rowAt(view, { 0, 0 });
    EXPECT_EQ(childRow.data(Qt::DecorationRole).value<QIcon>().cacheKey(),
        imageListIcon(ImageList::SystemIcons, 3).cacheKey());
    EXPECT_EQ(childRow.data(Qt::BackgroundRole).value<QBrush>().color(), QColor(255, 0, 0));
    EXPECT_FALSE(rowAt(view, { 0 }).data(Qt::BackgroundRole).isValid())
        << "the window background is no brush";
    EXPECT_TRUE(toolButton->isChecked());
    EXPECT_EQ(static_cast<QLineEdit&>(qtWidgetOf(text)).text(), "P*");
}

TEST(QtSurface, ABranchOpenedByTheOperatorBeforeItHasChildrenShowsThemOpen)
{
    QtSurface surface(4800, 3600);
    Tree& tree = surface.addTree(u"Tree", { 0, 0, 3000, 1350 }, ImageList::SystemIcons, true);
    NodeRef leaf = tree.add(nullptr, NodeRelationship::Last, u"A", u"A", 1);
    int expands = 0;
    tree.Expand.connect([&](const NodeRef&) { ++expands; });
    EXPECT_TRUE(tree.operatorExpand(u"A"));
    EXPECT_EQ(expands, 1);
    tree.add(leaf, NodeRelationship::Child, u"B", u"B", 1);
    EXPECT_TRUE(leaf->expanded());
    QApplication::processEvents();
    const auto& view = static_cast<QtTreeView&>(qtWidgetOf(tree));
    EXPECT_TRUE(view.isExpanded(rowAt(view, { 0 })));
}

TEST(QtSurface, NodesAddedFromCodeReachTheViewInOrderWithTheirBranchesOpenOrClosed)
{
    QtSurface surface(4800, 3600);
    surface.show();
    Tree& tree = surface.addTree(u"Tree", { 0, 0, 3000, 1350 }, ImageList::SystemIcons, true);
    auto& view = static_cast<QtTreeView&>(qtWidgetOf(tree));
    NodeRef plant = tree.add(nullptr, NodeRelationship::Last, u"P", u"Plant", 1);
    NodeRef pump = tree.add(plant, NodeRelationship::Child, u"U", u"Pump", 1);
    tree.add(pump, NodeRelationship::Child, u"M", u"Motor", 1);
    pump->setExpanded(true);
    NodeRef gone = tree.add(nullptr, NodeRelationship::Last, u"G", u"Gone", 1);
    NodeRef works = tree.add(nullptr, NodeRelationship::Last, u"W", u"Works", 1);
    works->setExpanded(true);
    tree.add(works, NodeRelationship::Child, u"I", u"Intake", 1);
    EXPECT_EQ(tree.node(3)->fullPath(), u"Plant\\Pump\\Motor");
    EXPECT_TRUE(tree.remove(gone));
    QApplication::processEvents();

    ASSERT_EQ(view.model()->rowCount(), 2);
    EXPECT_FALSE(view.isExpanded(rowAt(view, { 0 })));
    EXPECT_TRUE(view.isExpanded(rowAt(view, { 0, 0 }))) << "an open branch in a closed one stays open";
    EXPECT_TRUE(view.isExpanded(rowAt(view, { 1 })));
    EXPECT_EQ(textOf(rowAt(view, { 1, 0 })), "Intake");

    tree.add(nullptr, NodeRelationship::Last, u"L", u"Lab", 1);
    EXPECT_TRUE(tree.operatorClick(u"L"));
    ASSERT_EQ(view.model()->rowCount(), 3) << "an operator action reaches the node at once";
    EXPECT_EQ(view.currentIndex(), rowAt(view, { 2 }));
}

TEST(QtSurface, NodesStillOnTheirWayToTheViewGoWithTheTree)
{
    auto surface = std::make_unique<QtSurface>(4800, 3600);
    Tree& tree = surface->addTree(u"Tree", { 0, 0, 3000, 1350 }, ImageList::SystemIcons, true);
    NodeRef cleared = tree.add(nullptr, NodeRelationship::Last, u"A", u"A", 1);
    tree.clear();
    EXPECT_FALSE(cleared->exists());
    NodeRef kept = tree.add(nullptr, NodeRelationship::Last, u"B", u"B", 1);
    tree.add(kept, NodeRelationship::Child, u"C", u"C", 1);
    surface.reset();
    QApplication::processEvents();
    EXPECT_FALSE(kept->exists());
}

TEST(QtSurface, BranchesOpenedWhileTheTreeIsHiddenShowLaidOutAndScrolled)
{
    QtSurface surface(4800, 3600);
    surface.show();
    Tree& tree = surface.addTree(u"Tree", { 0, 0, 3000, 1350 }, ImageList::SystemIcons, true);
    auto& view = static_cast<QtTreeView&>(qtWidgetOf(tree));
    NodeRef plant = tree.add(nullptr, NodeRelationship::Last, u"P", u"Plant", 1);
    for (int unit = 0; unit < 30; ++unit) {
        const std::u16string key = u"U" + std::u16string(1, static_cast<char16_t>(u'A' + unit));
        tree.add(plant, NodeRelationship::Child, key, key, 1);
    }
    QApplication::processEvents();
    tree.setVisible(false);
    QApplication::processEvents();
    plant->setExpanded(true);
    tree.setScrollPosition(10);
    tree.setVisible(true);
    QApplication::processEvents();

    EXPECT_EQ(view.verticalScrollBar()->value(), 10);
    EXPECT_EQ(view.indexAt(QPoint(1, 1)), rowAt(view, { 0, 9 }));
}

TEST(QtSurface, PicturesLoadThroughQtImageReadersTiffIncluded)
{
    QTemporaryDir folder;
    QImage drawn(8, 8, QImage::Format_RGB32);
    drawn.fill(Qt::red);
    ASSERT_TRUE(QImageWriter(folder.filePath("P1.tif")).write(drawn)) << "the TIFF plugin is installed";
    QFile garbage(folder.filePath("P2.jpg"));
    ASSERT_TRUE(garbage.open(QIODevice::WriteOnly));
    garbage.write("not a picture");
    garbage.close();

    QtSurface surface(4800, 3600);
    PictureBox& picture = surface.addPictureBox(u"Picture_Object", { 0, 0, 2415, 3600 }, true);
    EXPECT_TRUE(picture.loadPicture(folder.filePath("P1.tif").toStdU16String()));
    EXPECT_FALSE(picture.loadPicture(folder.filePath("P2.jpg").toStdU16String()));
    EXPECT_EQ(picture.picturePath(), folder.filePath("P1.tif").toStdU16String());
}

TEST(QtLooks, ToolTipsKeepTheirLineBreaksAndWrapAt300Pixels)
{
    QWidget widget;
    EXPECT_EQ(toolTipHtml(u"Collapse <tree>\r\nnotice", widget), "<qt>Collapse &lt;tree&gt;<br>notice</qt>");
    const QString wrapped = toolTipHtml(std::u16string(200, u'x'), widget);
    EXPECT_TRUE(wrapped.startsWith("<table width=\"300\">")) << wrapped.toStdString();
    EXPECT_EQ(toolTipHtml(u"", widget), "");
}

TEST(QtLooks, HostColoursAreBgrOrSystemColoursOfThePalette)
{
    const QPalette palette = QApplication::palette();
    EXPECT_EQ(toQColor(0x80000005u, palette), palette.color(QPalette::Base));
    EXPECT_EQ(toQColor(0x8000000Fu, palette), palette.color(QPalette::Button));
    EXPECT_EQ(toQColor(0x000080FFu, palette), QColor(0xFF, 0x80, 0x00));
}

TEST(QtLooks, ImagesAreDrawnInTheirListedColours)
{
    for (int image = 4; image <= 11; ++image)
        EXPECT_EQ(pixelOf(imageListIcon(ImageList::SystemIcons, image), 7, 6), flagColor(image)) << image;
    const QColor globe = pixelOf(imageListIcon(ImageList::SystemIcons, 1), 4, 6);
    EXPECT_TRUE(globe.green() > globe.red() && globe.green() > globe.blue());
    EXPECT_GT(pixelOf(imageListIcon(ImageList::SystemIcons, 2), 8, 4).red(), 150) << "a red roof";

    const auto statusHue
        = [](int image) { return pixelOf(imageListIcon(ImageList::StatusIcons, image), 11, 11).hsvHue(); };
    for (int image = 1; image <= 6; ++image)
        EXPECT_EQ(pixelOf(imageListIcon(ImageList::StatusIcons, image), 0, 0), QColor(Qt::white)) << image;
    EXPECT_EQ(pixelOf(imageListIcon(ImageList::StatusIcons, 1), 11, 11).hsvSaturation(), 0) << "grey";
    for (int green : { 2, 5, 6 })
        EXPECT_NEAR(statusHue(green), 125, 15);
    EXPECT_NEAR(statusHue(3), 42, 8) << "amber";
    EXPECT_LT((statusHue(4) + 10) % 360, 20) << "red";
    const QColor questionMark = pixelOf(imageListIcon(ImageList::StatusIcons, 1), 8, 9);
    EXPECT_NEAR(questionMark.hsvHue(), 30, 10) << "orange";

    EXPECT_TRUE(
        imageListIcon(ImageList::FilterToolbar, 2).pixmap(16, 16).toImage().pixelColor(2, 6).alpha() > 0);
    for (const QIcon& none :
        { imageListIcon(ImageList::FilterToolbar, 3), imageListIcon(ImageList::StatusIcons, 0) }) {
        EXPECT_EQ(none.actualSize(QSize(16, 16)), QSize(16, 16)) << "a blank keeps the image's room";
        EXPECT_EQ(pixelOf(none, 8, 8).alpha(), 0);
    }
}

TEST(QtLooks, ButtonPicturesAreDrawnForEveryDevicePixel)
{
    EXPECT_EQ(buttonPictureSize(ButtonPicture::LowerRightCorner), QSize(6, 6));
    EXPECT_EQ(buttonPictureSize(ButtonPicture::TriangleLeft), QSize(5, 9));
    const QImage corner
        = buttonPictureIcon(ButtonPicture::LowerRightCorner).pixmap(QSize(6, 6), 3.0).toImage();
    ASSERT_EQ(corner.size(), QSize(18, 18));
    EXPECT_EQ(corner.pixelColor(17, 17), QColor(Qt::black));
    EXPECT_EQ(corner.pixelColor(1, 1).alpha(), 0) << "the upper left half stays empty";
    EXPECT_EQ(corner.pixelColor(12, 4).alpha(), 0);
    const QImage left = buttonPictureIcon(ButtonPicture::TriangleLeft).pixmap(QSize(5, 9), 2.0).toImage();
    EXPECT_EQ(left.pixelColor(1, 9), QColor(Qt::black)) << "the tip points left";
    EXPECT_EQ(left.pixelColor(1, 1).alpha(), 0);
    const QImage down = buttonPictureIcon(ButtonPicture::TriangleDown).pixmap(16, 16).toImage();
    EXPECT_EQ(down.pixelColor(8, 7), QColor(Qt::black));
    EXPECT_EQ(down.pixelColor(8, 12).alpha(), 0);
}

// The dark phase of a blinking status shows image 0: the text must stay where it was.
TEST(QtTreeLooks, ImageZeroKeepsTheIconsRoomAndAnEmptyFilteredTreeSaysWhy)
{
    QtSurface surface(4800, 3600);
    surface.show();
    Tree& tree = surface.addTree(u"Tree", { 0, 0, 3000, 1350 }, ImageList::StatusIcons, true);
    auto& view = static_cast<QtTreeView&>(qtWidgetOf(tree));
    const QImage empty = view.grab().toImage();
    tree.setPlaceholderText(u"No objects match the filter.");
    EXPECT_NE(view.grab().toImage(), empty) << "the placeholder is drawn in the empty tree";

    NodeRef lit = tree.add(nullptr, NodeRelationship::Last, u"A", u"Alarm", 4);
    NodeRef blank = tree.add(nullptr, NodeRelationship::Last, u"B", u"Blank", 4);
    EXPECT_TRUE(blank->setImage(0));
    QApplication::processEvents();
    const auto shownIcon = [&view](int row) {
        return view.model()->data(view.model()->index(row, 0), Qt::DecorationRole).value<QIcon>();
    };
    EXPECT_EQ(shownIcon(1).actualSize(view.iconSize()), shownIcon(0).actualSize(view.iconSize()));
    EXPECT_FALSE(shownIcon(1).isNull());
    EXPECT_NE(view.grab().toImage(), empty) << "with nodes the placeholder goes";
}

TEST(QtTreeLooks, TheTreeWithoutFocusDrawsItsSelectionMuted)
{
    QtSurface surface(4800, 3600);
    Tree& tree = surface.addTree(u"Tree", { 0, 0, 3000, 1350 }, ImageList::SystemIcons, true);
    const QPalette& colours = qtWidgetOf(tree).palette();
    EXPECT_NE(colours.color(QPalette::Inactive, QPalette::Highlight),
        colours.color(QPalette::Active, QPalette::Highlight));
}

TEST(QtTreeKeys, EnterOpensMenuKeysRightClickTheSelectedRowAndStarOpensOnlyBranches)
{
    QtSurface surface(4800, 3600);
    surface.show();
    Tree& tree = surface.addTree(u"Tree", { 0, 0, 3000, 1350 }, ImageList::SystemIcons, true);
    auto& view = static_cast<QtTreeView&>(qtWidgetOf(tree));
    NodeRef plant = tree.add(nullptr, NodeRelationship::Last, u"P", u"Plant", 1);
    NodeRef pump = tree.add(plant, NodeRelationship::Child, u"U", u"Pump", 1);
    NodeRef motor = tree.add(pump, NodeRelationship::Child, u"M", u"Motor", 4);
    NodeRef valve = tree.add(plant, NodeRelationship::Child, u"V", u"Valve", 4);
    ASSERT_TRUE(tree.operatorClick(u"P"));
    std::vector<std::u16string> events;
    tree.Expand.connect([&](const NodeRef& node) { events.push_back(u"expand " + node->key()); });
    tree.DblClick.connect([&] { events.emplace_back(u"dblclick"); });
    tree.Click.connect([&] { events.emplace_back(u"click"); });
    tree.MouseDown.connect([&](std::int16_t button, std::int16_t, double x, double y) {
        const NodeRef at = tree.hitTest(x, y);
        events.push_back(u"down" + std::u16string(1, static_cast<char16_t>(u'0' + button)) + u" "
            + (at ? at->key() : u"none"));
    });

    QTest::keyClick(&view, Qt::Key_Asterisk);
    EXPECT_FALSE(motor->expanded() || valve->expanded()) << "leaves are no branches to open";
    QTest::keyClick(&view, Qt::Key_Return);
    QTest::keyClick(&view, Qt::Key_Menu);
    QTest::keyClick(&view, Qt::Key_F10, Qt::ShiftModifier);
    EXPECT_EQ(events,
        (std::vector<std::u16string> {
            u"expand P", u"expand U", u"dblclick", u"down2 P", u"click", u"down2 P", u"click" }));
}

TEST(QtToolbarKeys, ButtonsTakeTabAndSpaceAndLookPressedWhenPressed)
{
    QtSurface surface(4800, 3600);
    surface.show();
    Toolbar& toolbar = surface.addToolbar(u"Toolbar", { 0, 0, 1935, 330 }, ImageList::SystemIcons, true);
    ButtonRef first = toolbar.addButton(u"K4", 4);
    toolbar.addButton(u"K5", 5);
    std::vector<std::u16string> clicked;
    toolbar.ButtonClick.connect([&](const ButtonRef& button) { clicked.push_back(button->key()); });
    const QList<QToolButton*> buttons = qtWidgetOf(toolbar).findChildren<QToolButton*>();
    ASSERT_EQ(buttons.size(), 2);
    const QColor unpressed = buttons[0]->grab().toImage().pixelColor(1, 11);

    EXPECT_TRUE(buttons[0]->focusPolicy() & Qt::TabFocus);
    QTest::keyClick(buttons[0], Qt::Key_Space);
    EXPECT_EQ(first->value(), 1);
    EXPECT_EQ(clicked, std::vector<std::u16string> { u"K4" });
    const QColor pressed = buttons[0]->grab().toImage().pixelColor(1, 11);
    EXPECT_EQ(pressed, buttons[0]->palette().color(QPalette::Highlight));
    EXPECT_NE(pressed, unpressed);
}
