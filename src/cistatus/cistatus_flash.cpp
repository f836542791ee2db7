#include "cistatus/cistatus_p.h"
#include "cistatus/status_icon.h"
#include "cistatus/status_inheritance.h"

namespace vestrak {

void CiStatusPrivate::Timer_Flash_Timer()
{
    m_FlashOn = !m_FlashOn;
    if (m_StatusesChanged) {
        m_StatusesChanged = false;
        inheritStatuses();
        showStatusIcons();
    } else {
        showBlinkingIcons();
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
    m_BlinkingPositions.clear();
    for (std::size_t position = 0; position < m_StatusObjects.size(); ++position) {
        const cStatus& record = m_StatusObjects[position];
        const std::int32_t image = ChooseStatusImage(
            m_BehaviourFlags, record.m_DesiredStatus, record.m_StatusWasInherited, m_FlashOn);
        const std::int32_t otherPhaseImage = ChooseStatusImage(
            m_BehaviourFlags, record.m_DesiredStatus, record.m_StatusWasInherited, !m_FlashOn);
        const bool blinking = image != otherPhaseImage;
        if (blinking) {
            m_BlinkingPositions.push_back(static_cast<std::int32_t>(position));
        }
        record.m_Node->setImageMeaning(StatusWords(m_FlashOn ? otherPhaseImage : image, blinking));
        // Steady nodes are left alone; an image the list lacks leaves the icon as it is.
        if (record.m_Node->image() != image) {
            record.m_Node->setImage(image);
        }
    }
}

void CiStatusPrivate::showBlinkingIcons()
{
    for (const std::int32_t position : m_BlinkingPositions) {
        const cStatus& record = m_StatusObjects[static_cast<std::size_t>(position)];
        record.m_Node->setImage(ChooseStatusImage(
            m_BehaviourFlags, record.m_DesiredStatus, record.m_StatusWasInherited, m_FlashOn));
    }
}

} // namespace vestrak
