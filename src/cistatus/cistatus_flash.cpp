#include "cistatus/cistatus.h"
#include "cistatus/status_icon.h"
#include "cistatus/status_inheritance.h"

namespace vestrak {

void CiStatus::Timer_Flash_Timer()
{
    m_FlashOn = !m_FlashOn;
    inheritStatuses();
    showStatusIcons();
}

void CiStatus::inheritStatuses()
{
    InheritStatuses(m_StatusObjects, m_ParentPositions, (m_BehaviourFlags & BehaviourInheritStatus) != 0);
}

void CiStatus::showStatusIcons()
{
    for (const auto& record : m_StatusObjects) {
        const std::int32_t image = ChooseStatusImage(
            m_BehaviourFlags, record->m_DesiredStatus, record->m_StatusWasInherited, m_FlashOn);
        // Steady nodes are left alone; an image the list lacks leaves the icon as it is.
        if (record->m_Node->image() != image) {
            record->m_Node->setImage(image);
        }
    }
}

} // namespace vestrak
