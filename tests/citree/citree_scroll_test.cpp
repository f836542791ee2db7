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

using Scroll = CiTreeTest;

TEST_F(Scroll, PositionIsKeptBetweenInstances)
{
    constexpr std::int32_t style = ShownTree | StyleKeepScrollPosition;
    build(ManyTopLines(100), style);
    ASSERT_TRUE(tree().operatorScroll(40));
    destroy();
    EXPECT_EQ(setting(u"Settings", u"ScrollPosition"), "40");

    create();
    build(ManyTopLines(100), style);
    EXPECT_EQ(tree().scrollPosition(), 40);
}

TEST_F(Scroll, WithoutTheStyleBitNothingIsStoredOrRestored)
{
    saveSetting(u"Settings", u"ScrollPosition", u"40");
    build(ManyTopLines(100), ShownTree);
    EXPECT_EQ(tree().scrollPosition(), 0);
    ASSERT_TRUE(tree().operatorScroll(10));
    destroy();
    EXPECT_EQ(setting(u"Settings", u"ScrollPosition"), "40");
}

TEST_F(Scroll, ShortTreeSavesZeroAndAStoredTextRestoresTheTop)
{
    constexpr std::int32_t style = ShownTree | StyleKeepScrollPosition;
    saveSetting(u"Settings", u"ScrollPosition", u"down a bit");
    build(ManyTopLines(100), style);
    EXPECT_EQ(tree().scrollPosition(), 0);
    build(ManyTopLines(3), style);
    destroy();
    EXPECT_EQ(setting(u"Settings", u"ScrollPosition"), "0");
}

TEST_F(Scroll, ListBuildRestoresThePositionOfTheHiddenTree)
{
    constexpr std::int32_t style = ShownTree | StyleKeepScrollPosition;
    build(ManyTopLines(100), style);
    saveSetting(u"Settings", u"ScrollPosition", u"12");
    build(ManyTopLines(100), ShownList | StyleKeepScrollPosition, u"N");
    EXPECT_EQ(tree().scrollPosition(), 12);
}

} // namespace
} // namespace vestrak::testing
