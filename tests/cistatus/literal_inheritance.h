#pragma once

#include "cistatus/status_inheritance.h"
#include "cistatus/status_records.h"

namespace vestrak::testing {

// Inheritance done the slow, obvious way, as the reference for the one-pass version: every
// record, from the last to the first, offers its value to each ancestor node in turn, found
// through the tree itself (record n shows node Index n + 1).
inline void LiteralInheritStatuses(StatusRecords& records, const Tree& tree, Inheritance inheritance)
{
    for (std::size_t position = 0; position < records.size(); ++position) {
        records[position].m_DesiredStatus = records[position].m_Status;
        records[position].m_StatusWasInherited = false;
    }
    if (inheritance == Inheritance::Off) {
        return;
    }
    for (std::size_t child = records.size(); child-- > 0;) {
        const std::int32_t offered = records[child].m_DesiredStatus;
        for (NodeRef ancestor = tree.node(static_cast<std::int32_t>(child) + 1)->parent(); ancestor;
             ancestor = ancestor->parent()) {
            cStatus& record = records[static_cast<std::size_t>(ancestor->index()) - 1];
            if (InheritanceRank(record.m_DesiredStatus, inheritance)
                < InheritanceRank(offered, inheritance)) {
                record.m_StatusWasInherited = true;
                record.m_DesiredStatus = offered;
            }
        }
    }
}

} // namespace vestrak::testing
