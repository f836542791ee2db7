#include "procs/text_arena.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace vestrak {
namespace {

TEST(TextArena, KeepsEveryTextAcrossBlocksAndTextsLongerThanABlock)
{
    TextArena arena;
    EXPECT_EQ(arena.keep(u""), u"");
    std::vector<std::u16string> texts;
    std::vector<std::u16string_view> kept;
    for (int number = 0; number < 20000; ++number) {
        const std::string narrow = "K" + std::to_string(number * 7919);
        texts.emplace_back(narrow.begin(), narrow.end());
        if (number == 5000 || number == 5001) {
            texts.back().append(40000, static_cast<char16_t>(u'a' + number % 2));
        }
        kept.push_back(arena.keep(texts.back()));
    }
    kept.push_back(arena.keep(u""));
    for (std::size_t each = 0; each < texts.size(); ++each) {
        ASSERT_EQ(kept[each], texts[each]);
    }
    EXPECT_EQ(kept.back(), u"");

    arena.clear();
    EXPECT_EQ(arena.keep(u"again"), u"again");
}

} // namespace
} // namespace vestrak
