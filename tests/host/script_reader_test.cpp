#include "container/output_text.h"
#include "container/script_error.h"
#include "container/script_source.h"
#include "container/script_words.h"
#include "procs/encoding.h"

#include <gtest/gtest.h>

namespace vestrak {
namespace {

std::vector<std::u16string> Texts(const std::vector<Word>& words)
{
    std::vector<std::u16string> texts;
    for (const Word& word : words)
        texts.push_back(word.text);
    return texts;
}

TEST(ScriptWords, BlanksSeparateWordsAndQuotesKeepThem)
{
    EXPECT_EQ(Texts(SplitWords(u"  set\tt.RootObject  \"P1, Q\"  ")),
        (std::vector<std::u16string> { u"set", u"t.RootObject", u"P1, Q" }));
    const std::vector<Word> words = SplitWords(u"echo \"\" bare");
    ASSERT_EQ(words.size(), 3u);
    EXPECT_EQ(words[1], (Word { u"", true }));
    EXPECT_EQ(words[2], (Word { u"bare", false }));
}

TEST(ScriptWords, EscapesInsideStrings)
{
    EXPECT_EQ(SplitWords(uR"("a\\b\"c\td\re\nf")").front().text, u"a\\b\"c\td\re\nf");
    EXPECT_EQ(SplitWords(uR"("\x41\xe9\x00z")").front().text, std::u16string(u"A\u00E9") + u'\0' + u"z");
}

TEST(ScriptWords, BareWordsTakeBackslashesAsWritten)
{
    EXPECT_EQ(SplitWords(uR"(C:\x41\n)").front().text, uR"(C:\x41\n)");
}

TEST(ScriptWords, BadStringsAreScriptErrors)
{
    EXPECT_THROW(SplitWords(u"echo \"open"), ScriptError);
    EXPECT_THROW(SplitWords(u"echo \"ends in a backslash\\"), ScriptError);
    EXPECT_THROW(SplitWords(uR"(echo "\q")"), ScriptError);
    EXPECT_THROW(SplitWords(uR"(echo "\x4")"), ScriptError);
    EXPECT_THROW(SplitWords(uR"(echo "\xG1")"), ScriptError);
    EXPECT_THROW(SplitWords(u"echo \"glued\"on"), ScriptError);
}

TEST(ScriptWords, SkippedLines)
{
    EXPECT_TRUE(IsSkippedLine(u""));
    EXPECT_TRUE(IsSkippedLine(u" \t "));
    EXPECT_TRUE(IsSkippedLine(u"  # a comment"));
    EXPECT_FALSE(IsSkippedLine(u"echo # not a comment"));
}

TEST(ScriptNumbers, DecimalAndHexadecimal)
{
    EXPECT_EQ(ParseNumber(u"0"), 0);
    EXPECT_EQ(ParseNumber(u"-1500"), -1500);
    EXPECT_EQ(ParseNumber(u"0x1F"), 31);
    EXPECT_EQ(ParseNumber(u"&h1f"), 31);
    EXPECT_EQ(ParseNumber(u"&H104"), 260);
    EXPECT_EQ(ParseNumber(u"0x80000005"), -2147483643);
    EXPECT_EQ(ParseNumber(u"&HFFFFFFFF"), -1);
    EXPECT_EQ(ParseNumber(u"9999999999"), 9999999999);
}

TEST(ScriptNumbers, AnythingElseIsNoNumber)
{
    for (const std::u16string_view text : { u"", u"-", u"+5", u"12x", u"1.5", u" 1", u"0x", u"&H",
             u"0x123456789", u"-0x10", u"0xG", u"99999999999999999999", u"\uFF11" })
        EXPECT_FALSE(ParseNumber(text).has_value()) << ToUtf8(text);
}

TEST(ScriptWords, ControlNames)
{
    EXPECT_TRUE(IsControlName(u"tree_1"));
    EXPECT_FALSE(IsControlName(u""));
    EXPECT_FALSE(IsControlName(u"t.x"));
    EXPECT_FALSE(IsControlName(u"t-1"));
}

TEST(WriteBlocks, HexEscapesBecomeSingleBytes)
{
    EXPECT_EQ(DecodeBlockLine("P1=1,Pump \\xE9\\x41"),
        "P1=1,Pump \xE9"
        "A");
    EXPECT_EQ(DecodeBlockLine("C:\\Plant\\x4"), "C:\\Plant\\x4");
    EXPECT_EQ(DecodeBlockLine("caf\xC3\xA9 \\xzz \\"), "caf\xC3\xA9 \\xzz \\");
}

TEST(ScriptSource, LinesEndAtLineFeedWithOrWithoutCarriageReturn)
{
    EXPECT_EQ(SplitScriptLines("a\r\nb\n\nc"), (std::vector<std::string> { "a", "b", "", "c" }));
    EXPECT_EQ(SplitScriptLines("a\n"), (std::vector<std::string> { "a" }));
    EXPECT_EQ(SplitScriptLines("a\rb\n"), (std::vector<std::string> { "a\rb" }));
}

TEST(OutputText, QuotesAndEscapesLikeTheScriptLanguage)
{
    EXPECT_EQ(QuotedText(u"Plant\\Area \"1\""), R"("Plant\\Area \"1\"")");
    EXPECT_EQ(QuotedText(u"a\tb\r\nc\x01\x1F"), R"("a\tb\r\nc\x01\x1F")");
    EXPECT_EQ(QuotedText(u"\u007F\u00E9\u20AC"), "\"\x7F\xC3\xA9\xE2\x82\xAC\"");
}

} // namespace
} // namespace vestrak
