#include "cistatus/cistatus_p.h"

#include <algorithm>
#include <limits>

namespace vestrak {

void CiStatusPrivate::Timer_Update_Timer()
{
    // Saturating, so that an interval near the largest number still comes round instead of
    // overflowing the count.
    const std::int64_t elapsed = std::int64_t { m_UpdateElapsed } + Timer_Update->interval();
    m_UpdateElapsed = static_cast<std::int32_t>(
        std::clamp<std::int64_t>(elapsed, 0, std::numeric_limits<std::int32_t>::max()));
    if (m_UpdateElapsed < m_UpdateInterval) {
        return;
    }
    // No tick may start a second request while the host answers this one.
    Timer_Update->setEnabled(false);
    GetStatus();
    Timer_Update->setEnabled(true);
    m_UpdateElapsed = 0;
}

std::u16string CiStatusPrivate::ObjectTagName()
{
    m_QueryStatus = nullptr;
    while (m_QueryIndex < static_cast<std::int32_t>(m_StatusObjects.size())) {
        ++m_QueryIndex;
        const auto position = static_cast<std::size_t>(m_QueryIndex) - 1;
        if (!m_StatusObjects[position].m_Texts.tagName().empty()) {
            m_QueryStatus = m_StatusObjects.handle(position);
            break;
        }
    }
    if (!m_QueryStatus) {
        m_QueryIndex = 0;
        return {};
    }
    return StatusTexts::Decoded(m_QueryStatus->m_Texts.tagName());
}

std::int32_t CiStatusPrivate::ObjectStatus() const
{
    return m_QueryStatus ? m_QueryStatus->m_Status : -1;
}

void CiStatusPrivate::setObjectStatus(std::int32_t value)
{
    if (!m_QueryStatus) {
        return;
    }
    if (m_QueryStatus->m_Status != value) {
        m_QueryStatus->m_Status = value;
        m_StatusesChanged = true;
    }
    // A host that keeps answering keeps the next request away.
    m_UpdateElapsed = 0;
}

} // namespace vestrak
