#include "widget_contract.h"

#include "support/temporary_folder.h"
#include "widgets/picture_check.h"

#include <array>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

using namespace vestrak;

namespace {

constexpr double RowTwips = 18 * 15;

const auto Widened = [](std::string_view text) { return std::u16string(text.begin(), text.end()); };
const auto Decimal = [](std::int64_t number) { return Widened(std::to_string(number)); };

const auto Narrow = [](std::u16string_view text) { return std::string(text.begin(), text.end()); };

const auto Described = [](const NodeRef& node) {
    return node ? Decimal(node->index()) + u":" + node->fullPath() + u"(" + Decimal(node->children()) + u")"
                : u"-";
};

std::u16string Listed(const Tree& tree)
{
    std::u16string listed;
    for (std::int32_t index = 0; index <= tree.count() + 1; ++index)
        listed += Described(tree.node(index)) + u" ";
    return listed;
}

const auto KeyOf = [](const NodeRef& node) { return node ? node->key() : u"-"; };

std::u16string ShownKeys(const Tree& tree)
{
    std::u16string keys;
    for (double row = 0.5; row < 5; ++row)
        keys += KeyOf(tree.hitTest(10, row * RowTwips)) + u" ";
    return keys;
}

NodeRef add(Tree& tree, const NodeRef& parent, std::u16string_view key, std::u16string_view text = u"N",
    std::int32_t image = 1)
{
    return tree.add(parent, parent ? NodeRelationship::Child : NodeRelationship::Last, key, text, image);
}

// Events as "what; ": a node click says if it came before the selection, a press names its row's key.
struct TreeEvents {
    std::string log;
    double pressedY = 0;
    Connections connections;

    explicit TreeEvents(Tree& tree)
    {
        const auto note = [this](const char* what) { return [this, what](auto&&...) { log += what; }; };
        connections += tree.Expand.connect(note("expand; "));
        connections += tree.Collapse.connect(note("collapse; "));
        connections
            += tree.MouseDown.connect([this, &tree](std::int16_t button, std::int16_t, double x, double y) {
                   log += "down" + std::to_string(button) + " " + Narrow(KeyOf(tree.hitTest(x, y))) + "; ";
                   pressedY = y;
               });
        connections += tree.NodeClick.connect([this, &tree](const NodeRef& node) {
            log += "node " + Narrow(node->key())
                + (tree.selectedNode() == node ? "; " : " before its selection; ");
        });
        for (const auto& [signal, what] :
            { std::pair(&tree.Click, "click; "), { &tree.DblClick, "dblclick; " },
                { &tree.MouseMove, "move; " }, { &tree.KeyDown, "key; " }, { &tree.Scroll, "scroll; " } })
            connections += signal->connect(note(what));
    }

    std::string take() { return std::exchange(log, {}); }
    std::string take(bool acted) { return (acted ? "" : "refused; ") + take(); }
};

struct NumberedLines final : LentNodeTexts {
    mutable int asked = 0;

    void keyAndText(std::uint32_t reference, std::u16string& key, std::u16string& text) const override
    {
        ++asked;
        key = u"L" + Decimal(reference);
        text = u"Line " + Decimal(reference);
    }

    std::optional<std::uint32_t> referenceOfKey(std::u16string_view key) const override
    {
        return key.starts_with(u"L")
            ? std::optional(static_cast<std::uint32_t>(std::stoul(Narrow(key.substr(1)))))
            : std::nullopt;
    }
};

} // namespace

