#include "cistatus/status_icon.h"

#include "cistatus/cistatus.h"

#include <iterator>

namespace vestrak {

std::int32_t ChooseStatusImage(
    std::int32_t behaviourFlags, std::int32_t desiredStatus, bool inherited, bool flashOn)
{
    const bool muted = inherited && (behaviourFlags & CiStatus::BehaviourMuteInherited) != 0;
    std::int32_t image = desiredStatus & StatusImageMask;
    if (muted && image == RedImage) {
        image = AmberImage;
    }
    if ((desiredStatus & StatusFlashBit) != 0 && !muted && flashOn) {
        image = NoStatusImage;
    }
    const std::int32_t subState = (desiredStatus & StatusSubStateMask) / 0x1000;
    if (image == GreenImage && subState == 1) {
        image = GreenOneImage;
    } else if (image == GreenImage && subState == 2) {
        image = GreenTwoImage;
    }
    return image;
}

std::u16string_view StatusWords(std::int32_t steadyImage, bool blinking)
{
    struct Meaning {
        std::u16string_view steady;
        std::u16string_view blinking;
    };
    // By image number: none, unknown, green, amber, red, green marked 1 and 2.
    static constexpr Meaning Meanings[] {
        {},
        { u"unknown", u"unknown, blinking" },
        { u"normal", u"normal, blinking" },
        { u"warning", u"warning, blinking" },
        { u"alarm", u"alarm, blinking" },
        { u"normal, duty 1", u"normal, duty 1, blinking" },
        { u"normal, duty 2", u"normal, duty 2, blinking" },
    };
    if (steadyImage < 0 || steadyImage >= static_cast<std::int32_t>(std::size(Meanings)))
        return {};
    const Meaning& meaning = Meanings[steadyImage];
    return blinking ? meaning.blinking : meaning.steady;
}

std::uint16_t StatusLooks::choose(std::int32_t desiredStatus, bool inherited)
{
    const std::int32_t phaseOffImage = ChooseStatusImage(m_BehaviourFlags, desiredStatus, inherited, false);
    const std::int32_t phaseOnImage = ChooseStatusImage(m_BehaviourFlags, desiredStatus, inherited, true);
    // An image the list lacks leaves the icon as it is.
    m_Looks.push_back({ .phaseOffImage = phaseOffImage,
        .phaseOnImage = phaseOnImage,
        .imageMeaning = StatusWords(phaseOffImage, phaseOffImage != phaseOnImage) });
    return static_cast<std::uint16_t>(m_Looks.size() - 1);
}

} // namespace vestrak
