#include "citree_fixture.h"

namespace vestrak::testing {
namespace {

std::string ManyTopLines(int count)
{
    std::string content = "[TreeObjects]\n";
    for (int line = 0; line < count; ++line) {
        content += "N" + std::to_string(1000 + line) + "=1,Row " + std::to_string(line) + "\n";
    }
    return content;
}

using Appearance = CiTreeTest;

TEST_F(Appearance, ScrollPositionIsKeptBetweenInstancesOnlyWithItsStyleBit)
{
    constexpr std::int32_t style = ShownTree | StyleKeepScrollPosition;
    build(ManyTopLines(100), style);
    ASSERT_TRUE(tree().operatorScroll(40));
    create();
    EXPECT_EQ(setting(u"Settings", u"ScrollPosition"), "40");
    build(ManyTopLines(100), style);
    EXPECT_EQ(tree().scrollPosition(), 40);

    create();
    build(ManyTopLines(100), ShownTree);
    EXPECT_EQ(tree().scrollPosition(), 0);
    ASSERT_TRUE(tree().operatorScroll(10));
    create();
    EXPECT_EQ(setting(u"Settings", u"ScrollPosition"), "40");

    saveSetting(u"Settings", u"ScrollPosition", u"down a bit");
    build(ManyTopLines(3), style);
    EXPECT_EQ(tree().scrollPosition(), 0);
    destroy();
    EXPECT_EQ(setting(u"Settings", u"ScrollPosition"), "0");
}

// The navigation transcript shows the colour in the tree after the next build.
TEST_F(Appearance, BackColorReachesTheListAtOnceAndTheTreeOnlyAtTheNextBuild)
{
    build(ExampleSection, ShownTree);
    control->setBackColor(0x00FF00);
    EXPECT_EQ(list().backColor(), 0x00FF00u);
    EXPECT_EQ(tree().backColor(), WindowBackgroundColor);
}

} // namespace
} // namespace vestrak::testing