TEST_P(WidgetContract, TreeNodesAreNumberedInOrderOfAdditionUnderUniqueKeys)
{
    Tree& tree = addTree();
    NodeRef plant = add(tree, nullptr, u"P/0", u"Plant");
    NodeRef pump = add(tree, plant, u"P1/1", u"Pump");
    NodeRef motor = add(tree, pump, u"P11/2", u"Motor");
    add(tree, nullptr, u"Q/3", u"Utilities");
    EXPECT_EQ(add(tree, plant, u"P1/1"), nullptr);
    EXPECT_EQ(Listed(tree), u"- 1:Plant(1) 2:Plant\\Pump(1) 3:Plant\\Pump\\Motor(0) 4:Utilities(0) - ");
    EXPECT_EQ(std::tuple(motor->parent(), tree.find(u"P11/2"), plant->parent(), tree.find(u"p11/2")),
        std::tuple(pump, motor, NodeRef(), NodeRef()));

    ASSERT_TRUE(tree.remove(pump));
    EXPECT_EQ(Listed(tree), u"- 1:Plant(0) 2:Utilities(0) - ");
    EXPECT_FALSE(motor->exists() || tree.find(u"P11/2"));
    EXPECT_TRUE(add(tree, plant, u"P1/1")) << "a removed key is free";

    // Many growths of the key index and text blocks, texts longer than a block, refused twins.
    std::vector<NodeRef> many;
    const auto key = [](int number) { return u"W" + Decimal(number % 97) + u"/" + Decimal(number); };
    for (int number = 0; number < 5000; ++number) {
        many.push_back(add(tree, nullptr, key(number),
            Decimal(number * 7919) + std::u16string(number % 1000 == 500 ? 40000 : 0, u'a')));
        ASSERT_EQ(add(tree, nullptr, key(number), u"twin"), nullptr);
    }
    for (int number = 0; number < 5000; ++number)
        ASSERT_TRUE(tree.find(key(number)) == many[number]
            && many[number]->text().starts_with(Decimal(number * 7919))
            && (many[number]->text().size() > 40000) == (number % 1000 == 500))
            << number;
}

TEST_P(WidgetContract, LentNodesActAsOwnNodesWithTextsReadOnlyWhenNeeded)
{
    Tree& tree = addTree();
    auto lines = std::make_shared<NumberedLines>();
    NodeRef top = tree.addLent(nullptr, NodeRelationship::Last, lines, 0, 1);
    ASSERT_EQ(tree.addLentBelow(1, lines, 2, 4), 2) << "a node added below an index tells its own";
    NodeRef child = tree.node(2);
    EXPECT_EQ(lines->asked, 0) << "references in increasing order need no look at the keys";
    EXPECT_EQ(std::tuple(tree.find(u"L2"), tree.find(u"L1")), std::tuple(child, NodeRef()));
    EXPECT_EQ(lines->asked, 1) << "a key naming its reference is read alone, not every key";
    EXPECT_EQ(child->key() + u" " + Described(child), u"L2 2:Line 0\\Line 2(0)");
    EXPECT_FALSE(tree.addLent(nullptr, NodeRelationship::Last, lines, 2, 1)
        || tree.addLent(nullptr, NodeRelationship::Last, nullptr, 3, 1) || tree.addLentBelow(0, lines, 2, 1)
        || tree.addLentBelow(3, lines, 3, 1) || tree.addLentBelow(-1, lines, 3, 1));

    ASSERT_TRUE(add(tree, nullptr, u"L5"));
    EXPECT_FALSE(tree.addLent(nullptr, NodeRelationship::Last, lines, 5, 1) || add(tree, nullptr, u"L0"));
    NodeRef later = tree.addLent(nullptr, NodeRelationship::Last, lines, 6, 1);
    NodeRef another = tree.addLent(nullptr, NodeRelationship::Last, std::make_shared<NumberedLines>(), 7, 1);
    lines.reset();
    EXPECT_EQ(std::tuple(later->text(), another->text()), std::tuple(u"Line 6", u"Line 7"))
        << "the tree keeps its lender";

    ASSERT_TRUE(tree.remove(top));
    EXPECT_EQ(std::tuple(tree.find(u"L7"), tree.find(u"L2")), std::tuple(another, NodeRef()));
    ASSERT_EQ(tree.addLentBelow(3, std::make_shared<NumberedLines>(), 8, 1), 4)
        << "indexes move up after a removal; another lender's texts are copied";
    EXPECT_EQ(Described(tree.node(4)), u"4:Line 7\\Line 8(0)");
    tree.clear();
    EXPECT_EQ(later->key(), u"");
}

