#include "containers/prefix_list_index.h"
#include "object_file/code_chain.h"
#include "text/encoding.h"
#include "text/line_separators.h"
#include "text/text.h"
#include "text/wildcard.h"

#include <array>
#include <gtest/gtest.h>
#include <iterator>
#include <random>

namespace vestrak {
namespace {

TEST(GetField, FixedSeparators)
{
    struct Row {
        std::u16string text;
        std::int32_t index;
        std::u16string_view separator;
        std::u16string expected;
    };
    const Row rows[] = { { u"a,b,c", 0, u",", u"a" }, { u"a,b,c", 2, u",", u"c" }, { u"a,b,c", 3, u",", u"" },
        { u"a,b,c", -1, u",", u"" }, { u"a,,c", 1, u",", u"" }, { u"a,,c", 2, u",", u"c" },
        { u",a", 0, u",", u"" }, { u"a,", 1, u",", u"" }, { u"abc", 0, u",", u"abc" },
        { u"k=v=w", 1, u"=", u"v" }, { u"a::b", 1, u"::", u"b" }, { u"x = y", 1, u"=", u" y" },
        { u"", 0, u",", u"" }, { u"a,b", 2'000'000'000, u",", u"" } };
    for (const Row& row : rows) {
        SCOPED_TRACE(ToUtf8(row.text) + " #" + std::to_string(row.index) + " " + ToUtf8(row.separator));
        EXPECT_EQ(GetField(row.text, row.index, row.separator), row.expected);
    }
}

TEST(GetField, AnEmptySeparatorIsChosenFromTheText)
{
    struct Row {
        std::u16string text;
        std::int32_t index;
        std::u16string expected;
        std::u16string chosenSeparator;
    };
    const Row rows[]
        = { { u"a\tb", 1, u"b", u"\t" }, { u"a'b", 1, u"b", u"'" }, { u"a'b\tc", 1, u"c", u"\t" },
              { u"a b", 0, u"", u"" }, { u"a b", 1, u"", u"" }, { u"a b", 1'000'000'000, u"", u"" } };
    for (const Row& row : rows) {
        SCOPED_TRACE(ToUtf8(row.text) + " #" + std::to_string(row.index));
        std::u16string separator;
        EXPECT_EQ(GetField(row.text, row.index, separator), row.expected);
        EXPECT_EQ(separator, row.chosenSeparator);
    }
}

TEST(IsInPrefixList, Table)
{
    struct Row {
        std::u16string list;
        std::u16string text;
        bool expected;
    };
    const Row rows[] = { { u"AB,CD", u"cdx", true }, { u"AB, CD", u"CDX", false },
        { u"AB,,CD", u"CD", false }, { u"", u"x", false }, { u"ABC", u"AB", false }, { u"ab", u"ABC", true },
        { u"ÄÖ,X", u"äöü", true }, { u"AB,", u"x", false }, { u",AB", u"AB", false },
        { u"AB,CD", u"AX", false }, { u"X,AB", u"ab", true }, { u"A,B,C", u"c", true },
        { u"AB,CD", u"", false }, { u"AB,CD", u"A", false }, { u"P1", u"P1", true }, { u"P1,Q", u"Q7", true },
        // Items and codes of eight units and more.
        { u"ABCDEFGHIJ,KLMNOPQRSTU", u"klmnopqrstuvw", true },
        { u"ABCDEFGHIJKLMNOPQ", u"abcdefghijklmnopq", true },
        { u"ABCDEFGHIJKLMNOPQ", u"ABCDEFGHIJKLMNOPX", false },
        { u"ABCDEFGHIJKLMNOP,Q", u"ABCDEFGHIJKLMNOPQ", true },
        { u"ABCDEFGHIJKLMNOPQR", u"ABCDEFGHIJKLMNOPQ", false },
        { u"ABCDEFGHX,IJKLMNOPQRSTUVWXY", u"IJKLMNOPQRSTUVWXYZ", true },
        { u"ABCDEFG,HIJKLMNOPQ", u"ABCDEFG,HIJKLMNOXY", true } };
    for (const Row& row : rows) {
        SCOPED_TRACE(ToUtf8(row.list) + " | " + ToUtf8(row.text));
        EXPECT_EQ(IsInPrefixList(row.list, row.text), row.expected);
        EXPECT_EQ(IsInPrefixList(ToUtf8(row.list), ToUtf8(row.text)), row.expected);
        EXPECT_EQ(PrefixListIndex(row.list).startsWithItem(row.list, row.text), row.expected);
    }
}

// A word of up to `longest` units drawn from a few, so that words are prefixes of one another,
// repeat, and differ in case only.
std::u16string RandomWord(std::mt19937& random, std::size_t longest)
{
    constexpr std::u16string_view Units = u"aAaAbä Ä";
    std::u16string word(random() % (longest + 1), u' ');
    for (char16_t& unit : word) {
        unit = Units[random() % Units.size()];
    }
    return word;
}

// A comma list of that many words, now and then an empty one (which ends the list).
std::u16string RandomList(std::mt19937& random, std::size_t items)
{
    std::u16string list;
    for (std::size_t item = 0; item < items; ++item) {
        list += (item == 0 ? u"" : u",") + (random() % 60 == 0 ? u"" : RandomWord(random, 4));
    }
    return list;
}

// The index, the parent search's chain and both read as UTF-8 answer as the plain list reading
// does, for lists of every length and codes that match any item, or none.
TEST(IsInPrefixList, IndexAndCodeChainAnswerAsTheListReadPlainly)
{
    std::mt19937 random(31);
    for (int round = 0; round < 3000; ++round) {
        const std::u16string list = RandomList(random, random() % 2 == 0 ? 3 : 100);
        const PrefixListIndex index(list);
        for (int question = 0; question < 20; ++question) {
            const std::u16string text = RandomWord(random, 8);
            ASSERT_EQ(index.startsWithItem(list, text), IsInPrefixList(list, text))
                << ToUtf8(list) << " | " << ToUtf8(text);
            ASSERT_EQ(IsInPrefixList(ToUtf8(list), ToUtf8(text)), IsInPrefixList(list, text))
                << ToUtf8(list) << " | " << ToUtf8(text);
        }
    }
    for (int file = 0; file < 100; ++file) {
        CodeChain chain;
        Utf8CodeChain utf8Chain;
        std::vector<std::u16string> plain;
        for (int line = 0; line < 300; ++line) {
            const std::u16string code = RandomList(random, random() % 8 == 0 ? 40 : 1 + random() % 3);
            std::size_t kept = plain.size();
            while (kept > 0 && !IsInPrefixList(plain[kept - 1], code)) {
                --kept;
            }
            ASSERT_EQ(chain.linksKeptFor(code), kept) << "file " << file << ", line " << line;
            ASSERT_EQ(utf8Chain.linksKeptFor(ToUtf8(code)), kept) << "file " << file << ", line " << line;
            plain.resize(kept);
            chain.cutTo(kept);
            utf8Chain.cutTo(kept);
            plain.push_back(code);
            chain.add(code);
            utf8Chain.add(ToUtf8(code));
        }
    }
}

TEST(MatchWildcard, Table)
{
    struct Row {
        std::u16string text;
        std::u16string pattern;
        bool expected;
    };
    const Row rows[] = { { u"", u"*", true }, { u"", u"", false }, { u"", u"a*", false },
        { u"abc", u"", false }, { u"abc", u"a*", true }, { u"a", u"a*", true }, { u"abc", u"*b*", true },
        { u"abc", u"a?c", true }, { u"abc", u"???", true }, { u"abc", u"**", true }, { u"ab", u"a?c", false },
        { u"abcd", u"a?c", false }, { u"ABC", u"abc", false }, { u"abab", u"*ab", false },
        { u"aab", u"*a?", false }, { u"xy", u"*?", false }, { u"x", u"*?", true },
        { u"abxcd", u"ab*cd", true }, { u"abcd", u"*c?", true }, { u"abcd", u"a*??", false },
        { u"", u"**", false } };
    for (const Row& row : rows) {
        SCOPED_TRACE(ToUtf8(row.text) + " | " + ToUtf8(row.pattern));
        EXPECT_EQ(MatchWildcard(row.text, row.pattern), row.expected);
    }
}

TEST(MatchWildcard, OnlyTheFirst31PartsCount)
{
    std::u16string pattern;
    for (int pair = 0; pair < 16; ++pair) {
        pattern += u"a?";
    }
    // 31 parts are 16 "a" and 15 "?": the 32nd part, a last "?", is never looked at.
    std::u16string fitsFirst31;
    for (int pair = 0; pair < 15; ++pair) {
        fitsFirst31 += u"ax";
    }
    EXPECT_TRUE(MatchWildcard(fitsFirst31 + u"a", pattern));
    EXPECT_FALSE(MatchWildcard(fitsFirst31 + u"ax", pattern));
}

TEST(ToUpper, UpperCasesLetterByLetter)
{
    EXPECT_EQ(ToUpper(u"az09_é÷ßÿµ"), u"AZ09_É÷ßŸµ");
    EXPECT_EQ(ToUpper(u"`az{@AZ"), u"`AZ{@AZ");
    EXPECT_EQ(ToUpper(u"āĳĺľŉńŋžıſĸ"), u"ĀĲĹĽŉŃŊŽISĸ");
    EXPECT_EQ(ToUpper(u"αωςάέώΐ"), u"ΑΩΣΆΈΏΐ");
    EXPECT_EQ(ToUpper(u"аяёџѠ"), u"АЯЁЏѠ");
    EXPECT_EQ(ToUpper(u"ÀŸΩЯ"), u"ÀŸΩЯ");
    EXPECT_EQ(ToUpper(u"`az{@AZ~abcdefgh`{@[z~ijklmnoéıxyz"), u"`AZ{@AZ~ABCDEFGH`{@[Z~IJKLMNOÉIXYZ");
}

TEST(TrimSpaces, OnlyTheSpaceCharacterAtBothEnds)
{
    EXPECT_EQ(TrimSpaces(u"  a  b  "), u"a  b");
    EXPECT_EQ(TrimSpaces(u" \ta\t "), u"\ta\t");
    EXPECT_EQ(TrimSpaces(u"   "), u"");
}

TEST(SplitAtNul, KeepsThePieceAfterTheLastNul)
{
    using Pieces = std::vector<std::u16string>;
    EXPECT_EQ(SplitAtNul(u""), Pieces { u"" });
    EXPECT_EQ(SplitAtNul(std::u16string(u"a\0\0b\0", 5)), (Pieces { u"a", u"", u"b", u"" }));
}

// A filter keeps its patterns in a vector that moves them as it grows; short patterns live inside
// the string object, so a pattern must not point into its old place.
TEST(WildcardPattern, PatternsMovedAboutStillMatchAsMatchWildcard)
{
    const std::vector<std::u16string> patterns
        = { u"*PUMP*", u"P?MP", u"*", u"A*B*C", u"??", u"*FAULT", u"X*", u"*1" };
    const std::vector<std::u16string> texts = { u"PUMP 1", u"PAMP", u"ABC", u"AXBXC", u"AB", u"MOTOR FAULT",
        u"X", u"", u"VALVE 21", u"PUMP FAULT 1" };
    std::vector<WildcardPattern> kept;
    for (const std::u16string& pattern : patterns) {
        kept.emplace_back(pattern);
    }
    for (std::size_t each = 0; each < patterns.size(); ++each) {
        for (const std::u16string& text : texts) {
            EXPECT_EQ(kept[each].matches(text), MatchWildcard(text, patterns[each]))
                << ToUtf8(patterns[each]) << " on " << ToUtf8(text);
        }
    }
    EXPECT_TRUE(kept[0].matches(u"PUMP 1"));
    EXPECT_FALSE(kept[1].matches(u"PUMPS"));
}

// The four-at-a-time search against a plain one, over units whose neighbours borrow or carry.
TEST(FindUnit, AgreesWithAPlainSearchAtEveryStartAndLength)
{
    const char16_t units[] = { 0x0000, 0x0001, 0x7FFF, 0x8000, 0x8001, 0xFFFF, u'=', u'>', u'<' };
    std::mt19937 random(7);
    std::uniform_int_distribution<std::size_t> pick(0, std::size(units) - 1);
    for (int round = 0; round < 2000; ++round) {
        std::u16string text(round % 23, u'x');
        for (char16_t& unit : text) {
            unit = units[pick(random)];
        }
        const char16_t wanted = units[pick(random)];
        for (std::size_t from = 0; from <= text.size() + 1; ++from) {
            ASSERT_EQ(FindUnit(text, wanted, from), std::u16string_view(text).find(wanted, from))
                << "round " << round << " from " << from;
        }
    }
}

// Separators on both sides of the eight-unit (sixteen-byte) blocks; the search stops at the
// second "=".
TEST(FindLineSeparators, Table)
{
    constexpr std::size_t N = LineSeparators::NotFound;
    const struct {
        std::u16string_view line;
        std::array<std::size_t, 7> equalsSlashesCommas;
    } cases[] = {
        { u"code/name = value, more, text", { 10, N, 4, N, N, 17, 23 } },
        { u"AREA,PLANT/UNIT/PUMP/X=a=b,c", { 22, 24, 10, 15, 4, N, N } },
        { u"no separators at all here", { N, N, N, N, N, N, N } },
    };
    const auto positions = [](const LineSeparators& at) {
        return std::array { at.equals, at.secondEquals, at.slash, at.secondSlash, at.codeComma, at.comma,
            at.secondComma };
    };
    for (const auto& [line, expected] : cases) {
        EXPECT_EQ(positions(FindLineSeparators(line)), expected) << ToUtf8(line);
        EXPECT_EQ(positions(FindLineSeparators(ToUtf8(line))), expected) << ToUtf8(line);
    }
}

} // namespace
} // namespace vestrak
