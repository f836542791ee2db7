#pragma once

#include "ports/tree.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

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

// The looks of the nodes that show statuses, each chosen once for a status's visible bits and
// whether it was inherited: a million records share a few dozen looks.
class StatusLooks {
public:
    explicit StatusLooks(std::int32_t behaviourFlags)
        : m_BehaviourFlags(behaviourFlags)
    {
    }

    // The number of what a node showing the status looks like, among all().
    [[nodiscard]] std::uint16_t numberOf(std::int32_t desiredStatus, bool inherited)
    {
        // The image, the flash bit and the sub-state, which are all ChooseStatusImage reads.
        const auto shownBits = static_cast<std::uint32_t>(desiredStatus & (StatusImageMask | StatusFlashBit))
            | static_cast<std::uint32_t>(desiredStatus & StatusSubStateMask) >> 3;
        std::uint16_t& number = m_NumberByKey[shownBits << 1 | (inherited ? 1U : 0U)];
        if (number == NotChosen) {
            number = choose(desiredStatus, inherited);
        }
        return number;
    }
    [[nodiscard]] std::span<const NodeLooks> all() const { return m_Looks; }

private:
    static constexpr std::size_t Keys = std::size_t { 1 } << 13;
    static constexpr std::uint16_t NotChosen = UINT16_MAX;

    std::uint16_t choose(std::int32_t desiredStatus, bool inherited);

    std::int32_t m_BehaviourFlags = 0;
    std::vector<std::uint16_t> m_NumberByKey = std::vector<std::uint16_t>(Keys, NotChosen);
    std::vector<NodeLooks> m_Looks;
};

} // namespace vestrak