// No stack per level, however deep; a handle outliving its node answers empty and ignores changes.
TEST_P(WidgetContract, NodeHandlesStaySafeAfterTheirNodesGoAtAnyDepth)
{
    Tree& tree = addTree(ImageList::StatusIcons);
    NodeRef top = add(tree, nullptr, u"0", u"L");
    NodeRef deepest = top, middle;
    for (int level = 1; level < 200000; ++level) {
        deepest = add(tree, deepest, Decimal(level), u"L");
        middle = level == 100000 ? deepest : middle;
    }
    EXPECT_EQ(deepest->fullPath().size(), 2 * 200000 - 1);
    ASSERT_TRUE(tree.remove(middle));
    EXPECT_EQ(std::tuple(tree.count(), deepest->exists()), std::tuple(100000, false));
    tree.find(u"99999")->setSelected(true);
    tree.clear();
    for (const NodeRef& gone : { top, deepest }) {
        EXPECT_EQ(Described(gone) + gone->text(), u"0:(0)");
        gone->setExpanded(true);
        gone->setSelected(true);
        gone->ensureVisible();
        gone->setBackColor(0xFF);
        EXPECT_FALSE(gone->exists() || gone->parent() || gone->setImage(1) || gone->expanded());
    }
    EXPECT_FALSE(tree.count() || tree.selectedNode() || tree.remove(top) || add(tree, top, u"X/2"));
}

TEST_P(WidgetContract, NodeImagesAreCheckedAgainstTheImageList)
{
    Tree& tree = addTree(ImageList::StatusIcons);
    NodeRef node = add(tree, nullptr, u"A/0", u"A", 4);
    EXPECT_EQ(node->backColor(), WindowBackgroundColor) << "a new node shows the window background";
    for (const auto& [image, taken, shown] :
        { std::tuple(7, false, 4), std::tuple(0, true, 0), std::tuple(6, true, 6) })
        EXPECT_EQ((std::tuple { node->setImage(image), node->image() }), std::tuple(taken, shown)) << image;
    EXPECT_EQ(add(tree, nullptr, u"B/1", u"B", 12)->image(), 0);

    const auto blink = [&](int off, int on) { return node->setBlinkImages(off, on), node->image(); };
    const auto phase = [&](BlinkPhase to) { return tree.setBlinkPhase(to), node->image(); };
    EXPECT_EQ((std::tuple { blink(4, 0), phase(BlinkPhase::On) }), std::tuple(4, 0));
    EXPECT_EQ(blink(7, 3), 3) << "a phase's image the list lacks is the one shown";
    EXPECT_EQ(phase(BlinkPhase::Off), 0);
    node->setImage(5);
    EXPECT_EQ(phase(BlinkPhase::On), 5) << "an image set alone is steady";

    const NodeLooks looks[] { { 3, 3, u"first" }, { 2, 2, u"second" } };
    tree.setNodeLooks(1, looks, std::array<std::uint16_t, 3> { 9, 1, 0 });
    EXPECT_EQ((std::tuple { node->image(), tree.node(2)->image(), tree.node(2)->imageMeaning() }),
        std::tuple(5, 2, u"second"))
        << "a number past the looks leaves its node as it is";
}

// Keys act on shown rows as the mouse would; code raises nothing; a right press lies mid-row.
TEST_P(WidgetContract, OperatorActionsOnTheTreeRaiseEventsInToolkitOrder)
{
    Tree& tree = addTree();
    TreeEvents events(tree);
    NodeRef top = add(tree, nullptr, u"A/0");
    NodeRef child = add(tree, top, u"A1/1");
    add(tree, child, u"A11/2", u"Hidden below a closed branch");
    NodeRef last = add(tree, nullptr, u"B/3");
    EXPECT_EQ(events.take(tree.operatorKey(TreeKey::Enter)), "key; ") << "nothing selected, nothing to open";
    top->setExpanded(true);
    for (const TreeKey key : { TreeKey::Down, TreeKey::Down, TreeKey::Down, TreeKey::Down, TreeKey::Up })
        EXPECT_TRUE(tree.operatorKey(key));
    EXPECT_EQ(events.take(), "key; node A/0; key; node A1/1; key; node B/3; key; key; node A1/1; ")
        << "the first row, then row by row";
    // A row selected from code, as a rebuild highlights one: Enter names it before the double click.
    last->setSelected(true);
    EXPECT_EQ(events.take(tree.operatorKey(TreeKey::Enter)), "key; node B/3; dblclick; ");

    top->setExpanded(false);
    child->setSelected(true);
    child->ensureVisible();
    tree.setScrollPosition(0);
    EXPECT_TRUE(events.log.empty() && top->expanded()) << "ensureVisible opens the ancestors, silently";
    EXPECT_EQ(events.take(tree.operatorClick(u"A/0")), "down1 A/0; node A/0; click; ");
    EXPECT_EQ(
        (std::tuple { events.take(tree.operatorRightClick(u"A1/1")), events.pressedY, tree.selectedNode() }),
        std::tuple("down2 A1/1; click; ", 1.5 * RowTwips, top))
        << "a right click leaves the selection";
    EXPECT_EQ(events.take(tree.operatorDoubleClick(u"A1/1")), "down1 A1/1; node A1/1; click; dblclick; ");

    top->setExpanded(false);
    EXPECT_EQ(events.take(tree.operatorExpand(u"A/0") && tree.operatorExpand(u"A/0")
                  && tree.operatorCollapse(u"A/0") && tree.operatorCollapse(u"A/0")
                  && tree.operatorMouseMove() && tree.operatorScroll(0)),
        "expand; collapse; move; scroll; ");

    EXPECT_FALSE(tree.operatorClick(u"missing"));
    tree.setVisible(false);
    EXPECT_FALSE(tree.operatorClick(u"A/0") || tree.operatorMouseMove() || tree.operatorKey(TreeKey::Enter));
    EXPECT_EQ(events.log, "");
}

