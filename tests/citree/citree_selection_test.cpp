#include "citree_fixture.h"
#include "ports/control_error.h"

namespace vestrak::testing {
namespace {

class Selection : public CiTreeTest {
protected:
    void SetUp() override
    {
        control->NodeClick.connect([this] { ++nodeClicks; });
        control->NodeDoubleClick.connect([this] { ++doubleClicks; });
        control->Click.connect([this] { ++homeClicks; });
    }

    int nodeClicks = 0;
    int doubleClicks = 0;
    int homeClicks = 0;
};

TEST_F(Selection, ExtraKeyBeforeTheFirstBuildIsAnErrorForTheHost)
{
    EXPECT_THROW(static_cast<void>(control->SelectedObjectExtraKey()), ControlError);
    build("[TreeObjects]\n", ShownTree);
    EXPECT_EQ(Utf8(control->SelectedObjectExtraKey()), "");
}

TEST_F(Selection, NodeClickFillsThePropertiesStoresTheNodeAndRaisesNodeClick)
{
    struct Case {
        const char* line;
        const char* selectedObject;
        const char* extraInfo;
        const char* extraKey;
    };
    const Case cases[] = {
        { "A,x/B=5,v", "A", "B", "B" },
        { "A=5,Pump", "A", "A", "A" },
        { "A=5,Pump/Motor", "A", "", "A" },
        { "A ,x/K=5,Spaced", "A ", "K", "K" },
    };
    for (const Case& each : cases) {
        build(std::string("[TreeObjects]\n") + each.line + "\n", ShownTree);
        const int before = nodeClicks;
        ASSERT_TRUE(tree().operatorClick(tree().node(1)->key())) << each.line;
        EXPECT_EQ(nodeClicks, before + 1) << each.line;
        EXPECT_EQ(Utf8(control->SelectedObject()), each.selectedObject) << each.line;
        EXPECT_EQ(Utf8(control->SelectedObjectExtraInfo()), each.extraInfo) << each.line;
        EXPECT_EQ(Utf8(control->SelectedObjectExtraKey()), each.extraKey) << each.line;
    }
    EXPECT_EQ(setting(u"Selected", u"NodeName"), "Spaced");
}

TEST_F(Selection, ExtraKeyComesFromTheFirstLineWithTheSameHead)
{
    build("[TreeObjects]\nA/K1=5,First\nB=1,Other\na,z/K2=5,Second\n", ShownTree);
    ASSERT_TRUE(tree().operatorClick(u"A,Z/2"));
    EXPECT_EQ(Utf8(control->SelectedObject()), "a");
    EXPECT_EQ(Utf8(control->SelectedObjectExtraInfo()), "K2");
    EXPECT_EQ(Utf8(control->SelectedObjectExtraKey()), "K1");

    control->setSelectedObject(u"nowhere");
    EXPECT_EQ(Utf8(control->SelectedObjectExtraKey()), "");
}

TEST_F(Selection, SetterKeepsTheWholeTextGetterGivesTheFirstField)
{
    control->setSelectedObject(u"A1,xyz");
    EXPECT_EQ(Utf8(control->SelectedObject()), "A1");
    control->setCollapseTime(-5);
    EXPECT_EQ(control->CollapseTime(), 0);
}

TEST_F(Selection, ListClickSelectsTheItemsLineWithoutStoringIt)
{
    build(ExampleSection, ShownList, u"P1");
    ASSERT_TRUE(list().operatorClick(1));
    EXPECT_EQ(nodeClicks, 1);
    EXPECT_EQ(Utf8(control->SelectedObject()), "P12");
    EXPECT_EQ(setting(u"Selected", u"NodeName"), "(none)");
}

TEST_F(Selection, NodeLeftFromAnOlderBuildIsIgnoredWhenItsLineIsGone)
{
    build(ExampleSection, ShownTree);
    control->setObjectFileSection(u"Short");
    build("[Short]\nS=5,Only\n", ShownList);
    ASSERT_TRUE(tree().operatorClick(u"P21/6"));
    EXPECT_EQ(nodeClicks, 0);
    EXPECT_EQ(Utf8(control->SelectedObject()), "");
}

TEST_F(Selection, DoubleClicksAndHome)
{
    build(ExampleSection, ShownTree);
    control->setCollapseTime(7);
    ASSERT_TRUE(tree().operatorDoubleClick(u"P/0"));
    EXPECT_EQ(doubleClicks, 1);
    EXPECT_EQ(nodeClicks, 1);

    build(ExampleSection, ShownList | StyleHomeButton, u"P1");
    ASSERT_TRUE(list().operatorDoubleClick(0));
    EXPECT_EQ(doubleClicks, 2);
    ASSERT_TRUE(button(u"Command_Home").operatorClick());
    EXPECT_EQ(homeClicks, 1);
}

TEST_F(Selection, UpAndDownSwitchBetweenTheButtonRowAndTheObjects)
{
    build(ExampleSection, ShownTree | StyleUpDownButtons);
    EXPECT_TRUE(button(u"Command_Up").visible());
    ASSERT_TRUE(button(u"Command_Up").operatorClick());
    EXPECT_FALSE(tree().visible());
    EXPECT_TRUE(button(u"Command_Down").visible());
    ASSERT_TRUE(button(u"Command_Down").operatorClick());
    EXPECT_TRUE(tree().visible());
    EXPECT_EQ(surface->focusedWidget(), &tree());
    EXPECT_FALSE(button(u"Command_Down").visible());

    build(ExampleSection, ShownList | StyleUpDownButtons);
    ASSERT_TRUE(button(u"Command_Up").operatorClick());
    EXPECT_FALSE(list().visible());
    ASSERT_TRUE(button(u"Command_Down").operatorClick());
    EXPECT_TRUE(list().visible());
    EXPECT_EQ(surface->focusedWidget(), &list());
}

} // namespace
} // namespace vestrak::testing
