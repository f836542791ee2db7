#include "text/encoding.h"

#include <gtest/gtest.h>

namespace vestrak {
namespace {

TEST(DecodeObjectFile, Utf8WhenValidElseWindows1252)
{
    struct Row {
        std::string bytes;
        std::u16string expected;
    };
    const Row rows[] = { { "caf\xC3\xA9", u"café" }, { "\xEF\xBB\xBF[S]", u"[S]" }, { "caf\xE9", u"café" },
        { "\xC3\xA9\xE9", u"Ã©é" }, { "\x80\x81\x8D\x8F\x90\x9D\x9F", u"€\u0081\u008D\u008F\u0090\u009DŸ" },
        { "\xC0\xAF", u"À¯" }, { "\xED\xA0\x80", u"í\u00A0€" }, { "\xF4\x90\x80\x80", u"ô\u0090€€" },
        { "\xF0\x9F\x98\x80", u"\U0001F600" }, { "\uFEFFa\xE9", u"a\uFFFD" } };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.bytes);
        EXPECT_EQ(DecodeObjectFile(row.bytes), row.expected);
    }
}

// Windows editors save INI files as UTF-16 with a byte order mark; the profile reads them as text.
TEST(WithUtf16AsUtf8, DecodesOnlyUtf16OfEitherByteOrder)
{
    EXPECT_EQ(WithUtf16AsUtf8(std::string("\xFF\xFE[\0\xE4\0=\0\x3D\xD8\x00\xDE", 12)),
        "\xEF\xBB\xBF[\xC3\xA4=\xF0\x9F\x98\x80");
    EXPECT_EQ(WithUtf16AsUtf8(std::string("\xFE\xFF\0a\xD8\x00\0b\0", 9)), "\uFEFFa\uFFFDb\uFFFD");
    EXPECT_EQ(WithUtf16AsUtf8("caf\xE9"), "caf\xE9");
    EXPECT_EQ(DecodeObjectFile(WithUtf16AsUtf8(std::string("\xFF\xFEx\0", 4))), u"x");
}

TEST(Utf8, LoneSurrogatesAndInvalidSequencesBecomeReplacementCharacters)
{
    EXPECT_EQ(ToUtf8(u"é\U0001F600"), "\xC3\xA9\xF0\x9F\x98\x80");
    EXPECT_EQ(ToUtf8(std::u16string { 0xD800, u'a', 0xDC00 }), "\uFFFDa\uFFFD");
    EXPECT_EQ(FromUtf8("\xF0\x9F\x98\x80"), u"\U0001F600");
    EXPECT_EQ(FromUtf8("a\xFF\x62"), u"a\uFFFDb");
    EXPECT_EQ(FromUtf8("\xE2\x82\x61\xE2\x82"), u"\uFFFDa\uFFFD");
}

TEST(SplitTextLines, CrLfLoneCrAndLoneLf)
{
    using Lines = std::vector<std::u16string>;
    struct Row {
        std::u16string text;
        Lines expected;
    };
    const Row rows[]
        = { { u"", {} }, { u"a", { u"a" } }, { u"a\r\n", { u"a" } }, { u"a\r\nb", { u"a", u"b" } },
              { u"a\rb\nc", { u"a", u"b", u"c" } }, { u"a\n\nb\n", { u"a", u"", u"b" } },
              { u"a\r\r\n", { u"a", u"" } }, { u"a\n\r", { u"a", u"" } }, { u"\n", { u"" } } };
    for (const Row& row : rows) {
        SCOPED_TRACE(ToUtf8(row.text));
        EXPECT_EQ(SplitTextLines(row.text), row.expected);
    }
}

} // namespace
} // namespace vestrak
