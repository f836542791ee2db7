#include "widget_contract.h"

#include "support/temporary_folder.h"
#include "widgets/picture_check.h"

#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

using namespace vestrak;

namespace {

constexpr Geometry TreeArea { 0, 0, 3000, 5 * 18 * 15 };

// The tree's events as a line, each followed by "; ". A node click names whether the node was
// selected before it was raised.
struct TreeEvents {
    std::string log;
    Connections connections;

    explicit TreeEvents(Tree& tree)
    {
        const auto note = [this](const char* what) { return [this, what](auto&&...) { log += what; }; };
        connections += tree.MouseDown.connect(
            [this](std::int16_t button, auto&&...) { log += "down" + std::to_string(button) + "; "; });
        connections += tree.NodeClick.connect([this, &tree](const NodeRef& node) {
            log += tree.selectedNode() == node ? "node; " : "node before its selection; ";
        });
        connections += tree.Click.connect(note("click; "));
        connections += tree.DblClick.connect(note("dblclick; "));
        connections += tree.Expand.connect(note("expand; "));
        connections += tree.Collapse.connect(note("collapse; "));
        connections += tree.MouseMove.connect(note("move; "));
        connections += tree.KeyDown.connect(note("key; "));
        connections += tree.Scroll.connect(note("scroll; "));
    }

    // The events since the last call.
    std::string take() { return std::exchange(log, {}); }
};

std::u16string Decimal(std::int64_t number)
{
    const std::string digits = std::to_string(number);
    return { digits.begin(), digits.end() };
}

// Stands for the lines a control keeps: key "L<reference>", text "Line <reference>".
class NumberedLines final : public LentNodeTexts {
public:
    mutable int asked = 0;

    void keyAndText(std::uint32_t reference, std::u16string& key, std::u16string& text) const override
    {
        ++asked;
        key = u"L" + Decimal(reference);
        text = u"Line " + Decimal(reference);
    }

    std::optional<std::uint32_t> referenceOfKey(std::u16string_view key) const override
    {
        if (!key.starts_with(u"L"))
            return std::nullopt;
        std::uint32_t reference = 0;
        for (const char16_t digit : key.substr(1))
            reference = reference * 10 + static_cast<std::uint32_t>(digit - u'0');
        return reference;
    }
};

} // namespace

TEST_P(WidgetContract, TreeNodesAreNumberedInOrderOfAdditionUnderUniqueKeys)
{
    Tree& tree = surface->addTree(u"Tree", TreeArea, ImageList::SystemIcons, true);
    NodeRef plant = tree.add(nullptr, NodeRelationship::Last, u"P/0", u"Plant", 1);
    NodeRef pump = tree.add(plant, NodeRelationship::Child, u"P1/1", u"Pump", 4);
    NodeRef motor = tree.add(pump, NodeRelationship::Child, u"P11/2", u"Motor", 5);
    NodeRef utilities = tree.add(nullptr, NodeRelationship::Last, u"Q/3", u"Utilities", 2);
    ASSERT_TRUE(plant && pump && motor && utilities);

    EXPECT_EQ(tree.add(plant, NodeRelationship::Child, u"P1/1", u"Again", 1), nullptr);
    EXPECT_EQ(tree.count(), 4);
    EXPECT_EQ(motor->fullPath(), u"Plant\\Pump\\Motor");
    EXPECT_EQ(motor->parent(), pump);
    EXPECT_EQ(plant->parent(), nullptr);
    EXPECT_EQ(plant->children(), 1);
    EXPECT_EQ(utilities->index(), 4);
    EXPECT_EQ(tree.node(2), pump);
    EXPECT_EQ(tree.find(u"P11/2"), motor);
    EXPECT_EQ(tree.find(u"p11/2"), nullptr);
    EXPECT_EQ(tree.node(0), nullptr);
    EXPECT_EQ(tree.node(5), nullptr);

    ASSERT_TRUE(tree.remove(pump));
    EXPECT_EQ(tree.count(), 2);
    EXPECT_EQ(utilities->index(), 2);
    EXPECT_EQ(plant->children(), 0);
    EXPECT_FALSE(motor->exists());
    EXPECT_EQ(tree.find(u"P11/2"), nullptr);
    EXPECT_TRUE(tree.add(plant, NodeRelationship::Child, u"P1/1", u"Pump again", 4))
        << "a removed key is free";

    // Through many growths of the key index and of the blocks of text, with texts longer than a
    // block, each refused twin giving its room back.
    std::vector<NodeRef> many;
    for (int number = 0; number < 5000; ++number) {
        const std::u16string key = u"W" + Decimal(number % 97) + u"/" + Decimal(number);
        const std::u16string text
            = Decimal(number * 7919) + std::u16string(number % 1000 == 500 ? 40000 : 0, u'a');
        many.push_back(tree.add(nullptr, NodeRelationship::Last, key, text, 1));
        ASSERT_EQ(tree.add(nullptr, NodeRelationship::Last, key, u"twin", 1), nullptr);
    }
    for (int number = 0; number < 5000; ++number) {
        ASSERT_EQ(tree.find(u"W" + Decimal(number % 97) + u"/" + Decimal(number)), many[number]);
        ASSERT_TRUE(many[number]->text().starts_with(Decimal(number * 7919)));
        ASSERT_EQ(many[number]->text().size() > 40000, number % 1000 == 500);
    }
}

