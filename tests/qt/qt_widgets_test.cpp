#include "ports/widget_contract.h"
#include "qt_widgets/qt_colors.h"
#include "qt_widgets/qt_images.h"
#include "qt_widgets/qt_surface.h"
#include "qt_widgets/qt_tooltip.h"
#include "qt_widgets/qt_tree_view.h"

#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QScreen>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>
#include <functional>
#include <numeric>

using namespace vestrak;

INSTANTIATE_TEST_SUITE_P(Qt, WidgetContract,
    testing::Values(NamedSurfaceFactory { "Qt",
        [](FileSystem& files, double width, double height, double border) {
            return std::make_unique<QtSurface>(files, width, height, border);
        } }),
    surfaceFactoryName);

namespace {

template<typename Shown = QWidget> Shown& qtWidgetOf(Widget& widget)
{
    return static_cast<Shown&>(*dynamic_cast<QtWidgetBase&>(widget).qtWidget());
}

const auto rowAt = [](const QTreeView& view, int row) { return view.model()->index(row, 0); };

// The shown rows: a space per level, "+" before a closed branch, "-" before an open one, text, ", ".
std::string shownRows(const QtTreeView& view)
{
    const auto& model = static_cast<const NodeStoreModel&>(*view.model());
    std::string rows;
    for (int row = 0; row < model.rowCount(); ++row) {
        const RowBranches branches = model.branchesOf(rowAt(view, row));
        rows += std::string(static_cast<std::size_t>(branches.level), ' ')
            + (branches.hasChildren ? (branches.open ? "-" : "+") : "")
            + rowAt(view, row).data().toString().toStdString() + ", ";
    }
    return rows;
}

const auto drawn
    = [](ImageList list, int image) { return imageListIcon(list, image).pixmap(16, 16).toImage(); };

std::vector<bool> statusMask(int image)
{
    const QImage icon = drawn(ImageList::StatusIcons, image);
    std::vector<bool> covered;
    for (int pixel = 0; pixel < 256; ++pixel)
        covered.push_back(icon.pixelColor(pixel % 16, pixel / 16).alpha() >= 128);
    return covered;
}

// A shown surface with a tree of status images, its Qt view, and its events naming their nodes' keys.
class QtTreeTest : public testing::Test {
protected:
    void SetUp() override
    {
        surface->show();
        const auto note = [this](const char16_t* what, const NodeRef& node) {
            events += what + (node ? u" " + node->key() : u"") + u"; ";
        };
        connections += tree.Expand.connect([=](const NodeRef& node) { note(u"expand", node); });
        connections += tree.Collapse.connect([=](const NodeRef& node) { note(u"collapse", node); });
        connections += tree.NodeClick.connect([=](const NodeRef& node) { note(u"node", node); });
        connections += tree.Click.connect([=] { note(u"click", nullptr); });
        connections += tree.DblClick.connect([=] { note(u"dblclick", nullptr); });
        connections
            += tree.MouseDown.connect([=, this](std::int16_t button, std::int16_t, double x, double y) {
                   note(button == 1 ? u"down1" : u"down2", tree.hitTest(x, y));
               });
    }

    void press(std::initializer_list<QKeyCombination> keys)
    {
        for (const QKeyCombination key : keys)
            QTest::keyClick(&view, key.key(), key.keyboardModifiers());
    }

    NodeRef add(const NodeRef& parent, const std::u16string& key, const std::u16string& text, int image = 1)
    {
        return tree.add(parent, parent ? NodeRelationship::Child : NodeRelationship::Last, key, text, image);
    }

    LocalFileSystem files;
    std::unique_ptr<QtSurface> surface = std::make_unique<QtSurface>(files, 4800, 3600);
    Tree& tree = surface->addTree(u"Tree", { 0, 0, 3000, 1350 }, ImageList::StatusIcons, true);
    QtTreeView& view = qtWidgetOf<QtTreeView>(tree);
    std::u16string events;
    Connections connections;
};

} // namespace

