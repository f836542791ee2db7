#include "cistatus/cistatus_p.h"
#include "cistatus/status_icon.h"
#include "cistatus/status_inheritance.h"

namespace vestrak {

// A tick that follows no change turns the tree's blink phase alone: the blinking nodes read it
// when their rows are drawn, so the tick costs the rows shown, not the alarms.
void CiStatusPrivate::Timer_Flash_Timer()
{
    m_FlashOn = !m_FlashOn;
    TreeView_Status.setBlinkPhase(m_FlashOn ? BlinkPhase::On : BlinkPhase::Off);
    if (m_StatusesChanged) {
        m_StatusesChanged = false;
        inheritStatuses();
        showStatusIcons();
    }
}

void CiStatusPrivate::inheritStatuses()
{
    Inheritance inheritance = Inheritance::Off;
    if ((m_BehaviourFlags & BehaviourInheritStatus) != 0) {
        inheritance = (m_BehaviourFlags & BehaviourUnknownAboveGood) != 0 ? Inheritance::UnknownAboveGood
                                                                          : Inheritance::ByImage;
    }
    InheritStatuses(m_StatusObjects, m_ParentPositions, inheritance);
}

void CiStatusPrivate::showStatusIcons()
{
    for (std::size_t position = 0; position < m_StatusObjects.size(); ++position) {
        const cStatus& record = m_StatusObjects[position];
        const std::int32_t phaseOffImage
            = ChooseStatusImage(m_BehaviourFlags, record.m_DesiredStatus, record.m_StatusWasInherited, false);
        const std::int32_t phaseOnImage
            = ChooseStatusImage(m_BehaviourFlags, record.m_DesiredStatus, record.m_StatusWasInherited, true);
        const NodeRef node = TreeView_Status.node(static_cast<std::int32_t>(position) + 1);
        node->setImageMeaning(StatusWords(phaseOffImage, phaseOffImage != phaseOnImage));
        // An image the list lacks leaves the icon as it is.
        node->setBlinkImages(phaseOffImage, phaseOnImage);
    }
}

} // namespace vestrak