TEST_P(WidgetContract, LentNodesActAsOwnNodesWithTextsReadOnlyWhenNeeded)
{
    Tree& tree = surface->addTree(u"Tree", TreeArea, ImageList::SystemIcons, true);
    auto lines = std::make_shared<NumberedLines>();
    NodeRef top = tree.addLent(nullptr, NodeRelationship::Last, lines, 0, 1);
    NodeRef child = tree.addLent(top, NodeRelationship::Child, lines, 2, 4);
    EXPECT_EQ(lines->asked, 0) << "references in increasing order need no look at the keys";
    EXPECT_EQ(tree.find(u"L2"), child);
    EXPECT_EQ(tree.find(u"L1"), nullptr);
    EXPECT_EQ(lines->asked, 1) << "a key naming its reference is read alone, not every key";
    EXPECT_EQ(child->key(), u"L2");
    EXPECT_EQ(child->fullPath(), u"Line 0\\Line 2");
    EXPECT_EQ(tree.find(u"L2"), child);
    EXPECT_EQ(tree.addLent(nullptr, NodeRelationship::Last, lines, 2, 1), nullptr);
    EXPECT_EQ(tree.addLent(nullptr, NodeRelationship::Last, nullptr, 3, 1), nullptr);

    ASSERT_TRUE(tree.add(nullptr, NodeRelationship::Last, u"L5", u"Own", 1));
    EXPECT_EQ(tree.addLent(nullptr, NodeRelationship::Last, lines, 5, 1), nullptr);
    EXPECT_EQ(tree.add(nullptr, NodeRelationship::Last, u"L0", u"Own", 1), nullptr);
    NodeRef later = tree.addLent(nullptr, NodeRelationship::Last, lines, 6, 1);
    NodeRef fromAnother
        = tree.addLent(nullptr, NodeRelationship::Last, std::make_shared<NumberedLines>(), 7, 1);
    lines.reset();
    EXPECT_EQ(later->text(), u"Line 6") << "the tree keeps its lender";
    EXPECT_EQ(fromAnother->text(), u"Line 7");

    ASSERT_TRUE(tree.remove(top));
    EXPECT_EQ(tree.find(u"L7"), fromAnother);
    EXPECT_EQ(tree.find(u"L2"), nullptr);
    tree.clear();
    EXPECT_EQ(later->key(), u"");
}

