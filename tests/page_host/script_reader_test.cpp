// The page-script language's happy paths are played by the transcript tests (script_language.page);
// these are the edges and mistakes no page shows.
#include "page_host/script_error.h"
#include "page_host/script_source.h"
#include "page_host/script_words.h"
#include "text/encoding.h"
#include "text/output_text.h"

#include <gtest/gtest.h>

namespace vestrak {
namespace {

TEST(ScriptWords, WordsAreCutAsTheirQuotesSay)
{
    EXPECT_EQ(SplitWords(u" set\tt.Style\t").size(), 2u);
    EXPECT_EQ(SplitWords(u"echo \"\" bare"),
        (std::vector<Word> { { u"echo", false }, { u"", true }, { u"bare", false } }));
    EXPECT_EQ(SplitWords(uR"("a\\b\"c\td\re\nf")").front().text, u"a\\b\"c\td\re\nf");
    EXPECT_EQ(SplitWords(uR"("\x41\xe9\x00z")").front().text, std::u16string(u"A\u00E9") + u'\0' + u"z");
    for (const std::u16string_view line : { u"echo \"open", u"echo \"ends in a backslash\\", uR"(echo "\q")",
             uR"(echo "\x4")", uR"(echo "\xG1")", u"echo \"glued\"on" })
        EXPECT_THROW(SplitWords(line), ScriptError) << ToUtf8(line);
    EXPECT_FALSE(IsControlName(u"") || IsControlName(u"t-1"));
}

TEST(ScriptNumbers, OnlyWholeDecimalOrHexadecimalNumbersCount)
{
    EXPECT_EQ(ParseNumber(u"&h1f"), 31);
    EXPECT_EQ(ParseNumber(u"&HFFFFFFFF"), -1);
    EXPECT_EQ(ParseNumber(u"9999999999"), 9999999999);
    for (const std::u16string_view text : { u"", u"-", u"+5", u"12x", u"1.5", u" 1", u"0x", u"&H",
             u"0x123456789", u"-0x10", u"0xG", u"99999999999999999999", u"\uFF11" })
        EXPECT_FALSE(ParseNumber(text).has_value()) << ToUtf8(text);
}

TEST(ScriptLines, LinesAreCutAtTheirEnds)
{
    EXPECT_TRUE(IsSkippedLine(u" \t "));
    EXPECT_FALSE(IsSkippedLine(u"echo # not a comment"));
    EXPECT_EQ(SplitScriptLines("a\r\nb\n\nc"), (std::vector<std::string> { "a", "b", "", "c" }));
    EXPECT_EQ(SplitScriptLines("a\n"), (std::vector<std::string> { "a" }));
    EXPECT_EQ(SplitScriptLines("a\rb\n"), (std::vector<std::string> { "a\rb" }));
    EXPECT_EQ(DecodeBlockLine("C:\\Plant\\x4"), "C:\\Plant\\x4");
    EXPECT_EQ(DecodeBlockLine("caf\xC3\xA9 \\xzz \\"), "caf\xC3\xA9 \\xzz \\");
}

TEST(OutputText, OnlyControlCharactersAreEscaped)
{
    EXPECT_EQ(QuotedText(u"c\x01\x1F\t\\\""), R"("c\x01\x1F\t\\\"")");
    EXPECT_EQ(QuotedText(u"\u007F\u009B\u00A0\u00E9\u20AC"), "\"\\x7F\\x9B\xC2\xA0\xC3\xA9\xE2\x82\xAC\"");
    EXPECT_EQ(PrintableText(u"a\\b\"\t\x1B[2J\u0085"), "a\\b\"\t\\x1B[2J\\x85");
    EXPECT_EQ(PrintableText(std::string_view("\x1B]0;\xC2\x9B\xC3\xA9\xFF\n")),
        "\\x1B]0;\\x9B\xC3\xA9\xEF\xBF\xBD\\n");
}

} // namespace
} // namespace vestrak