TEST(QtSurface, TwipsFollowTheScreenDpiWithPixelsRounded)
{
    LocalFileSystem files;
    EXPECT_DOUBLE_EQ(QtSurface(files, 4800, 3600).twipsPerPixelX(),
        1440.0 / QApplication::primaryScreen()->logicalDotsPerInchX());

    QtSurface fixed(files, 4800, 3600, 30, nullptr, 15);
    EXPECT_EQ(fixed.size(), QSize(320, 240));
    CommandButton& button = fixed.addCommandButton(
        u"Command_Collapse", { 1740, 30, 195, 225 }, ButtonPicture::TriangleLeft, true);
    button.setLeft(2790.5);
    EXPECT_EQ(qtWidgetOf(button).geometry(), QRect(186, 2, 13, 15));
    EXPECT_EQ(qtWidgetOf(button).parentWidget()->pos(), QPoint(2, 2)) << "the border moves the inner area";
}

// That they raise no event on either widget set is the widget contract's.
TEST_F(QtTreeTest, StatesSetFromCodeShow)
{
    NodeRef top = add(nullptr, u"A", u"A");
    NodeRef child = add(top, u"B", u"B");
    top->setExpanded(true);
    child->setSelected(true);
    child->setImage(3);
    child->setImageMeaning(u"warning, blinking");
    child->setBackColor(0x0000FF);
    Toolbar& toolbar = surface->addToolbar(u"Bar", {}, ImageList::SystemIcons, true);
    toolbar.addButton(u"K4", 4)->setToolTipText(u"Pumps");
    toolbar.button(1)->setValue(1);
    ListBox& list = surface->addListBox(u"List", { 0, 0, 795, 780 }, true);
    list.addItem(u"one");
    list.setBackColor(0x00FF00);
    list.setListIndex(0);
    TextBox& text = surface->addTextBox(u"Text", {}, TextBoxLines::Single, true);
    text.setText(u"P*");

    const QModelIndex childRow = rowAt(view, 1);
    EXPECT_EQ(std::tuple(shownRows(view), view.currentIndex()), std::tuple("-A,  B, ", childRow));
    EXPECT_EQ(childRow.data(Qt::DecorationRole).value<QIcon>().cacheKey(),
        imageListIcon(ImageList::StatusIcons, 3).cacheKey());
    EXPECT_EQ(childRow.data(Qt::BackgroundRole).value<QBrush>().color(), QColor(255, 0, 0));
    EXPECT_FALSE(rowAt(view, 0).data(Qt::BackgroundRole).isValid()) << "the window background is no brush";
    child->setBackColor(0x302820);
    EXPECT_EQ(childRow.data(Qt::ForegroundRole).value<QBrush>().color(), QColor(Qt::white)) << "on dark";
    EXPECT_EQ(childRow.data(Qt::ToolTipRole), "A / B\nwarning, blinking") << "the path, then the status";
    EXPECT_EQ(childRow.data(Qt::AccessibleDescriptionRole), "warning, blinking; A / B");
    EXPECT_EQ(rowAt(view, 0).data(Qt::ToolTipRole), "A");
    const auto* toolButton = qtWidgetOf(toolbar).findChild<QToolButton*>();
    EXPECT_EQ(std::tuple(toolButton->isChecked(), toolButton->toolTip()), std::tuple(true, "Pumps"))
        << "plain";
    EXPECT_EQ(std::tuple(qtWidgetOf<QListWidget>(list).currentItem()->text(),
                  qtWidgetOf<QLineEdit>(text).text(), qtWidgetOf(list).palette().color(QPalette::Base)),
        std::tuple("one", "P*", QColor(0, 255, 0)));
}