TEST_P(WidgetContract, NodeHandlesStaySafeAfterTheTreeIsCleared)
{
    Tree& tree = surface->addTree(u"Tree", TreeArea, ImageList::StatusIcons, true);
    NodeRef top = tree.add(nullptr, NodeRelationship::Last, u"A/0", u"A", 2);
    NodeRef child = tree.add(top, NodeRelationship::Child, u"A1/1", u"A1", 2);
    child->setSelected(true);
    tree.clear();

    EXPECT_EQ(tree.count(), 0);
    EXPECT_EQ(tree.selectedNode(), nullptr);
    for (const NodeRef& gone : { top, child }) {
        EXPECT_FALSE(gone->exists());
        EXPECT_EQ(gone->index(), 0);
        EXPECT_EQ(gone->text(), u"");
        EXPECT_EQ(gone->fullPath(), u"");
        EXPECT_EQ(gone->parent(), nullptr);
        EXPECT_FALSE(gone->setImage(1));
        gone->setExpanded(true);
        gone->setSelected(true);
        gone->ensureVisible();
        gone->setBackColor(0xFF);
        EXPECT_FALSE(gone->expanded());
    }
    EXPECT_EQ(tree.selectedNode(), nullptr);
    EXPECT_FALSE(tree.remove(child));
    EXPECT_EQ(tree.add(child, NodeRelationship::Child, u"X/2", u"X", 1), nullptr);
}

// Plants nest deeply in bad or generated files: nothing may take stack per level (the deep-tree
// stress test clears and destroys such trees through both controls).
TEST_P(WidgetContract, AChainOfTwoHundredThousandLevelsTakesNoStackPerLevel)
{
    Tree& tree = surface->addTree(u"Tree", TreeArea, ImageList::SystemIcons, true);
    NodeRef deepest = tree.add(nullptr, NodeRelationship::Last, u"0", u"L", 1);
    NodeRef middle;
    for (int level = 1; level < 200000; ++level) {
        deepest = tree.add(deepest, NodeRelationship::Child, Decimal(level), u"L", 1);
        if (level == 100000)
            middle = deepest;
    }
    ASSERT_EQ(tree.count(), 200000);
    EXPECT_EQ(deepest->fullPath().size(), 2 * 200000 - 1);
    ASSERT_TRUE(tree.remove(middle));
    EXPECT_EQ(tree.count(), 100000);
    EXPECT_FALSE(deepest->exists());
}

TEST_P(WidgetContract, NodeImagesAreCheckedAgainstTheImageList)
{
    Tree& tree = surface->addTree(u"Tree", TreeArea, ImageList::StatusIcons, true);
    NodeRef node = tree.add(nullptr, NodeRelationship::Last, u"A/0", u"A", 4);
    EXPECT_EQ(node->image(), 4);
    EXPECT_FALSE(node->setImage(7));
    EXPECT_EQ(node->image(), 4);
    EXPECT_TRUE(node->setImage(0));
    EXPECT_EQ(node->image(), 0);
    EXPECT_TRUE(node->setImage(6));
    EXPECT_EQ(tree.add(nullptr, NodeRelationship::Last, u"B/1", u"B", 12)->image(), 0);

    node->setBlinkImages(4, 0);
    EXPECT_EQ(node->image(), 4);
    tree.setBlinkPhase(BlinkPhase::On);
    EXPECT_EQ(node->image(), 0);
    node->setBlinkImages(7, 3);
    EXPECT_EQ(node->image(), 3) << "a phase's image the list lacks is the one shown";
    tree.setBlinkPhase(BlinkPhase::Off);
    EXPECT_EQ(node->image(), 0);
    EXPECT_TRUE(node->setImage(5));
    tree.setBlinkPhase(BlinkPhase::On);
    EXPECT_EQ(node->image(), 5) << "an image set alone is steady";
}

TEST_P(WidgetContract, StatesSetFromCodeRaiseNoEvents)
{
    Tree& tree = surface->addTree(u"Tree", TreeArea, ImageList::SystemIcons, true);
    TreeEvents events(tree);
    NodeRef top = tree.add(nullptr, NodeRelationship::Last, u"A/0", u"A", 1);
    NodeRef child = tree.add(top, NodeRelationship::Child, u"A1/1", u"A1", 1);
    top->setExpanded(true);
    top->setExpanded(false);
    child->setSelected(true);
    child->ensureVisible();
    tree.setScrollPosition(0);

    EXPECT_EQ(events.log, "");
    EXPECT_TRUE(top->expanded()) << "ensureVisible opens the ancestors";
    EXPECT_EQ(tree.selectedNode(), child);
}

