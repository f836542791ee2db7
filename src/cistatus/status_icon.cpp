#include "cistatus/status_icon.h"

#include "cistatus/cistatus.h"

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

} // namespace vestrak
