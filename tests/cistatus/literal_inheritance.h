#pragma once

#include "cistatus/cstatus.h"

#include <memory>
#include <vector>

namespace vestrak::testing {

// Inheritance done the slow, obvious way, as the reference for the one-pass version: every
// record, from the last to the first, offers its value to each ancestor node in turn, found
// through the tree itself (record n shows node Index n).
inline void LiteralInheritStatuses(const std::vector<std::shared_ptr<cStatus>>& records, bool inherit)
{
    for (const auto& record : records) {
        record->m_DesiredStatus = record->m_Status;
        record->m_StatusWasInherited = false;
    }
    if (!inherit) {
        return;
    }
    for (auto child = records.rbegin(); child != records.rend(); ++child) {
        const std::int32_t offered = (*child)->m_DesiredStatus;
        for (NodeRef ancestor = (*child)->m_Node->parent(); ancestor; ancestor = ancestor->parent()) {
            cStatus& record = *records[static_cast<std::size_t>(ancestor->index()) - 1];
            if ((record.m_DesiredStatus & 0xFF) < (offered & 0xFF)) {
                record.m_StatusWasInherited = true;
                record.m_DesiredStatus = offered;
            }
        }
    }
}

} // namespace vestrak::testing