TEST_P(WidgetContract, OperatorActionsOnTheTreeRaiseEventsInToolkitOrder)
{
    Tree& tree = surface->addTree(u"Tree", TreeArea, ImageList::SystemIcons, true);
    NodeRef top = tree.add(nullptr, NodeRelationship::Last, u"A/0", u"A", 1);
    NodeRef child = tree.add(top, NodeRelationship::Child, u"A1/1", u"A1", 1);
    top->setExpanded(true);
    TreeEvents events(tree);
    NodeRef pressedOn;
    double pressedY = 0;
    Connections connections;
    connections += tree.MouseDown.connect([&](std::int16_t, std::int16_t, double x, double y) {
        pressedOn = tree.hitTest(x, y);
        pressedY = y;
    });

    EXPECT_TRUE(tree.operatorClick(u"A/0"));
    EXPECT_EQ(events.take(), "down1; node; click; ");
    EXPECT_TRUE(tree.operatorRightClick(u"A1/1"));
    EXPECT_EQ(events.take(), "down2; click; ");
    EXPECT_EQ(tree.selectedNode(), top) << "a right click leaves the selection";
    EXPECT_EQ(pressedOn, child) << "the press lies on the node's row";
    EXPECT_EQ(pressedY, 1.5 * 18 * 15) << "in its middle, clear of the row above";
    EXPECT_TRUE(tree.operatorDoubleClick(u"A1/1"));
    EXPECT_EQ(events.take(), "down1; node; click; dblclick; ");

    top->setExpanded(false);
    EXPECT_TRUE(tree.operatorExpand(u"A/0"));
    EXPECT_TRUE(tree.operatorExpand(u"A/0"));
    EXPECT_TRUE(tree.operatorCollapse(u"A/0"));
    EXPECT_TRUE(tree.operatorCollapse(u"A/0"));
    EXPECT_TRUE(tree.operatorMouseMove());
    EXPECT_EQ(events.take(), "expand; collapse; move; ");

    EXPECT_FALSE(tree.operatorClick(u"missing"));
    tree.setVisible(false);
    EXPECT_FALSE(tree.operatorClick(u"A/0"));
    EXPECT_FALSE(tree.operatorMouseMove());
    EXPECT_FALSE(tree.operatorKey(TreeKey::Enter));
    EXPECT_EQ(events.log, "");
}

TEST_P(WidgetContract, KeysActOnTheShownRowsAsTheMouseWould)
{
    Tree& tree = surface->addTree(u"Tree", TreeArea, ImageList::SystemIcons, true);
    NodeRef top = tree.add(nullptr, NodeRelationship::Last, u"A/0", u"A", 1);
    NodeRef child = tree.add(top, NodeRelationship::Child, u"A1/1", u"A1", 1);
    tree.add(child, NodeRelationship::Child, u"A11/2", u"Hidden below a closed branch", 1);
    NodeRef last = tree.add(nullptr, NodeRelationship::Last, u"B/3", u"B", 1);
    top->setExpanded(true);
    TreeEvents events(tree);
    std::vector<NodeRef> clicked;
    Connections connections;
    connections += tree.NodeClick.connect([&clicked](const NodeRef& node) { clicked.push_back(node); });

    EXPECT_TRUE(tree.operatorKey(TreeKey::Enter));
    EXPECT_EQ(events.take(), "key; ") << "nothing selected, nothing to open";
    for (int down = 0; down < 4; ++down)
        EXPECT_TRUE(tree.operatorKey(TreeKey::Down));
    EXPECT_EQ(clicked, (std::vector<NodeRef> { top, child, last })) << "the first row, then row by row";
    EXPECT_EQ(events.take(), "key; node; key; node; key; node; key; ");
    EXPECT_TRUE(tree.operatorKey(TreeKey::Up));
    EXPECT_EQ(tree.selectedNode(), child);
    events.take();
    clicked.clear();

    // A row selected from code, as a rebuild highlights one: Enter names it before the double click.
    last->setSelected(true);
    EXPECT_TRUE(tree.operatorKey(TreeKey::Enter));
    EXPECT_EQ(events.take(), "key; node; dblclick; ");
    EXPECT_EQ(clicked, (std::vector<NodeRef> { last }));
    EXPECT_TRUE(tree.operatorScroll(0));
    EXPECT_EQ(events.log, "scroll; ");
}

