#include "cistatus/cistatus_p.h"
#include "cistatus/status_icon.h"
#include "cistatus/status_inheritance.h"

#include <algorithm>

namespace vestrak {

// A tick that follows no change turns the tree's blink phase alone: the blinking nodes read it
// when their rows are drawn, so the tick costs the rows shown, not the alarms.
void CiStatusPrivate::Timer_Flash_Timer()
{
    m_FlashOn = !m_FlashOn;
    TreeView_Status.setBlinkPhase(m_FlashOn ? BlinkPhase::On : BlinkPhase::Off);
    if (m_StatusesChanged) {
        m_StatusesChanged = false;
        inheritStatusesAndShowIcons();
    }
}

void CiStatusPrivate::inheritStatusesAndShowIcons()
{
    Inheritance inheritance = Inheritance::Off;
    if ((m_BehaviourFlags & BehaviourInheritStatus) != 0) {
        inheritance = (m_BehaviourFlags & BehaviourUnknownAboveGood) != 0 ? Inheritance::UnknownAboveGood
                                                                          : Inheritance::ByImage;
    }
    // The icons of a run of records are set as soon as their statuses are settled, while the
    // records are still at hand.
    std::vector<NodeLooks> looks;
    InheritStatuses(
        m_StatusObjects,
        [this](std::size_t first, std::span<std::int32_t> parents) { readParentPositions(first, parents); },
        inheritance, [&](std::size_t first, std::size_t end) { showStatusIcons(first, end, looks); });
}

void CiStatusPrivate::readParentPositions(std::size_t first, std::span<std::int32_t> parents) const
{
    // Record n shows node n + 1, so a top node's parent index, 0, gives NoParentPosition.
    std::fill(parents.begin(), parents.end(), 0);
    TreeView_Status.parentIndexes(static_cast<std::int32_t>(first) + 1, parents);
    for (std::int32_t& parent : parents) {
        --parent;
    }
}

void CiStatusPrivate::showStatusIcons(std::size_t first, std::size_t end, std::vector<NodeLooks>& looks)
{
    looks.clear();
    for (std::size_t position = first; position < end; ++position) {
        const cStatus& record = m_StatusObjects[position];
        const std::int32_t phaseOffImage
            = ChooseStatusImage(m_BehaviourFlags, record.m_DesiredStatus, record.m_StatusWasInherited, false);
        const std::int32_t phaseOnImage
            = ChooseStatusImage(m_BehaviourFlags, record.m_DesiredStatus, record.m_StatusWasInherited, true);
        // An image the list lacks leaves the icon as it is.
        looks.push_back({ .phaseOffImage = phaseOffImage,
            .phaseOnImage = phaseOnImage,
            .imageMeaning = StatusWords(phaseOffImage, phaseOffImage != phaseOnImage) });
    }
    TreeView_Status.setNodeLooks(static_cast<std::int32_t>(first) + 1, looks);
}

} // namespace vestrak
