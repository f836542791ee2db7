#include "citree_fixture.h"

#include <gmock/gmock.h>

using ::testing::ElementsAre;

namespace vestrak::testing {
namespace {

constexpr const char* GroupedFile = "[General]\nAllowedFilterGroups=4,5\n[FilterGroupNames]\n4=Pumps\n"
                                    "[TreeObjects]\nP=1,Plant\nP1=1,Pumps\nP11=4,Pump 1\nP12=4,Main pump 1\n"
                                    "P2=1,Valves\nP21=5,Valve\nP3=2,Empty house\n";

class Filter : public CiTreeTest {
protected:
    std::vector<std::string> groupKeys(const std::string& allowed)
    {
        build("[General]\nAllowedFilterGroups=" + allowed + "\n[TreeObjects]\nP=1,Plant\n", ShownTree);
        std::vector<std::string> keys;
        for (std::int32_t index = 1; index <= groups().buttonCount(); ++index) {
            keys.push_back(Utf8(groups().button(index)->key()));
        }
        return keys;
    }
    void storeFilter(const std::u16string& pressed, const std::u16string& words)
    {
        saveSetting(u"PressedFilterButtons", u"FilterButton", pressed);
        saveSetting(u"PressedFilterButtons", u"FilterText", words);
    }
};

TEST_F(Filter, GroupButtonsComeFromTheAllowedList)
{
    EXPECT_THAT(groupKeys("2,4,x,5"), ElementsAre("K4", "K5"));
    EXPECT_THAT(groupKeys("4,,5"), ElementsAre("K4"));
    EXPECT_THAT(groupKeys("4,4"), ElementsAre("K4"));
    EXPECT_THAT(groupKeys("1,2"), ElementsAre());
    EXPECT_FALSE(filterText().visible());

    saveSetting(u"PressedFilterButtons", u"5", u"1");
    build(GroupedFile, ShownTree);
    EXPECT_EQ(Utf8(groups().button(1)->toolTipText()), "Pumps");
    EXPECT_EQ(groups().button(1)->image(), 4);
    EXPECT_EQ(groups().button(2)->value(), 1);
    EXPECT_TRUE(filterText().visible());
}

// The filter transcript shows a pressed group dropping the others and the tidy-up; beyond it: a
// group named with a leading zero, and childless structure nodes of every structure image.
TEST_F(Filter, PressedGroupTidiesAwayChildlessStructureOfEveryStructureImage)
{
    saveSetting(u"PressedFilterButtons", u"04", u"1");
    build("[General]\nAllowedFilterGroups=04,5\n[TreeObjects]\nA=4,Four\nB=5,Five\nC=1,One\nD=2,Two\n"
          "E=3,Three\nF=0,None\n",
        ShownTree);
    EXPECT_THAT(nodeKeys(), ElementsAre("A/0"));
}

TEST_F(Filter, FilterWords)
{
    const std::vector<std::pair<std::u16string, std::vector<std::string>>> cases = {
        { u"pump", { "P1/1", "P11/2", "P12/3" } },
        { u"pump 1,valve", { "P11/2", "P12/3", "P2/4", "P21/5" } },
        { u"p*1", { "P11/2" } },
        { u"\"pump 1\"", { "P11/2" } },
        { u"valve,,pump", { "P2/4", "P21/5" } },
        { u"\"", {} },
        { u"nomatch,nomatch,nomatch,nomatch,nomatch,nomatch,nomatch,nomatch,nomatch,nomatch,nomatch,nomatch,"
          u"nomatch,nomatch,nomatch,nomatch,nomatch,nomatch,nomatch,nomatch,nomatch,nomatch,nomatch,nomatch,"
          u"nomatch,nomatch,nomatch,nomatch,nomatch,nomatch,nomatch,nomatch,valve",
            {} },
    };
    for (const auto& [words, kept] : cases) {
        storeFilter(u"1", words);
        build(GroupedFile, ShownTree);
        EXPECT_EQ(nodeKeys(), kept) << Utf8(words);
        EXPECT_EQ(tree().placeholderText(), u"No objects match the filter.") << "said when the tree is empty";
    }
    storeFilter(u"1", u"a?c");
    build("[General]\nAllowedFilterGroups=4\n[TreeObjects]\nA=4,ABC\nB=4,XABCY\nC=4,AXAYC\n", ShownTree);
    EXPECT_THAT(nodeKeys(), ElementsAre("A/0", "B/1"));
    storeFilter(u"0", u"a?c");
    build("[General]\nAllowedFilterGroups=4\n[TreeObjects]\nA=4,ABC\nB=4,XABCY\nC=4,AXAYC\n", ShownTree);
    EXPECT_EQ(tree().count(), 3);
    EXPECT_EQ(tree().placeholderText(), u"") << "no filter, nothing to explain";
    EXPECT_NE(filterButton()->toolTipText(), u"") << "the filter button says what it does";
}

TEST_F(Filter, ClickStoresStateAndTheTimerRebuildsOnce)
{
    constexpr std::int32_t style = ShownTree | StyleKeepOpenNodes;
    build(GroupedFile, style);
    ASSERT_TRUE(groups().operatorClick(u"K5"));
    ASSERT_TRUE(groups().operatorClick(u"K4"));
    ASSERT_TRUE(groups().operatorClick(u"K4"));
    EXPECT_EQ(setting(u"PressedFilterButtons", u"5"), "1");
    EXPECT_EQ(setting(u"PressedFilterButtons", u"4"), "0");
    EXPECT_EQ(tree().count(), 7);

    clock.advance(200);
    EXPECT_THAT(nodeKeys(), ElementsAre("P/0", "P2/4", "P21/5"));
    // Nodes the rebuild opened are not the operator's, and the buttons keep the operator's state.
    EXPECT_EQ(setting(u"OpenNodes", u"Plant"), "(none)");
    EXPECT_EQ(groups().button(2)->value(), 1);
    ASSERT_TRUE(tree().operatorCollapse(u"P/0"));
    clock.advance(1000);
    EXPECT_FALSE(tree().node(1)->expanded());
}

TEST_F(Filter, EnterPressesTheFilterButtonAndRebuildsWithFocusInTheBox)
{
    build(GroupedFile, ShownTree);
    ASSERT_TRUE(filterText().operatorType(u"valve\r"));
    EXPECT_EQ(Utf8(filterText().text()), "valve");
    EXPECT_EQ(filterButton()->value(), 1);
    EXPECT_EQ(setting(u"PressedFilterButtons", u"FilterText"), "valve");
    clock.advance(200);
    EXPECT_THAT(nodeKeys(), ElementsAre("P2/4", "P21/5"));
    EXPECT_EQ(surface->focusedWidget(), &filterText());

    ASSERT_TRUE(filterText().operatorType(u",main\r"));
    clock.advance(200);
    EXPECT_THAT(nodeKeys(), ElementsAre("P12/3", "P2/4", "P21/5"));
}

TEST_F(Filter, OperatorClicksThatArriveDuringABuildAreIgnored)
{
    build(GroupedFile, ShownTree);
    bool nodeClickRaised = false;
    control->NodeClick.connect([&nodeClickRaised] { nodeClickRaised = true; });
    profile.whileLookingUp = [this] {
        groups().operatorClick(u"K5");
        widget<Toolbar>(u"Toolbar_Filter").operatorClick(u"Filter");
        tree().operatorClick(u"P/0");
    };
    control->setStyle(ShownTree);
    profile.whileLookingUp = nullptr;
    EXPECT_EQ(setting(u"PressedFilterButtons", u"5"), "(none)");
    EXPECT_EQ(setting(u"PressedFilterButtons", u"FilterButton"), "(none)");
    EXPECT_EQ(setting(u"Selected", u"NodeName"), "(none)");
    EXPECT_FALSE(nodeClickRaised);
}

} // namespace
} // namespace vestrak::testing