TEST_P(WidgetContract, TreeScrollsByRowsWithinItsRange)
{
    Tree& tree = surface->addTree(u"Tree", TreeArea, ImageList::SystemIcons, true);
    NodeRef branch = tree.add(nullptr, NodeRelationship::Last, u"B", u"Branch", 1);
    branch->setExpanded(true);
    for (int i = 0; i < 19; ++i) {
        std::u16string key = u"C" + std::u16string(1, static_cast<char16_t>(u'a' + i));
        tree.add(branch, NodeRelationship::Child, key, key, 4);
    }
    // 20 rows shown, 5 fit: the last row reaches the bottom at position 15.
    tree.setScrollPosition(100);
    EXPECT_EQ(tree.scrollPosition(), 15);
    tree.setScrollPosition(-3);
    EXPECT_EQ(tree.scrollPosition(), 0);
    EXPECT_TRUE(tree.operatorScroll(7));
    EXPECT_EQ(tree.scrollPosition(), 7);
    const double rowTwips = 18 * 15;
    EXPECT_EQ(tree.hitTest(10, 0.5 * rowTwips)->key(), u"Cg") << "the first row shown is row 7";
    EXPECT_EQ(tree.hitTest(10, 2.5 * rowTwips)->key(), u"Ci");

    tree.find(u"Ck")->ensureVisible();
    EXPECT_EQ(tree.scrollPosition(), 7) << "a row already in view does not scroll";
    tree.find(u"Cs")->ensureVisible();
    EXPECT_EQ(tree.scrollPosition(), 15);
    tree.find(u"B")->ensureVisible();
    EXPECT_EQ(tree.scrollPosition(), 0);

    tree.setScrollPosition(10);
    branch->setExpanded(false);
    EXPECT_EQ(tree.scrollPosition(), 0) << "closing the branch leaves nothing to scroll";
    EXPECT_EQ(tree.hitTest(10, 0.5 * rowTwips), branch);
    EXPECT_EQ(tree.hitTest(10, 1.5 * rowTwips), nullptr) << "below the last row";

    // Siblings keep their order when the first and the last leave and another comes.
    branch->setExpanded(true);
    ASSERT_TRUE(tree.remove(tree.find(u"Ca")));
    ASSERT_TRUE(tree.remove(tree.find(u"Cs")));
    tree.add(branch, NodeRelationship::Child, u"Ct", u"Ct", 4);
    EXPECT_EQ(tree.hitTest(10, 1.5 * rowTwips)->key(), u"Cb");
    tree.setScrollPosition(100);
    EXPECT_EQ(tree.hitTest(10, 3.5 * rowTwips)->key(), u"Cr");
    EXPECT_EQ(tree.hitTest(10, 4.5 * rowTwips)->key(), u"Ct");
    EXPECT_EQ(tree.find(u"Ct")->index(), 19);
}

