#include "citree_fixture.h"

namespace vestrak::testing {
namespace {

class Selection : public CiTreeTest {
protected:
    void SetUp() override
    {
        control->NodeClick.connect([this] { ++nodeClicks; });
        control->NodeDoubleClick.connect([this] { ++doubleClicks; });
    }

    int nodeClicks = 0;
    int doubleClicks = 0;
};

TEST_F(Selection, NodeClickFillsThePropertiesStoresTheNodeAndRaisesNodeClick)
{
    const std::vector<std::pair<std::string, std::string>> cases = {
        { "A,x/B=5,v", "A|B|B" },
        { "A=5,Pump", "A|A|A" },
        { "A=5,Pump/Motor", "A||A" },
        { "A ,x/K=5,Spaced", "A |K|K" },
        { "A/K1=5,First\nB=1,Other\na,z/K2=5,Second", "a|K2|K1" },
    };
    for (const auto& [lines, expected] : cases) {
        build("[TreeObjects]\n" + lines + "\n", ShownTree);
        ASSERT_TRUE(tree().operatorClick(tree().node(tree().count())->key())) << lines;
        EXPECT_EQ(Utf8(control->SelectedObject()) + "|" + Utf8(control->SelectedObjectExtraInfo()) + "|"
                + Utf8(control->SelectedObjectExtraKey()),
            expected);
    }
    EXPECT_EQ(nodeClicks, 5);
    EXPECT_EQ(setting(u"Selected", u"NodeName"), "Second");
    control->setSelectedObject(u"nowhere,x");
    EXPECT_EQ(Utf8(control->SelectedObject()), "nowhere");
    EXPECT_EQ(Utf8(control->SelectedObjectExtraKey()), "");
}

TEST_F(Selection, ListClickSelectsWithoutStoringAndStaleNodesAreIgnored)
{
    build(ExampleSection, ShownTree);
    control->setObjectFileSection(u"TreeObjects");
    build(ExampleSection, ShownList, u"P1");
    ASSERT_TRUE(list().operatorClick(1));
    EXPECT_EQ(Utf8(control->SelectedObject()), "P12");
    EXPECT_EQ(setting(u"Selected", u"NodeName"), "(none)");

    control->setObjectFileSection(u"Short");
    build("[Short]\nS=5,Only\n", ShownList);
    ASSERT_TRUE(tree().operatorClick(u"P21/6"));
    EXPECT_EQ(nodeClicks, 1);
    EXPECT_EQ(Utf8(control->SelectedObject()), "P12");
}

// The list transcript shows double clicks, Home, Up and Down over the list; over the tree, and
// where Down leaves the focus:
TEST_F(Selection, DoubleClickUpAndDownOverTheTree)
{
    build(ExampleSection, ShownTree | StyleUpDownButtons);
    ASSERT_TRUE(tree().operatorDoubleClick(u"P/0"));
    EXPECT_EQ(doubleClicks, 1);
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
