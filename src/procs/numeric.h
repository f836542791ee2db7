#pragma once

#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>
#include <string_view>

namespace vestrak {

// The number a text starts with: optional blanks (space, tab), then either a decimal number with
// optional sign, fraction and exponent, or &H hex / &O octal digits. Hex and octal values that fit
// in 32 bits are read as 32-bit two's complement (&HFFFFFFFF is -1); larger ones, and decimal
// numbers beyond the double range, give infinity. A text without a leading number gives 0.
double LeadingNumber(std::u16string_view text);

// The nearest whole number, halves to even; nothing when the value is NaN or out of range, so the
// caller's target keeps its value.
template<typename Integer> std::optional<Integer> RoundHalfToEven(double value)
{
    // A whole number in range, the common case, needs no rounding.
    if (value >= std::numeric_limits<Integer>::min() && value <= std::numeric_limits<Integer>::max()
        && value == static_cast<double>(static_cast<Integer>(value))) {
        return static_cast<Integer>(value);
    }
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

inline std::optional<std::int16_t> RoundToInt16(double value)
{
    return RoundHalfToEven<std::int16_t>(value);
}

inline std::optional<std::int32_t> RoundToInt32(double value)
{
    return RoundHalfToEven<std::int32_t>(value);
}

} // namespace vestrak