// Each widget below also shows that what the control sets from code raises no event.
TEST_P(WidgetContract, ToolbarButtonsAreCheckButtonsThatFlowIntoRows)
{
    Toolbar& toolbar = surface->addToolbar(u"Bar", {}, ImageList::SystemIcons, true);
    EXPECT_EQ(toolbar.height(), 22 * 15) << "an empty toolbar still has one row";
    std::vector<std::pair<std::u16string, std::int32_t>> clicks;
    Connections connections;
    connections += toolbar.ButtonClick.connect(
        [&](const ButtonRef& button) { clicks.emplace_back(button->key(), button->value()); });
    ButtonRef k4 = toolbar.addButton(u"K4", 4);
    toolbar.addButton(u"K5", 5);
    toolbar.addButton(u"K6", 6);
    EXPECT_EQ(toolbar.addButton(u"K5", 5), nullptr);
    EXPECT_EQ(toolbar.width(), 3 * 22 * 15);
    EXPECT_EQ(toolbar.addButton(u"K12", 12)->image(), 0);
    ASSERT_TRUE(toolbar.setWidth(2 * 22 * 15));
    EXPECT_EQ(toolbar.height(), 2 * 22 * 15);

    k4->setValue(1);
    EXPECT_TRUE(toolbar.operatorClick(u"K4"));
    EXPECT_TRUE(toolbar.operatorClick(u"K4"));
    EXPECT_FALSE(toolbar.operatorClick(u"K9"));
    EXPECT_EQ(clicks, (std::vector<std::pair<std::u16string, std::int32_t>> { { u"K4", 0 }, { u"K4", 1 } }));

    k4->setToolTipText(u"Pumps");
    EXPECT_EQ(toolbar.findButton(u"K4")->toolTipText(), u"Pumps");
    EXPECT_EQ(toolbar.button(1), k4);
    toolbar.clearButtons();
    EXPECT_EQ(toolbar.buttonCount(), 0);
    EXPECT_FALSE(k4->exists());
    k4->setValue(1);
    EXPECT_EQ(k4->value(), 0);
}

TEST_P(WidgetContract, ListBoxClicksComeAfterTheIndexMoved)
{
    ListBox& list = surface->addListBox(u"List", { 0, 330, 795, 780 }, true);
    std::vector<std::int32_t> indexAtClick;
    Connections connections;
    connections += list.Click.connect([&] { indexAtClick.push_back(list.listIndex()); });
    int doubleClicks = 0;
    connections += list.DblClick.connect([&] { ++doubleClicks; });
    EXPECT_EQ(list.newIndex(), -1);
    list.addItem(u"Pump 1");
    list.addItem(u"Pump 2");
    EXPECT_EQ(list.newIndex(), 1);
    EXPECT_TRUE(list.setItemData(list.newIndex(), 40000));
    EXPECT_FALSE(list.setItemData(2, 1));
    EXPECT_EQ(list.itemData(1), 40000);
    EXPECT_EQ(list.itemText(0), u"Pump 1");
    EXPECT_TRUE(list.setListIndex(0));

    EXPECT_TRUE(list.operatorClick(1));
    EXPECT_TRUE(list.operatorDoubleClick(0));
    EXPECT_FALSE(list.operatorClick(2));
    EXPECT_EQ(indexAtClick, (std::vector<std::int32_t> { 1, 0 }));
    EXPECT_EQ(doubleClicks, 1);
    list.clear();
    EXPECT_EQ(list.count(), 0);
    EXPECT_EQ(list.listIndex(), -1);
}

TEST_P(WidgetContract, TypedKeysPassThroughTheKeyPressHandler)
{
    TextBox& text = surface->addTextBox(u"Text", { 72, 2088, 1848, 240 }, TextBoxLines::Single, true);
    int keys = 0;
    Connections connections;
    connections += text.KeyPress.connect([&keys](std::int16_t& key) {
        ++keys;
        if (key == 13)
            key = 0;
        else if (key == u'a')
            key = u'A';
    });
    text.setText(u"P");
    EXPECT_TRUE(text.operatorType(u"pa\rb\t\x7f\x01"));
    EXPECT_EQ(text.text(), u"PpAb") << "control characters and DEL append nothing";
    EXPECT_EQ(keys, 7);
    text.setVisible(false);
    EXPECT_FALSE(text.operatorType(u"x"));
}

TEST_P(WidgetContract, PopupMenuItemsAreAddressedByIndex)
{
    PopupMenu& menu = surface->addPopupMenu(u"Menu", u"...");
    EXPECT_EQ(menu.caption(0), u"...");
    EXPECT_FALSE(menu.addItem(2));
    EXPECT_TRUE(menu.addItem(1));
    EXPECT_TRUE(menu.setCaption(1, u"Show details"));
    EXPECT_FALSE(menu.setCaption(2, u"none"));
    EXPECT_FALSE(menu.removeItem(0));

    int shown = 0;
    std::vector<std::int32_t> chosen;
    Connections connections;
    connections += menu.Shown.connect([&] { ++shown; });
    connections += menu.ItemClick.connect([&](std::int32_t index) { chosen.push_back(index); });
    EXPECT_FALSE(menu.operatorChoose(1)) << "not open";
    menu.popup();
    EXPECT_FALSE(menu.operatorChoose(5));
    EXPECT_TRUE(menu.operatorChoose(1));
    EXPECT_FALSE(menu.operatorChoose(1)) << "the choice closed it";
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(chosen, std::vector<std::int32_t> { 1 });
    EXPECT_TRUE(menu.removeItem(1));
    EXPECT_EQ(menu.itemCount(), 1);
}