TEST_P(WidgetContract, TreeScrollsByRowsWithinItsRange)
{
    Tree& tree = addTree();
    NodeRef branch = add(tree, nullptr, u"B", u"Branch");
    branch->setExpanded(true);
    for (char16_t letter = u'a'; letter < u'a' + 19; ++letter)
        add(tree, branch, std::u16string(u"C") + letter);
    // 20 rows shown, 5 fit: the last row reaches the bottom at position 15.
    const auto scrolled
        = [&](int position) { return tree.setScrollPosition(position), tree.scrollPosition(); };
    EXPECT_EQ((std::tuple { scrolled(100), scrolled(-3) }), std::tuple(15, 0));
    EXPECT_TRUE(tree.operatorScroll(7));
    EXPECT_EQ(ShownKeys(tree), u"Cg Ch Ci Cj Ck ") << "the first row shown is row 7";
    const auto shown
        = [&](const char16_t* key) { return tree.find(key)->ensureVisible(), tree.scrollPosition(); };
    EXPECT_EQ((std::tuple { shown(u"Ck"), shown(u"Cs"), shown(u"B") }), std::tuple(7, 15, 0))
        << "a row already in view does not scroll";

    tree.setScrollPosition(10);
    branch->setExpanded(false);
    EXPECT_EQ(tree.scrollPosition(), 0) << "closing the branch leaves nothing to scroll";
    EXPECT_EQ(ShownKeys(tree), u"B - - - - ");

    // Siblings keep their order when the first and the last leave and another comes.
    branch->setExpanded(true);
    ASSERT_TRUE(tree.remove(tree.find(u"Ca")) && tree.remove(tree.find(u"Cs")));
    add(tree, branch, u"Ct");
    EXPECT_EQ(ShownKeys(tree), u"B Cb Cc Cd Ce ");
    tree.setScrollPosition(100);
    EXPECT_EQ(std::tuple(ShownKeys(tree), tree.find(u"Ct")->index()), std::tuple(u"Co Cp Cq Cr Ct ", 19));
}

// Each widget below also shows that what the control sets from code raises no event.
TEST_P(WidgetContract, ToolbarButtonsAreCheckButtonsThatFlowIntoRows)
{
    Toolbar& toolbar = surface->addToolbar(u"Bar", {}, ImageList::SystemIcons, true);
    EXPECT_EQ(toolbar.height(), 22 * 15) << "an empty toolbar still has one row";
    std::u16string clicks;
    const Connection connection = toolbar.ButtonClick.connect(
        [&](const ButtonRef& button) { clicks += button->key() + u"=" + Decimal(button->value()) + u" "; });
    ButtonRef k4 = toolbar.addButton(u"K4", 4);
    ASSERT_TRUE(toolbar.addButton(u"K5", 5) && toolbar.addButton(u"K6", 6));
    EXPECT_EQ((std::tuple { toolbar.addButton(u"K5", 5), toolbar.width() }),
        std::tuple(ButtonRef(), 3 * 22 * 15.0));
    EXPECT_EQ(toolbar.addButton(u"K12", 12)->image(), 0);
    EXPECT_TRUE(toolbar.setWidth(2 * 22 * 15) && toolbar.height() == 2 * 22 * 15);

    k4->setValue(1);
    EXPECT_TRUE(
        toolbar.operatorClick(u"K4") && toolbar.operatorClick(u"K4") && !toolbar.operatorClick(u"K9"));
    EXPECT_EQ(clicks, u"K4=0 K4=1 ");

    k4->setToolTipText(u"Pumps");
    EXPECT_EQ(toolbar.button(1)->toolTipText() + toolbar.findButton(u"K4")->toolTipText(), u"PumpsPumps");
    toolbar.clearButtons();
    k4->setValue(1);
    EXPECT_EQ(std::tuple(toolbar.buttonCount(), k4->exists(), k4->value()), std::tuple(0, false, 0));
}

