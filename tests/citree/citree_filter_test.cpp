#include "citree_fixture.h"

#include <gmock/gmock.h>

using ::testing::ElementsAre;

namespace vestrak::testing {
namespace {

constexpr const char* GroupedFile = "[General]\n"
                                    "AllowedFilterGroups=4,5\n"
                                    "[FilterGroupNames]\n"
                                    "4=Pumps\n"
                                    "[TreeObjects]\n"
                                    "P=1,Plant\n"
                                    "P1=1,Pumps\n"
                                    "P11=4,Pump 1\n"
                                    "P12=4,Main pump 1\n"
                                    "P2=1,Valves\n"
                                    "P21=5,Valve\n"
                                    "P3=2,Empty house\n";

class Filter : public CiTreeTest {
protected:
    void buildWithGroups(const std::string& allowed)
    {
        build("[General]\nAllowedFilterGroups=" + allowed + "\n[TreeObjects]\nP=1,Plant\n", ShownTree);
    }
    std::vector<std::string> groupKeys()
    {
        std::vector<std::string> keys;
        for (std::int32_t index = 1; index <= groups().buttonCount(); ++index) {
            keys.push_back(Utf8(groups().button(index)->key()));
        }
        return keys;
    }
    std::vector<std::string> textsWithFilter(const std::u16string& words)
    {
        saveSetting(u"PressedFilterButtons", u"FilterButton", u"1");
        saveSetting(u"PressedFilterButtons", u"FilterText", words);
        build(GroupedFile, ShownTree);
        std::vector<std::string> texts;
        for (std::int32_t index = 1; index <= tree().count(); ++index) {
            if (tree().node(index)->image() >= 4) {
                texts.push_back(Utf8(tree().node(index)->text()));
            }
        }
        return texts;
    }
};

TEST_F(Filter, GroupButtonsComeFromTheAllowedList)
{
    buildWithGroups("2,4,x,5");
    EXPECT_THAT(groupKeys(), ElementsAre("K4", "K5"));
    buildWithGroups("4,,5");
    EXPECT_THAT(groupKeys(), ElementsAre("K4"));
    buildWithGroups("4,4");
    EXPECT_THAT(groupKeys(), ElementsAre("K4"));
}

TEST_F(Filter, GroupButtonsTakeImageTooltipAndStoredState)
{
    saveSetting(u"PressedFilterButtons", u"5", u"1");
    build(GroupedFile, ShownTree);
    ASSERT_EQ(groups().buttonCount(), 2);
    EXPECT_EQ(groups().button(1)->image(), 4);
    EXPECT_EQ(Utf8(groups().button(1)->toolTipText()), "Pumps");
    EXPECT_EQ(Utf8(groups().button(2)->toolTipText()), "");
    EXPECT_EQ(groups().button(1)->value(), 0);
    EXPECT_EQ(groups().button(2)->value(), 1);
    EXPECT_TRUE(groups().visible());
    EXPECT_TRUE(filterToolbar().visible());
    EXPECT_TRUE(filterText().visible());
}

TEST_F(Filter, NoGroupsHideTheWholeFilterRow)
{
    saveSetting(u"PressedFilterButtons", u"FilterButton", u"1");
    saveSetting(u"PressedFilterButtons", u"FilterText", u"nothing matches");
    buildWithGroups("1,2,3");
    EXPECT_FALSE(groups().visible());
    EXPECT_FALSE(filterText().visible());
    EXPECT_EQ(tree().count(), 1);
}

TEST_F(Filter, PressedGroupDropsOtherGroupsAndTidiesUp)
{
    saveSetting(u"PressedFilterButtons", u"4", u"1");
    build(GroupedFile, ShownTree);
    EXPECT_THAT(nodeKeys(), ElementsAre("P/0", "P1/1", "P11/2", "P12/3"));
    for (std::int32_t index = 1; index <= tree().count(); ++index) {
        EXPECT_TRUE(tree().node(index)->expanded()) << index;
    }
    EXPECT_EQ(Utf8(tree().selectedNode()->key()), "P12/3");
}

TEST_F(Filter, NoGroupPressedDropsNothingAndOpensNothing)
{
    build(GroupedFile, ShownTree);
    EXPECT_EQ(tree().count(), 7);
    EXPECT_FALSE(tree().node(1)->expanded());
}

TEST_F(Filter, GroupWrittenWithLeadingZeroNeverFilters)
{
    saveSetting(u"PressedFilterButtons", u"04", u"1");
    saveSetting(u"PressedFilterButtons", u"5", u"1");
    build("[General]\nAllowedFilterGroups=04,5\n[TreeObjects]\nA=4,Four\nB=5,Five\nC=6,Six\n", ShownTree);
    EXPECT_EQ(Utf8(groups().button(1)->key()), "K04");
    EXPECT_THAT(nodeKeys(), ElementsAre("A/0", "B/1", "C/2"));
}

TEST_F(Filter, FilterWords)
{
    struct Case {
        const char16_t* words;
        std::vector<std::string> kept;
    };
    const Case cases[] = {
        { u"pump", { "Pump 1", "Main pump 1" } },
        { u"pump,valve", { "Pump 1", "Main pump 1", "Valve" } },
        { u"p*1", { "Pump 1" } },
        { u"\"pump 1\"", { "Pump 1" } },
        { u"valve,,pump", { "Valve" } },
        { u"\"", {} },
        { u" ", { "Pump 1", "Main pump 1", "Valve" } },
    };
    for (const Case& each : cases) {
        EXPECT_EQ(textsWithFilter(each.words), each.kept) << Utf8(each.words);
    }
}

TEST_F(Filter, ImplicitStarsStopAtTheFirstOccurrence)
{
    saveSetting(u"PressedFilterButtons", u"FilterButton", u"1");
    saveSetting(u"PressedFilterButtons", u"FilterText", u"a?c");
    build("[General]\nAllowedFilterGroups=4\n[TreeObjects]\nA=4,ABC\nB=4,XABCY\nC=4,AXAYC\n", ShownTree);
    EXPECT_THAT(nodeKeys(), ElementsAre("A/0", "B/1"));
}

TEST_F(Filter, OnlyThirtyTwoWordsCount)
{
    std::u16string words;
    for (int word = 0; word < 32; ++word) {
        words += u"nomatch,";
    }
    EXPECT_THAT(textsWithFilter(words + u"valve"), ElementsAre());
    EXPECT_THAT(textsWithFilter(words.substr(8) + u"valve"), ElementsAre("Valve"));
}

TEST_F(Filter, TextIsIgnoredWhileTheFilterButtonIsUp)
{
    saveSetting(u"PressedFilterButtons", u"FilterText", u"valve");
    build(GroupedFile, ShownTree);
    EXPECT_EQ(Utf8(filterText().text()), "valve");
    EXPECT_EQ(tree().count(), 7);
}

TEST_F(Filter, ClickStoresStateAndTheTimerRebuildsOnce)
{
    constexpr std::int32_t style = ShownTree | StyleKeepOpenNodes | StyleDiagnosticLog;
    build(GroupedFile, style);
    ASSERT_TRUE(groups().operatorClick(u"K5"));
    EXPECT_EQ(setting(u"PressedFilterButtons", u"5"), "1");
    EXPECT_EQ(tree().count(), 7);
    ASSERT_TRUE(groups().operatorClick(u"K4"));
    ASSERT_TRUE(groups().operatorClick(u"K4"));
    EXPECT_EQ(setting(u"PressedFilterButtons", u"4"), "0");

    // The rebuild opens every remaining node; none of that is the operator's doing.
    clock.advance(200);
    EXPECT_THAT(nodeKeys(), ElementsAre("P/0", "P2/4", "P21/5"));
    EXPECT_EQ(setting(u"OpenNodes", u"Plant"), "(none)");
    // The buttons keep the operator's state instead of being created anew.
    EXPECT_EQ(groups().button(2)->value(), 1);
    const std::int32_t afterRebuild = tree().count();
    clock.advance(1000);
    EXPECT_EQ(tree().count(), afterRebuild);
    EXPECT_EQ(control->Style(), style);
}

TEST_F(Filter, EnterPressesTheFilterButtonAndRebuildsWithFocusInTheBox)
{
    build(GroupedFile, ShownTree);
    ASSERT_EQ(filterToolbar().button(1)->value(), 0);
    ASSERT_TRUE(filterText().operatorType(u"valve\r"));
    EXPECT_EQ(Utf8(filterText().text()), "valve");
    EXPECT_EQ(filterToolbar().button(1)->value(), 1);
    EXPECT_EQ(setting(u"PressedFilterButtons", u"FilterButton"), "1");
    EXPECT_EQ(setting(u"PressedFilterButtons", u"FilterText"), "valve");

    clock.advance(200);
    // Structure lines are filtered by their texts too.
    EXPECT_THAT(nodeKeys(), ElementsAre("P2/4", "P21/5"));
    EXPECT_EQ(surface->focusedWidget(), &filterText());

    // Enter with the button down stores the new words as well.
    ASSERT_TRUE(filterText().operatorType(u",pump\r"));
    clock.advance(200);
    EXPECT_THAT(nodeKeys(), ElementsAre("P1/1", "P11/2", "P12/3", "P2/4", "P21/5"));
}

TEST_F(Filter, OperatorClicksThatArriveDuringABuildAreIgnored)
{
    build(GroupedFile, ShownTree);
    bool nodeClickRaised = false;
    control->NodeClick.connect([&nodeClickRaised] { nodeClickRaised = true; });
    // The group names are looked up while the build runs; the operator clicks just then.
    profile.whileLookingUp = [this] {
        groups().operatorClick(u"K5");
        filterToolbar().operatorClick(u"Filter");
        tree().operatorClick(u"P/0");
    };
    control->setStyle(ShownTree);
    profile.whileLookingUp = nullptr;
    EXPECT_EQ(setting(u"PressedFilterButtons", u"5"), "(none)");
    EXPECT_EQ(setting(u"PressedFilterButtons", u"FilterButton"), "(none)");
    EXPECT_EQ(setting(u"Selected", u"NodeName"), "(none)");
    EXPECT_FALSE(nodeClickRaised);
    EXPECT_EQ(Utf8(control->SelectedObject()), "");
}

} // namespace
} // namespace vestrak::testing
