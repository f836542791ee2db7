#include "containers/prefix_list_index.h"
#include "text/encoding.h"
#include "text/line_separators.h"
#include "text/text.h"
#include "text/wildcard.h"

#include <array>
#include <gtest/gtest.h>

namespace vestrak {
namespace {

// A separator given is used as it stands; an empty one is chosen from the text: a tab, else an
// apostrophe, else none.
TEST(GetField, Table)
{
    struct Row {
        std::u16string text;
        std::int32_t index;
        std::u16string separator;
        std::u16string expected;
        std::u16string chosenSeparator = separator;
    };
    const Row rows[] = { { u"a,b,c", 0, u",", u"a" }, { u"a,b,c", 2, u",", u"c" }, { u"a,b,c", 3, u",", u"" },
        { u"a,b,c", -1, u",", u"" }, { u"a,,c", 1, u",", u"" }, { u"a,,c", 2, u",", u"c" },
        { u",a", 0, u",", u"" }, { u"a,", 1, u",", u"" }, { u"abc", 0, u",", u"abc" },
        { u"k=v=w", 1, u"=", u"v" }, { u"a::b", 1, u"::", u"b" }, { u"x = y", 1, u"=", u" y" },
        { u"", 0, u",", u"" }, { u"a,b", 2'000'000'000, u",", u"" }, { u"a\tb", 1, u"", u"b", u"\t" },
        { u"a'b", 1, u"", u"b", u"'" }, { u"a'b\tc", 1, u"", u"c", u"\t" }, { u"a b", 0, u"", u"", u"" },
        { u"a b", 1, u"", u"", u"" }, { u"a b", 1'000'000'000, u"", u"", u"" } };
    for (const Row& row : rows) {
        SCOPED_TRACE(ToUtf8(row.text) + " #" + std::to_string(row.index) + " " + ToUtf8(row.separator));
        std::u16string separator = row.separator;
        EXPECT_EQ(GetField(row.text, row.index, separator), row.expected);
        EXPECT_EQ(separator, row.chosenSeparator);
        if (!row.separator.empty()) {
            EXPECT_EQ(GetField(row.text, row.index, std::u16string_view(row.separator)), row.expected);
        }
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
        { u"", u"**", false },
        // Texts long enough to be searched eight bytes a step: letters in either case, and signs
        // that differ from others only in the bit that tells a letter's cases apart.
        { u"pas pas pas Part 1 of pump 12", u"*Part 1*", true }, { u"xxxxxxxxxxxxxxxxZ", u"*z", false },
        { u"abcdefgh@ijklmnop", u"*`*", false }, { u"[[[[[[[[[{", u"*{", true },
        { u"[[[[[[[[[[", u"*{*", false } };
    for (const Row& row : rows) {
        SCOPED_TRACE(ToUtf8(row.text) + " | " + ToUtf8(row.pattern));
        EXPECT_EQ(MatchWildcard(row.text, row.pattern), row.expected);
        EXPECT_EQ(WildcardPattern(ToUpper(row.pattern)).matchesUpperCased(ToUtf8(row.text)),
            MatchWildcard(ToUpper(row.text), ToUpper(row.pattern)));
    }
}

// 31 parts are 16 "a" and 15 "?": the 32nd part, a last "?", is never looked at.
TEST(MatchWildcard, OnlyTheFirst31PartsCount)
{
    std::u16string pattern;
    std::u16string fitsFirst31;
    for (int pair = 0; pair < 16; ++pair) {
        pattern += u"a?";
        fitsFirst31 += pair < 15 ? u"ax" : u"a";
    }
    EXPECT_TRUE(MatchWildcard(fitsFirst31, pattern));
    EXPECT_FALSE(MatchWildcard(fitsFirst31 + u"x", pattern));
}

TEST(ToUpper, UpperCasesLetterByLetter)
{
    EXPECT_EQ(ToUpper(u"az09_é÷ßÿµ"), u"AZ09_É÷ßŸµ");
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