TEST_F(QtTreeTest, NodesReachTheViewInOrderWithTheirBranchesOpenOrClosed)
{
    NodeRef plant = add(nullptr, u"P", u"Plant");
    add(add(plant, u"U", u"Pump"), u"M", u"Motor");
    tree.find(u"U")->setExpanded(true);
    NodeRef gone = add(nullptr, u"G", u"Gone");
    NodeRef works = add(nullptr, u"W", u"Works");
    EXPECT_TRUE(tree.operatorExpand(u"W")) << "opened by the operator before it has children";
    add(works, u"I", u"Intake");
    EXPECT_TRUE(tree.remove(gone));
    QApplication::processEvents();
    EXPECT_EQ(shownRows(view), "+Plant, -Works,  Intake, ");

    add(nullptr, u"L", u"Lab");
    EXPECT_TRUE(tree.operatorClick(u"L") && view.currentIndex() == rowAt(view, 3)) << "selected at once";
    EXPECT_TRUE(tree.operatorExpand(u"P"));
    EXPECT_EQ(shownRows(view), "-Plant,  -Pump,   Motor, -Works,  Intake, Lab, ")
        << "an open branch in a closed one stays open";

    // Opened while the tree is hidden, it shows scrolled as set.
    NodeRef units = add(nullptr, u"Z", u"Units");
    for (char16_t unit = u'A'; unit < u'A' + 30; ++unit)
        add(units, u"Z" + std::u16string(1, unit), u"Unit");
    QApplication::processEvents();
    tree.setVisible(false);
    QApplication::processEvents();
    units->setExpanded(true);
    tree.setScrollPosition(10);
    tree.setVisible(true);
    QApplication::processEvents();
    EXPECT_TRUE(view.verticalScrollBar()->value() == 10 && view.indexAt(QPoint(1, 1)) == rowAt(view, 10));

    NodeRef onItsWay = add(plant, u"N", u"New");
    surface.reset();
    QApplication::processEvents();
    EXPECT_FALSE(onItsWay->exists()) << "nodes still on their way to the view go with the tree";
}

// Only the drawing tells: blank image 0 keeps the text's place, an empty tree says why, focus shows.
TEST_F(QtTreeTest, TheViewDrawsWhatTheRowsCannotSay)
{
    const QImage empty = view.grab().toImage();
    tree.setPlaceholderText(u"No objects match the filter.");
    EXPECT_NE(view.grab().toImage(), empty) << "the placeholder is drawn in the empty tree";

    add(nullptr, u"A", u"Alarm", 4);
    EXPECT_TRUE(add(nullptr, u"B", u"Blank", 4)->setImage(0));
    QApplication::processEvents();
    const auto shownIcon
        = [this](int row) { return rowAt(view, row).data(Qt::DecorationRole).value<QIcon>(); };
    EXPECT_TRUE(!shownIcon(1).isNull()
        && shownIcon(1).actualSize(view.iconSize()) == shownIcon(0).actualSize(view.iconSize()));
    EXPECT_NE(view.grab().toImage(), empty) << "with nodes the placeholder goes";
    const QImage rows = view.viewport()->grab().toImage();
    const auto textOf = [&](int row) {
        const QRect shown = view.visualRect(rowAt(view, row));
        // Inside the focus frame.
        const int frame = QtTreeView::FocusFrameWidth;
        return rows.copy(shown.adjusted(view.iconSize().width() + 8, frame, -2 * frame, -frame));
    };
    EXPECT_NE(textOf(0), textOf(1)) << "each row's text is drawn";
    EXPECT_NE(view.palette().color(QPalette::Inactive, QPalette::Highlight),
        view.palette().color(QPalette::Active, QPalette::Highlight))
        << "without the focus the selection is drawn muted";

    // The focus shows round the rows, even with the selected row scrolled away.
    for (char16_t key = u'C'; key < u'C' + 20; ++key)
        add(nullptr, std::u16string(1, key), u"Row");
    tree.node(1)->setSelected(true);
    tree.setScrollPosition(15);
    QApplication::setActiveWindow(surface.get());
    view.setFocus();
    const QPoint leftEdge(0, view.viewport()->height() / 2);
    const QColor focusColour = view.palette().color(QPalette::Active, QPalette::Highlight);
    EXPECT_EQ(view.viewport()->grab().toImage().pixelColor(leftEdge), focusColour);
    view.clearFocus();
    EXPECT_NE(view.viewport()->grab().toImage().pixelColor(leftEdge), focusColour);
}

