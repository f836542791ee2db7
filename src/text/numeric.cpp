#include "text/numeric.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <optional>
#include <string>

namespace vestrak {

namespace {

constexpr double Infinity = std::numeric_limits<double>::infinity();
// More significant digits than any double needs to round correctly; the rest only tells
// whether anything non-zero follows.
constexpr std::size_t KeptSignificantDigits = 800;
// Beyond this decimal exponent every double is infinite or zero.
constexpr std::int64_t ExponentLimit = 400;

bool IsDigit(char16_t unit)
{
    return unit >= u'0' && unit <= u'9';
}

int DigitValue(char16_t unit, int radix)
{
    int value = radix;
    if (IsDigit(unit)) {
        value = unit - u'0';
    } else if (unit >= u'a' && unit <= u'f') {
        value = unit - u'a' + 10;
    } else if (unit >= u'A' && unit <= u'F') {
        value = unit - u'A' + 10;
    }
    return value < radix ? value : -1;
}

// Digits after &H or &O; a value wider than 32 bits lies outside every integer range.
double ReadRadixNumber(std::u16string_view digits, int radix)
{
    constexpr std::uint64_t Largest = 0xFFFFFFFFU;
    std::uint64_t value = 0;
    for (const char16_t unit : digits) {
        const int digit = DigitValue(unit, radix);
        if (digit < 0) {
            break;
        }
        value = value * static_cast<std::uint64_t>(radix) + static_cast<std::uint64_t>(digit);
        if (value > Largest) {
            return Infinity;
        }
    }
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
}

// A decimal number as significant digits times a power of ten, gathered in one pass.
class DecimalReader {
public:
    explicit DecimalReader(std::u16string_view text)
        : m_Text(text)
    {
    }

    double read()
    {
        const bool negative = takeSign();
        const std::size_t integerDigits = takeDigits(true);
        std::size_t fractionDigits = 0;
        if (m_Position < m_Text.size() && m_Text[m_Position] == u'.') {
            ++m_Position;
            fractionDigits = takeDigits(false);
        }
        if (integerDigits + fractionDigits == 0) {
            return 0;
        }
        const std::int64_t exponent = takeExponent();
        if (m_Significant.empty()) {
            return 0;
        }
        const double magnitude = scaled(m_PointShift + exponent);
        return negative ? -magnitude : magnitude;
    }

private:
    bool takeSign()
    {
        if (m_Position < m_Text.size() && (m_Text[m_Position] == u'+' || m_Text[m_Position] == u'-')) {
            return m_Text[m_Position++] == u'-';
        }
        return false;
    }

    std::size_t takeDigits(bool beforePoint)
    {
        const std::size_t first = m_Position;
        for (; m_Position < m_Text.size() && IsDigit(m_Text[m_Position]); ++m_Position) {
            const char digit = static_cast<char>(m_Text[m_Position]);
            if (m_Significant.empty() && digit == '0') {
                m_PointShift -= beforePoint ? 0 : 1;
                continue;
            }
            m_PointShift += beforePoint ? 1 : 0;
            if (m_Significant.size() < KeptSignificantDigits) {
                m_Significant.push_back(digit);
            } else if (digit != '0') {
                m_DroppedNonZero = true;
            }
        }
        return m_Position - first;
    }

    std::int64_t takeExponent()
    {
        std::size_t position = m_Position;
        if (position >= m_Text.size() || (m_Text[position] != u'e' && m_Text[position] != u'E')) {
            return 0;
        }
        ++position;
        bool negative = false;
        if (position < m_Text.size() && (m_Text[position] == u'+' || m_Text[position] == u'-')) {
            negative = m_Text[position++] == u'-';
        }
        if (position >= m_Text.size() || !IsDigit(m_Text[position])) {
            return 0;
        }
        std::int64_t exponent = 0;
        for (; position < m_Text.size() && IsDigit(m_Text[position]); ++position) {
            exponent = std::min<std::int64_t>(exponent * 10 + (m_Text[position] - u'0'), 1'000'000'000);
        }
        m_Position = position;
        return negative ? -exponent : exponent;
    }

    // 0.<significant digits> times ten to the power.
    double scaled(std::int64_t power) const
    {
        if (power > ExponentLimit) {
            return Infinity;
        }
        if (power < -ExponentLimit) {
            return 0;
        }
        std::string normalized = "0." + m_Significant;
        if (m_DroppedNonZero) {
            normalized.push_back('1');
        }
        normalized += 'e';
        normalized += std::to_string(power);
        double value = 0;
        const auto [end, error]
            = std::from_chars(normalized.data(), normalized.data() + normalized.size(), value);
        if (error == std::errc::result_out_of_range) {
            return power > 0 ? Infinity : 0;
        }
        return value;
    }

    std::u16string_view m_Text;
    std::size_t m_Position = 0;
    std::string m_Significant;
    bool m_DroppedNonZero = false;
    // Where the decimal point lies relative to the first significant digit.
    std::int64_t m_PointShift = 0;
};

// Most numbers in object files are a few plain digits, such as an image number before its comma:
// read at once when nothing that could continue the number follows them.
std::optional<double> WholeNumber(std::u16string_view text)
{
    constexpr std::size_t ExactDigits = 15;
    const bool negative = !text.empty() && text[0] == u'-';
    const std::size_t first = !text.empty() && (text[0] == u'-' || text[0] == u'+') ? 1 : 0;
    std::size_t end = first;
    std::int64_t value = 0;
    for (; end < text.size() && IsDigit(text[end]); ++end) {
        if (end - first == ExactDigits) {
            return std::nullopt;
        }
        value = value * 10 + (text[end] - u'0');
    }
    if (end == first) {
        return std::nullopt;
    }
    if (end < text.size() && (text[end] == u'.' || text[end] == u'e' || text[end] == u'E')) {
        return std::nullopt;
    }
    // A negative zero reads as zero, as it does through the full reader.
    return negative && value != 0 ? -static_cast<double>(value) : static_cast<double>(value);
}

template<typename Integer> std::optional<Integer> RoundHalfToEven(double value)
{
    if (std::isnan(value)) {
        return std::nullopt;
    }
    const double lower = std::floor(value);
    const double fraction = value - lower;
    double rounded = lower;
    if (fraction > 0.5 || (fraction == 0.5 && std::fmod(lower, 2.0) != 0)) {
        rounded = lower + 1;
    }
    if (rounded < std::numeric_limits<Integer>::min() || rounded > std::numeric_limits<Integer>::max()) {
        return std::nullopt;
    }
    return static_cast<Integer>(rounded);
}

} // namespace

double LeadingNumber(std::u16string_view text)
{
    while (!text.empty() && (text.front() == u' ' || text.front() == u'\t')) {
        text.remove_prefix(1);
    }
    if (text.empty()) {
        return 0;
    }
    if (text.size() >= 2 && text[0] == u'&') {
        const char16_t radixLetter = text[1];
        if (radixLetter == u'H' || radixLetter == u'h') {
            return ReadRadixNumber(text.substr(2), 16);
        }
        if (radixLetter == u'O' || radixLetter == u'o') {
            return ReadRadixNumber(text.substr(2), 8);
        }
    }
    if (const auto whole = WholeNumber(text)) {
        return *whole;
    }
    return DecimalReader(text).read();
}

std::optional<std::int16_t> RoundFractionToInt16(double value)
{
    return RoundHalfToEven<std::int16_t>(value);
}

std::optional<std::int32_t> RoundFractionToInt32(double value)
{
    return RoundHalfToEven<std::int32_t>(value);
}

} // namespace vestrak
