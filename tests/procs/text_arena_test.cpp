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
        const std::string narrow = std::string("K") + std::to_string(number * 7919);
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

// A tree keeps key and text before it knows the key is new, and gives both back when it is not:
// the room serves again, however often that happens, and what was kept before stays.
TEST(TextArena, GivesBackTheTextsKeptLast)
{
    TextArena arena;
    const std::u16string_view first = arena.keep(u"first");
    const std::u16string_view key = arena.keep(u"key");
    const std::u16string_view text = arena.keep(u"text");
    for (int attempt = 0; attempt < 100000; ++attempt) {
        const std::u16string_view again = arena.keep(u"key");
        const std::u16string_view long_text = arena.keep(std::u16string(40000, u'x'));
        arena.giveBack(long_text);
        arena.giveBack(again);
        ASSERT_EQ(again.data(), text.data() + text.size());
    }
    arena.giveBack(text);
    arena.giveBack(key);
    EXPECT_EQ(arena.keep(u"next").data(), key.data());
    EXPECT_EQ(first, u"first");

    // A text that began a new block is not given back; the block stays usable.
    TextArena nearlyFull;
    nearlyFull.keep(std::u16string(32 * 1024 - 2, u'a'));
    const std::u16string_view spilled = nearlyFull.keep(u"abc");
    nearlyFull.giveBack(spilled);
    EXPECT_EQ(nearlyFull.keep(u"def"), u"def");
}

} // namespace
} // namespace vestrak