// A flash tick changes the icons of a whole plant: the view hears only of the rows it shows.
TEST_F(QtTreeTest, TheViewIsToldOnceOfEachShownRowThatLooksDifferent)
{
    std::vector<NodeRef> nodes;
    for (char16_t key = u'A'; key < u'A' + 30; ++key)
        nodes.push_back(add(nullptr, std::u16string(1, key), u"Row"));
    QApplication::processEvents();
    view.viewport()->repaint();
    const QSignalSpy told(view.model(), &QAbstractItemModel::dataChanged);
    int shown = 0;
    while (view.visualRect(rowAt(view, shown)).intersects(view.viewport()->rect()) && ++shown) { }

    for (NodeRef& node : nodes)
        EXPECT_TRUE(node->setImage(2));
    EXPECT_TRUE(nodes[1]->setImage(1)) << "changed back, the row looks as it did";
    nodes[2]->setBackColor(0x0000FF);
    QApplication::processEvents();
    EXPECT_EQ(told.count(), shown - 1);
    view.viewport()->repaint();

    EXPECT_TRUE(nodes[0]->setImage(3) && nodes[29]->setImage(3));
    QApplication::processEvents();
    EXPECT_TRUE(told.count() == shown && told.last().first().value<QModelIndex>() == rowAt(view, 0));

    // A tick tells the blinking rows shown at once, and only their icons are painted again: what
    // is on the screen then is what a whole paint draws, the selected row with the focus too.
    nodes[3]->setBlinkImages(1, 2);
    nodes[4]->setBlinkImages(2, 1);
    nodes[4]->setSelected(true);
    QApplication::setActiveWindow(surface.get());
    view.setFocus();
    QApplication::processEvents();
    view.viewport()->repaint();
    const QSignalSpy painted(&view, &QtTreeView::painted);
    tree.setBlinkPhase(BlinkPhase::On);
    EXPECT_EQ(told.count(), shown + 3);
    QApplication::processEvents();
    ASSERT_EQ(painted.count(), 1);
    const QRegion part = painted.first().first().value<QRegion>();
    for (const int row : { 3, 4 }) {
        const QRect rowRect = view.visualRect(rowAt(view, row));
        EXPECT_TRUE(part.intersects(rowRect) && !part.intersected(rowRect).contains(rowRect.topRight()))
            << "row " << row << ": its icon, not its text";
    }
    EXPECT_FALSE(part.intersects(view.visualRect(rowAt(view, 2))));
    const QPoint viewport = view.viewport()->mapTo(view.window(), QPoint(0, 0));
    const QImage onScreen = view.screen()
                                ->grabWindow(view.window()->winId(), viewport.x(), viewport.y(),
                                    view.viewport()->width(), view.viewport()->height())
                                .toImage()
                                .convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(onScreen, view.viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32));
}

// Rows reach Qt flat; the view opens branches as Qt's own tree, by mouse at every level and by keys:
// Enter double-clicks the selected row, the menu keys right-click it, * opens the branches below it.
TEST_F(QtTreeTest, BranchesOpenAndKeysActAsInQtsOwnTree)
{
    NodeRef plant = add(nullptr, u"P", u"Plant");
    NodeRef pump = add(plant, u"U", u"Pump");
    add(pump, u"M", u"Motor", 4);
    add(nullptr, u"W", u"Works");
    QApplication::processEvents();
    const int indent = view.indentation();
    const auto click = [this](int x, int row) {
        QTest::mouseClick(view.viewport(), Qt::LeftButton, {},
            QPoint(x, row * QtTreeView::RowHeight + QtTreeView::RowHeight / 2));
    };
    click(indent / 2, 0);
    click(indent + indent / 2, 1);
    EXPECT_EQ(shownRows(view), "-Plant,  -Pump,   Motor, Works, ");
    click(indent / 2, 2);
    EXPECT_EQ(view.textIndent(rowAt(view, 2)), 3 * indent) << "each level one column further in";
    click(3 * indent + 4, 2);
    EXPECT_EQ(events,
        u"down1 P; click; expand P; down1 U; click; expand U; down1 M; node M; click; down1 M; node M; "
        u"click; ")
        << "left of a row's own column, off its indicator, a press selects the row as a right one does";

    events.clear();
    view.setFocus();
    press({ Qt::Key_Left, Qt::Key_Left });
    EXPECT_EQ(shownRows(view), "-Plant,  +Pump, Works, ");
    press({ Qt::Key_Right, Qt::Key_Minus, Qt::ShiftModifier | Qt::Key_Plus });
    EXPECT_EQ(events, u"node U; collapse U; expand U; collapse U; expand U; ")
        << "+ as the keyboard sends it, with Shift";
    EXPECT_EQ(view.currentIndex(), rowAt(view, 1)) << "the selected row stays selected as rows come and go";

    ASSERT_TRUE(tree.operatorClick(u"P"));
    plant->setExpanded(false);
    pump->setExpanded(false);
    events.clear();
    press({ Qt::Key_Asterisk, Qt::Key_Return, Qt::Key_Menu, Qt::ShiftModifier | Qt::Key_F10 });
    EXPECT_FALSE(tree.find(u"M")->expanded()) << "leaves are no branches to open";
    EXPECT_EQ(events, u"expand P; expand U; node P; dblclick; down2 P; click; down2 P; click; ");
}

