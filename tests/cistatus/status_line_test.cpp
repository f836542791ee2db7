#include "cistatus/status_line.h"
#include "text/encoding.h"
#include "text/numeric.h"
#include "text/text.h"

#include <gtest/gtest.h>

namespace vestrak {
namespace {

// A status line taken apart field by field, each field searched for anew: the reference for the
// one-pass parser.
StatusLine FieldByFieldStatusLine(std::u16string_view line)
{
    const std::u16string_view objectPart = SpaceTrimmed(FieldView(line, 0, u"="));
    const std::u16string_view valuePart = SpaceTrimmed(FieldView(line, 1, u"="));
    StatusLine parsed;
    parsed.code = SpaceTrimmed(FieldView(objectPart, 0, u"/"));
    parsed.section = SpaceTrimmed(FieldView(parsed.code, 0, u","));
    parsed.status = RoundToInt32(LeadingNumber(FieldView(valuePart, 0, u","))).value_or(0);
    parsed.tagName = FieldView(valuePart, 1, u",");
    const std::size_t comma = valuePart.find(u',');
    const std::size_t secondComma
        = comma == std::u16string_view::npos ? comma : valuePart.find(u',', comma + 1);
    if (comma == std::u16string_view::npos) {
        parsed.text = valuePart;
    } else if (secondComma == std::u16string_view::npos) {
        parsed.text = valuePart.substr(comma + 1);
    } else {
        parsed.text = SpaceTrimmed(valuePart.substr(secondComma + 1));
    }
    return parsed;
}

// Every line of up to seven characters of separators, spaces, a letter and a digit, read as
// UTF-16 and as UTF-8.
TEST(ParseStatusLine, AgreesWithFieldByFieldParsingOnEveryShortLine)
{
    constexpr std::u16string_view Alphabet = u"\u00C41 =/,";
    std::u16string line;
    std::size_t checked = 0;
    const auto check = [&](const auto& self, std::size_t length) -> void {
        const StatusLine fast = ParseStatusLine(line);
        const StatusLine reference = FieldByFieldStatusLine(line);
        ++checked;
        ASSERT_EQ(fast.code, reference.code) << ToUtf8(line);
        ASSERT_EQ(fast.section, reference.section) << ToUtf8(line);
        ASSERT_EQ(fast.status, reference.status) << ToUtf8(line);
        ASSERT_EQ(fast.tagName, reference.tagName) << ToUtf8(line);
        ASSERT_EQ(fast.text, reference.text) << ToUtf8(line);
        const std::string bytes = ToUtf8(line);
        const Utf8StatusLine utf8 = ParseStatusLine(bytes);
        ASSERT_EQ(utf8.code, ToUtf8(reference.code)) << bytes;
        ASSERT_EQ(utf8.section, ToUtf8(reference.section)) << bytes;
        ASSERT_EQ(utf8.status, reference.status) << bytes;
        ASSERT_EQ(utf8.tagName, ToUtf8(reference.tagName)) << bytes;
        ASSERT_EQ(utf8.text, ToUtf8(reference.text)) << bytes;
        if (length == 0) {
            return;
        }
        for (const char16_t unit : Alphabet) {
            line.push_back(unit);
            self(self, length - 1);
            line.pop_back();
        }
    };
    check(check, 7);
    EXPECT_EQ(checked, 335923U);
}

} // namespace
} // namespace vestrak
