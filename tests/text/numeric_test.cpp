#include "text/encoding.h"
#include "text/numeric.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>

namespace vestrak {
namespace {

constexpr double Infinity = std::numeric_limits<double>::infinity();

TEST(LeadingNumber, Table)
{
    struct Row {
        std::u16string text;
        double expected;
    };
    const Row rows[] = { { u"  12abc", 12 }, { u"\t-3.5", -3.5 }, { u"+7", 7 }, { u".5", 0.5 }, { u"5.", 5 },
        { u"0.1", 0.1 }, { u"007.250", 7.25 }, { u"1e3", 1000 }, { u"1E+3x", 1000 }, { u"2.5e-1", 0.25 },
        { u"1e", 1 }, { u"1e+", 1 }, { u"12 34", 12 }, { u"1,5", 1 }, { u"", 0 }, { u"abc", 0 }, { u"-", 0 },
        { u".", 0 }, { u"- 5", 0 }, { u"0x10", 0 }, { u"\n5", 0 }, { u" &H1F", 31 }, { u"&hff", 255 },
        { u"&H104", 260 }, { u"&HFFFFFFFF", -1 }, { u"&H80000000", -2147483648.0 }, { u"&H00000000FF", 255 },
        { u"&O17", 15 }, { u"&o777", 511 }, { u"&O37777777777", -1 }, { u"&H", 0 }, { u"&HG", 0 },
        { u"&O8", 0 }, { u"&", 0 }, { u"-&H10", 0 }, { u"&H100000000", Infinity },
        { u"&O40000000000", Infinity }, { u"1e400", Infinity }, { u"-1e400", -Infinity }, { u"1e-400", 0 },
        { u"0e999", 0 }, { u"-0", 0 }, { u"-0,Pump", 0 }, { u"5E2,x", 500 }, { u"12.5,x", 12.5 },
        { u"999999999999999", 999999999999999.0 }, { u"-1234567890123456789", -1234567890123456789.0 },
        { u"00000000000000000042", 42 } };
    for (const Row& row : rows) {
        SCOPED_TRACE(ToUtf8(row.text));
        EXPECT_EQ(LeadingNumber(row.text), row.expected);
        // A zero never comes out negative, whichever way it was read.
        EXPECT_FALSE(std::signbit(LeadingNumber(row.text)) && row.expected == 0);
    }
}

TEST(LeadingNumber, MillionsOfDigits)
{
    const std::u16string million(1'000'000, u'3');
    EXPECT_EQ(LeadingNumber(million), Infinity);
    EXPECT_EQ(LeadingNumber(u"1." + million), 4.0 / 3.0);
    EXPECT_EQ(LeadingNumber(std::u16string(1'000'000, u'0') + u"5"), 5);
    EXPECT_EQ(LeadingNumber(u"0." + std::u16string(1'000'000, u'0') + u"1"), 0);
    EXPECT_EQ(LeadingNumber(u"1e" + million), Infinity);
    EXPECT_EQ(LeadingNumber(u"1e-" + million), 0);
    EXPECT_EQ(LeadingNumber(u"&H" + std::u16string(1'000'000, u'F')), Infinity);
}

TEST(RoundToInt16, HalvesToEvenWithinRange)
{
    struct Row {
        double value;
        std::optional<std::int16_t> expected;
    };
    const Row rows[] = { { 0.5, 0 }, { 1.5, 2 }, { 2.5, 2 }, { -0.5, 0 }, { -1.5, -2 }, { -2.5, -2 },
        { 2.4999, 2 }, { 2.5001, 3 }, { 32767.4, 32767 }, { 32767.5, std::nullopt }, { -32768.5, -32768 },
        { -32768.6, std::nullopt }, { Infinity, std::nullopt }, { std::nan(""), std::nullopt } };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.value);
        EXPECT_EQ(RoundToInt16(row.value), row.expected);
    }
}

TEST(RoundToInt32, HalvesToEvenWithinRange)
{
    EXPECT_EQ(RoundToInt32(2147483646.5), 2147483646);
    EXPECT_EQ(RoundToInt32(2147483647.5), std::nullopt);
    EXPECT_EQ(RoundToInt32(-2147483648.5), -2147483648);
    EXPECT_EQ(RoundToInt32(-Infinity), std::nullopt);
}

} // namespace
} // namespace vestrak