TEST_F(QtTreeTest, OperatorActionsOnQtWidgetsReachTheControl)
{
    Toolbar& toolbar = surface->addToolbar(u"Toolbar", { 0, 0, 1935, 330 }, ImageList::SystemIcons, true);
    ButtonRef first = toolbar.addButton(u"K4", 4);
    toolbar.addButton(u"K5", 5);
    connections += toolbar.ButtonClick.connect([this](const ButtonRef& button) { events += button->key(); });
    const QList<QToolButton*> buttons = qtWidgetOf(toolbar).findChildren<QToolButton*>();
    ASSERT_EQ(buttons.size(), 2);
    const QColor unpressed = buttons[0]->grab().toImage().pixelColor(1, 11);
    QTest::keyClick(buttons[0], Qt::Key_Space);
    EXPECT_TRUE(first->value() == 1 && events == u"K4");
    const QColor pressed = buttons[0]->grab().toImage().pixelColor(1, 11);
    EXPECT_TRUE(pressed == buttons[0]->palette().color(QPalette::Highlight) && pressed != unpressed)
        << "a pressed button looks pressed";

    ListBox& list = surface->addListBox(u"List", { 0, 330, 795, 780 }, true);
    list.addItem(u"Pump 1");
    list.addItem(u"Pump 2");
    list.setListIndex(0);
    QTest::keyClick(&qtWidgetOf(list), Qt::Key_Down);
    EXPECT_EQ(list.listIndex(), 1) << "the keyboard moved the list index";

    PopupMenu& menu = surface->addPopupMenu(u"Menu", u"Acknowledge");
    menu.popup();
    QTest::keyClick(&qtWidgetOf(menu), Qt::Key_Escape);
    EXPECT_FALSE(menu.operatorChoose(0)) << "the operator dismissed the menu";
}

TEST(QtLooks, HostValuesReadAsTheHostMeantThem)
{
    QWidget widget;
    EXPECT_EQ(toolTipText(u"Collapse <tree>\r\nnotice", widget), "Collapse <tree>\nnotice") << "plain text";
    EXPECT_EQ(toolTipText(u"<b>Pumps</b>", widget), "<qt>&lt;b&gt;Pumps&lt;/b&gt;</qt>")
        << "shown as written";
    EXPECT_TRUE(toolTipText(u"", widget).isEmpty());
    const QStringList wrapped
        = toolTipText(QString("pumps ").repeated(60).toStdU16String(), widget).split('\n');
    EXPECT_GT(wrapped.size(), 2);
    for (const QString& line : wrapped)
        EXPECT_LE(QFontMetrics(widget.font()).horizontalAdvance(line), 300) << line.toStdString();

    const QPalette palette = QApplication::palette();
    EXPECT_TRUE(toQColor(0x80000005u, palette) == palette.color(QPalette::Base)
        && toQColor(0x8000000Fu, palette) == palette.color(QPalette::Button)
        && toQColor(0x000080FFu, palette) == QColor(0xFF, 0x80, 0x00));
}