// A picture is known by its header, whatever the file is called; a file that is none leaves the
// box with the picture it had, and the picture check says why.
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
    const std::u16string noFile = u"it is missing or not an ordinary file";
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
        { folder.path() / "folder.bmp", noFile },
        { folder.path() / "missing.jpg", noFile },
    };

    PictureBox& picture = surface->addPictureBox(u"Picture_Object", { 0, 0, 2415, 3600 }, false);
    for (const auto& [file, problem] : cases) {
        SCOPED_TRACE(file.string());
        const std::u16string before = picture.picturePath();
        EXPECT_EQ(picture.loadPicture(file.u16string()), problem.empty());
        EXPECT_EQ(picture.picturePath(), problem.empty() ? file.u16string() : before);
        EXPECT_EQ(CheckPicture(files, file.u16string(), PictureBytes::HeaderOnly).problem, problem);
    }
}

TEST_P(WidgetContract, SurfaceHoldsNamedWidgetsInsideItsBorder)
{
    auto bordered = GetParam().make(files, 4800, 3600, 30);
    EXPECT_EQ(bordered->innerWidth(), 4740);
    EXPECT_TRUE(bordered->setOuterWidth(195 + 60));
    EXPECT_EQ(bordered->innerWidth(), 195);
    EXPECT_FALSE(bordered->setOuterHeight(10));
    EXPECT_EQ(bordered->outerHeight(), 3600);
    bordered->setSizeInPixels(400, 300);
    EXPECT_EQ(bordered->outerWidth(), 6000);
    EXPECT_EQ(bordered->outerHeight(), 4500);

    CommandButton& collapse = surface->addCommandButton(
        u"Command_Collapse", { 1740, 30, 195, 225 }, ButtonPicture::TriangleLeft, false);
    TextBox& text = surface->addTextBox(u"Text_Filter", {}, TextBoxLines::Single, true);
    EXPECT_EQ(surface->widget(u"Command_Collapse"), &collapse);
    EXPECT_EQ(surface->widget(u"Nothing"), nullptr);
    EXPECT_EQ(surface->widgets().size(), 2u);
    EXPECT_FALSE(collapse.setFocus());
    EXPECT_EQ(surface->focusedWidget(), nullptr);
    EXPECT_TRUE(text.setFocus());
    EXPECT_EQ(surface->focusedWidget(), &text);
    collapse.setVisible(true);
    collapse.setVisible(false);
    EXPECT_EQ(surface->focusedWidget(), &text) << "another widget's hiding leaves the focus";
    text.setVisible(false);
    EXPECT_EQ(surface->focusedWidget(), nullptr) << "a hidden widget holds no focus";
    text.setVisible(true);
    EXPECT_TRUE(text.setFocus());

    EXPECT_FALSE(collapse.setHeight(-1));
    EXPECT_EQ(collapse.height(), 225);
    collapse.setLeft(2790.5);
    EXPECT_EQ(collapse.left(), 2790.5) << "twips read back exactly as set";
    surface->addToolTip(collapse, u"Collapse Navigation Tree\r\nnotice");
    EXPECT_EQ(surface->toolTip(collapse), u"Collapse Navigation Tree\r\nnotice");
    EXPECT_EQ(surface->toolTip(text), u"");

    int clicks = 0;
    Connections connections;
    connections += collapse.Click.connect([&] { ++clicks; });
    EXPECT_FALSE(collapse.operatorClick());
    collapse.setVisible(true);
    EXPECT_TRUE(collapse.operatorClick());
    EXPECT_EQ(clicks, 1);
}
