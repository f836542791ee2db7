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

// The nearest whole number, halves to even; nothing when the value is NaN or out of range, so the
// caller's target keeps its value.
std::optional<std::int16_t> RoundToInt16(double value);
std::optional<std::int32_t> RoundToInt32(double value);

} // namespace vestrak
