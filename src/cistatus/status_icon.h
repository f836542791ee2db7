#pragma once

#include <cstdint>
#include <string_view>

namespace vestrak {

// Status value bits.
constexpr std::int32_t StatusImageMask = 0xFF;
constexpr std::int32_t StatusFlashBit = 0x100;
constexpr std::int32_t StatusSubStateMask = 0x7000;

// Image numbers of the status icons.
constexpr std::int32_t NoStatusImage = 0;
constexpr std::int32_t UnknownImage = 1;
constexpr std::int32_t GreenImage = 2;
constexpr std::int32_t AmberImage = 3;
constexpr std::int32_t RedImage = 4;
constexpr std::int32_t GreenOneImage = 5;
constexpr std::int32_t GreenTwoImage = 6;

// The icon a status shows in the current flash phase (blank while `flashOn` for a flashing
// status). Muting turns an inherited red into amber and keeps an inherited status from blinking;
// sub-states 1 and 2 mark a green icon. The result may be a number the image list lacks.
std::int32_t ChooseStatusImage(
    std::int32_t behaviourFlags, std::int32_t desiredStatus, bool inherited, bool flashOn);

// What a status shows, in words for tooltips and screen readers: "alarm", "warning", "normal" or
// "unknown" by its steady image (duty 1 and 2 named after "normal"), then ", blinking" when it
// blinks. Empty for an image without a meaning.
std::u16string_view StatusWords(std::int32_t steadyImage, bool blinking);

} // namespace vestrak
