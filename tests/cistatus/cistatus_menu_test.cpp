#include "cistatus_fixture.h"

using namespace vestrak;
using namespace vestrak::testing;

namespace {

class CiStatusMenu : public CiStatusTest {
protected:
    CiStatusMenu()
    {
        connections += menu().Shown.connect([this] { ++shownCount; });
        connections += control->PopupMenuItemClick.connect(
            [this] { chosen.push_back(control->SelectedPopupMenuItem()); });
        load({ "A=2,T1,a" });
    }

    [[nodiscard]] PopupMenu& menu() const { return static_cast<PopupMenu&>(widget(u"Menu_Popup")); }
    [[nodiscard]] std::vector<std::u16string> captions() const
    {
        std::vector<std::u16string> result;
        for (std::int32_t i = 0; i < menu().itemCount(); ++i) {
            result.push_back(menu().caption(i));
        }
        return result;
    }

    int shownCount = 0;
    std::vector<std::u16string> chosen;
    Connections connections;
};

} // namespace

TEST_F(CiStatusMenu, ItemsFollowTheNameSlashCaptionTextsSet)
{
    EXPECT_EQ(captions(), (std::vector<std::u16string> { u"..." }));
    ASSERT_TRUE(tree().operatorRightClick(u"A/0"));
    EXPECT_EQ(shownCount, 0) << "no items defined yet";
    EXPECT_FALSE(menu().operatorChoose(0)) << "a menu never shown offers nothing";

    control->setPopupMenuItem(u"Cmd");
    control->setPopupMenuItem(u"A/B/C");
    EXPECT_EQ(captions(), (std::vector<std::u16string> { u"", u"B" }));
    ASSERT_TRUE(tree().operatorClick(u"A/0"));
    EXPECT_EQ(shownCount, 0) << "a left click never opens the menu";
    ASSERT_TRUE(tree().operatorRightClick(u"A/0"));
    ASSERT_TRUE(menu().operatorChoose(0));
    EXPECT_FALSE(menu().operatorChoose(1)) << "a choice closes the menu";
    load({ "B=2,T1,b" });
    ASSERT_TRUE(tree().operatorRightClick(u"B/0"));
    ASSERT_TRUE(menu().operatorChoose(1));
    EXPECT_EQ(chosen, (std::vector<std::u16string> { u"Cmd", u"A" })) << "items outlive a load";

    control->setPopupMenuItem(u"");
    EXPECT_EQ(control->SelectedPopupMenuItem(), u"");
    EXPECT_EQ(captions(), (std::vector<std::u16string> { u"" }));
    ASSERT_TRUE(tree().operatorRightClick(u"B/0"));
    EXPECT_EQ(shownCount, 2);
    control->setPopupMenuItem(u"Cmd/Run");
    EXPECT_EQ(captions(), (std::vector<std::u16string> { u"Run" }));
}

// An "Acknowledge alarm" must land on the object under the mouse, never on the one selected
// before, nor on none.
TEST_F(CiStatusMenu, ARightClickActsOnlyOnThePointedNode)
{
    load({ "A=2,T1,Pump", "B=4,T2,Tank" }, "[B]\r\nTank alarm\r\n");
    control->setPopupMenuItem(u"Ack/Acknowledge alarm");
    ASSERT_TRUE(tree().operatorClick(u"A/0"));
    std::vector<std::u16string> seen;
    connections += control->NodeClick.connect([this, &seen] { seen.push_back(control->SelectedNode()); });
    connections += menu().Shown.connect([&seen] { seen.emplace_back(u"menu"); });
    ASSERT_TRUE(tree().operatorRightClick(u"B/1"));
    EXPECT_EQ(seen, (std::vector<std::u16string> { u"Tank", u"menu" }));
    EXPECT_EQ(static_cast<TextBox&>(widget(u"Text_Info")).text(), u"Tank alarm\r\n");

    seen.clear();
    tree().MouseDown(2, 0, 0, 3000);
    tree().Click();
    EXPECT_TRUE(seen.empty()) << "a right click off the rows selects nothing and opens no menu";
    EXPECT_EQ(control->SelectedNode(), u"Tank");
}
