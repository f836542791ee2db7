#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace vestrak {

// The number a text starts with: optional blanks (space, tab), then either a decimal number with
// optional sign, fraction and exponent, or &H hex / &O octal digits. Hex and octal values that fit
// in 32 bits are read as 32-bit two's complement (&HFFFFFFFF is -1); larger ones, and decimal
// numbers beyond the double range, give infinity. A text without a leading number gives 0.
double LeadingNumber(std::u16string_view text);

// The value of a text of 1 to mostDigits plain decimal digits, nothing for any other text: the
// common case of a number in an object file, read without the number reader.
inline std::optional<std::int32_t> PlainDigitsValue(std::string_view text, std::size_t mostDigits)
{
    if (text.empty() || text.size() > mostDigits) {
        return std::nullopt;
    }
    std::int32_t value = 0;
    for (const char digit : text) {
        if (digit < '0' || digit > '9') {
            return std::nullopt;
        }
        value = value * 10 + (digit - '0');
    }
    return value;
}

// Values with a fraction, NaN or out of range: the rare case of the two below, kept out of line.
std::optional<std::int16_t> RoundFractionToInt16(double value);
std::optional<std::int32_t> RoundFractionToInt32(double value);

// The nearest whole number, halves to even; nothing when the value is NaN or out of range, so the
// caller's target keeps its value. A whole number in range, the common case, needs no rounding.
inline std::optional<std::int16_t> RoundToInt16(double value)
{
    if (value >= INT16_MIN && value <= INT16_MAX
        && value == static_cast<double>(static_cast<std::int16_t>(value))) {
        return static_cast<std::int16_t>(value);
    }
    return RoundFractionToInt16(value);
}

inline std::optional<std::int32_t> RoundToInt32(double value)
{
    if (value >= INT32_MIN && value <= INT32_MAX
        && value == static_cast<double>(static_cast<std::int32_t>(value))) {
        return static_cast<std::int32_t>(value);
    }
    return RoundFractionToInt32(value);
}

} // namespace vestrak