TEST_P(WidgetContract, ListBoxClicksComeAfterTheIndexMoved)
{
    ListBox& list = surface->addListBox(u"List", { 0, 330, 795, 780 }, true);
    std::string clicks;
    const Connection click
        = list.Click.connect([&] { clicks += "click at " + std::to_string(list.listIndex()) + "; "; });
    const Connection dblclick = list.DblClick.connect([&] { clicks += "dblclick; "; });
    EXPECT_EQ(list.newIndex(), -1);
    list.addItem(u"Pump 1");
    list.addItem(u"Pump 2");
    EXPECT_EQ(list.newIndex(), 1) << "the index of the item added last";
    EXPECT_TRUE(list.setItemData(1, 40000) && !list.setItemData(2, 1) && list.itemData(1) == 40000);
    EXPECT_EQ(list.itemText(0), u"Pump 1");
    EXPECT_TRUE(list.setListIndex(0) && list.operatorClick(1) && list.operatorDoubleClick(0));
    EXPECT_FALSE(list.operatorClick(2));
    EXPECT_EQ(clicks, "click at 1; click at 0; dblclick; ");
    list.clear();
    EXPECT_EQ(std::tuple(list.count(), list.listIndex()), std::tuple(0, -1));
}

TEST_P(WidgetContract, TypedKeysPassThroughTheKeyPressHandler)
{
    TextBox& text = surface->addTextBox(u"Text", { 72, 2088, 1848, 240 }, TextBoxLines::Single, true);
    int keys = 0;
    const Connection connection = text.KeyPress.connect([&keys](std::int16_t& key) {
        ++keys;
        key = key == 13 ? 0 : key == u'a' ? u'A' : key;
    });
    text.setText(u"P");
    EXPECT_TRUE(text.operatorType(u"pa\rb\t\x7f\x01"));
    EXPECT_EQ(std::tuple(text.text(), keys), std::tuple(std::u16string(u"PpAb"), 7))
        << "control characters and DEL append nothing";
    text.setVisible(false);
    EXPECT_FALSE(text.operatorType(u"x"));
}

TEST_P(WidgetContract, PopupMenuItemsAreAddressedByIndex)
{
    PopupMenu& menu = surface->addPopupMenu(u"Menu", u"...");
    EXPECT_EQ(menu.caption(0), u"...");
    EXPECT_TRUE(!menu.addItem(2) && menu.addItem(1) && menu.setCaption(1, u"Show details"));
    EXPECT_FALSE(menu.setCaption(2, u"none") || menu.removeItem(0));

    std::string events;
    const Connection shown = menu.Shown.connect([&] { events += "shown; "; });
    const Connection chosen
        = menu.ItemClick.connect([&](std::int32_t index) { events += std::to_string(index) + "; "; });
    EXPECT_FALSE(menu.operatorChoose(1)) << "not open";
    menu.popup();
    EXPECT_TRUE(!menu.operatorChoose(5) && menu.operatorChoose(1) && !menu.operatorChoose(1))
        << "chosen, closed";
    EXPECT_EQ(events, "shown; 1; ");
    EXPECT_TRUE(menu.removeItem(1) && menu.itemCount() == 1);
}