TEST(QtLooks, ImagesAreDrawnAsListed)
{
    const QColor globe = drawn(ImageList::SystemIcons, 1).pixelColor(4, 6);
    EXPECT_TRUE(globe.green() > std::max(globe.red(), globe.blue()));
    EXPECT_GT(drawn(ImageList::SystemIcons, 2).pixelColor(8, 4).red(), 150) << "a red roof";
    const auto hue
        = [](int image) { return drawn(ImageList::StatusIcons, image).pixelColor(11, 11).hsvHue(); };
    EXPECT_TRUE(std::abs(hue(2) - 125) <= 15 && std::abs(hue(3) - 42) <= 8 && (hue(4) + 10) % 360 < 20)
        << "green, amber, red: " << hue(2) << ", " << hue(3) << ", " << hue(4);
    EXPECT_TRUE(statusMask(5) == statusMask(2) && statusMask(6) == statusMask(2))
        << "a marked green keeps the ball";
    for (int image = 1; image <= 6; ++image)
        for (QPoint corner : { QPoint(0, 0), QPoint(15, 0), QPoint(0, 15), QPoint(15, 15) })
            EXPECT_EQ(drawn(ImageList::StatusIcons, image).pixelColor(corner).alpha(), 0) << image;
    int darkPixels = 0, colouredPixels = 0;
    for (int pixel = 0; pixel < 256; ++pixel) {
        const QColor colour = drawn(ImageList::StatusIcons, 1).pixelColor(pixel % 16, pixel / 16);
        colouredPixels += colour.alpha() > 0 && colour.hsvSaturation() >= 20 ? 1 : 0;
        darkPixels += colour.alpha() > 200 && colour.value() < 80 ? 1 : 0;
    }
    EXPECT_TRUE(colouredPixels == 0 && darkPixels > 6)
        << "unknown, grey with a dark mark, is no warning: " << colouredPixels << " coloured, " << darkPixels;
    // Told apart without colour: a round ball, a red square filling its corners, an amber triangle.
    for (const auto& [one, other] : { std::pair(2, 3), std::pair(2, 4), std::pair(3, 4) }) {
        const std::vector<bool> a = statusMask(one), b = statusMask(other);
        EXPECT_GT(
            std::inner_product(a.begin(), a.end(), b.begin(), 0, std::plus<>(), std::not_equal_to<>()), 25)
            << one << " and " << other;
    }
    EXPECT_EQ(std::vector<bool>({ statusMask(2)[2 * 16 + 2], statusMask(4)[2 * 16 + 2],
                  statusMask(3)[3 * 16 + 3], statusMask(3)[13 * 16 + 2] }),
        std::vector<bool>({ false, true, false, true }));

    EXPECT_GT(drawn(ImageList::FilterToolbar, 2).pixelColor(2, 6).alpha(), 0);
    for (const auto& [list, image] :
        { std::pair(ImageList::FilterToolbar, 3), std::pair(ImageList::StatusIcons, 0) }) {
        EXPECT_EQ(imageListIcon(list, image).actualSize(QSize(16, 16)), QSize(16, 16))
            << "a blank keeps its room";
        EXPECT_EQ(drawn(list, image).pixelColor(8, 8).alpha(), 0);
    }
}

TEST(QtLooks, ButtonPicturesAreDrawnForEveryDevicePixel)
{
    EXPECT_TRUE(buttonPictureSize(ButtonPicture::LowerRightCorner) == QSize(6, 6)
        && buttonPictureSize(ButtonPicture::TriangleLeft) == QSize(5, 9));
    const QImage corner
        = buttonPictureIcon(ButtonPicture::LowerRightCorner).pixmap(QSize(6, 6), 3.0).toImage();
    ASSERT_EQ(corner.size(), QSize(18, 18));
    const QImage left = buttonPictureIcon(ButtonPicture::TriangleLeft).pixmap(QSize(5, 9), 2.0).toImage();
    const QImage down = buttonPictureIcon(ButtonPicture::TriangleDown).pixmap(16, 16).toImage();
    for (const auto& [image, inked, clear] :
        { std::tuple(corner, QPoint(17, 17), QPoint(1, 1)), std::tuple(corner, QPoint(17, 17), QPoint(12, 4)),
            std::tuple(left, QPoint(1, 9), QPoint(1, 1)), std::tuple(down, QPoint(8, 7), QPoint(8, 12)) }) {
        EXPECT_EQ(image.pixelColor(inked), QColor(Qt::black)) << inked.x() << "," << inked.y();
        EXPECT_EQ(image.pixelColor(clear).alpha(), 0) << clear.x() << "," << clear.y();
    }
}
