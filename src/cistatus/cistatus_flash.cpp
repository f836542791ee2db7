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
    StatusLooks looks(m_BehaviourFlags);
    std::vector<std::uint16_t> chosen;
    InheritStatuses(
        m_StatusObjects,
        [this](std::size_t first, std::span<std::int32_t> parents) { readParentPositions(first, parents); },
        inheritance,
        [&](std::size_t first, std::span<const ShownStatus> shown) {
            showStatusIcons(first, shown, looks, chosen);
        });
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

void CiStatusPrivate::showStatusIcons(std::size_t first, std::span<const ShownStatus> shown,
    StatusLooks& looks, std::vector<std::uint16_t>& chosen)
{
    chosen.resize(shown.size());
    std::transform(shown.begin(), shown.end(), chosen.begin(),
        [&looks](const ShownStatus& each) { return looks.numberOf(each.status, each.inherited); });
    TreeView_Status.setNodeLooks(static_cast<std::int32_t>(first) + 1, looks.all(), chosen);
}

} // namespace vestrak