// Known by its header, not its name; a non-picture leaves the box as it was, and the check says why.
TEST_P(WidgetContract, PictureBoxShowsTheFourKnownFormatsOnly)
{
    const vestrak::testing::TemporaryFolder folder;
    const std::filesystem::path examples = VESTRAK_EXAMPLES;
    std::ifstream example(examples / "WW111.bmp", std::ios::binary);
    const std::string bitmap(std::istreambuf_iterator<char>(example), {});
    const auto write = [&](const char* name, const std::string& bytes) {
        std::ofstream(folder.path() / name, std::ios::binary) << bytes;
        return folder.path() / name;
    };
    std::filesystem::create_directory(folder.path() / "folder.bmp");
    const std::vector<std::pair<std::filesystem::path, std::u16string>> cases {
        { examples / "WW111.bmp", u"" },
        { examples / "WW121.jpg", u"" },
        { examples / "WW21.gif", u"" },
        { examples / "WW311.tif", u"" },
        { write("bitmap.gif", bitmap), u"" },
        { write("empty.bmp", ""), u"it is empty" },
        { write("cut.bmp", bitmap.substr(0, 30)), u"it ends inside its BMP header" },
        { write("cut.gif", "GIF8"), u"it ends inside its GIF header" },
        { write("text.bmp", "BMW pumps, 110 kW\n"), u"its BMP header is damaged" },
        { write("text.jpg", "Pumps, 110 kW\n"), u"it is not a BMP, JPEG, GIF or TIFF picture" },
        { folder.path() / "folder.bmp", u"it is missing or not an ordinary file" },
        { folder.path() / "missing.jpg", u"it is missing or not an ordinary file" },
    };

    PictureBox& picture = surface->addPictureBox(u"Picture_Object", { 0, 0, 2415, 3600 }, false);
    for (const auto& [file, problem] : cases) {
        SCOPED_TRACE(file.string());
        const std::u16string before = picture.picturePath();
        EXPECT_EQ((std::tuple { picture.loadPicture(file.u16string()), picture.picturePath(),
                      CheckPicture(files, file.u16string(), PictureBytes::HeaderOnly).problem }),
            std::tuple(problem.empty(), problem.empty() ? file.u16string() : before, problem));
    }
}

TEST_P(WidgetContract, SurfaceHoldsNamedWidgetsInsideItsBorder)
{
    auto bordered = GetParam().make(files, 4800, 3600, 30);
    EXPECT_EQ(bordered->innerWidth(), 4740);
    EXPECT_TRUE(bordered->setOuterWidth(195 + 60) && !bordered->setOuterHeight(10));
    EXPECT_EQ(std::tuple(bordered->innerWidth(), bordered->outerHeight()), std::tuple(195.0, 3600.0));
    bordered->setSizeInPixels(400, 300);
    EXPECT_EQ(std::tuple(bordered->outerWidth(), bordered->outerHeight()), std::tuple(6000.0, 4500.0));

    CommandButton& collapse = surface->addCommandButton(
        u"Command_Collapse", { 1740, 30, 195, 225 }, ButtonPicture::TriangleLeft, false);
    TextBox& text = surface->addTextBox(u"Text_Filter", {}, TextBoxLines::Single, true);
    EXPECT_EQ(std::tuple(surface->widget(u"Command_Collapse"), surface->widget(u"Nothing"),
                  surface->widgets().size()),
        std::tuple(&collapse, nullptr, 2u));
    EXPECT_FALSE(collapse.setFocus() || surface->focusedWidget()) << "a hidden widget takes no focus";
    EXPECT_TRUE(text.setFocus());
    collapse.setVisible(true);
    collapse.setVisible(false);
    EXPECT_EQ(surface->focusedWidget(), &text) << "another widget's hiding leaves the focus";
    text.setVisible(false);
    EXPECT_EQ(surface->focusedWidget(), nullptr) << "a hidden widget holds no focus";
    text.setVisible(true);
    EXPECT_TRUE(text.setFocus());

    EXPECT_FALSE(collapse.setHeight(-1) || collapse.height() != 225);
    collapse.setLeft(2790.5);
    EXPECT_EQ(collapse.left(), 2790.5) << "twips read back exactly as set";
    surface->addToolTip(collapse, u"Collapse Navigation Tree\r\nnotice");
    EXPECT_EQ(std::tuple(surface->toolTip(collapse), surface->toolTip(text)),
        std::tuple(u"Collapse Navigation Tree\r\nnotice", u""));

    int clicks = 0;
    const Connection connection = collapse.Click.connect([&] { ++clicks; });
    EXPECT_FALSE(collapse.operatorClick());
    collapse.setVisible(true);
    EXPECT_TRUE(collapse.operatorClick() && clicks == 1);
}
