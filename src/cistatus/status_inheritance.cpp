#include "cistatus/status_inheritance.h"

#include <optional>

namespace vestrak {

namespace {

constexpr std::int32_t ImageOf(std::int32_t status)
{
    return status & 0xFF;
}

} // namespace

void InheritStatuses(StatusRecords& records, std::span<const std::int32_t> parentPositions, bool inherit)
{
    for (std::size_t position = 0; position < records.size(); ++position) {
        cStatus& record = records[position];
        record.m_DesiredStatus = record.m_Status;
        record.m_StatusWasInherited = false;
    }
    if (!inherit) {
        return;
    }
    // Until a record's turn comes, its m_DesiredStatus holds the value its descendants offer it,
    // when m_StatusWasInherited says one did: the highest image below it, taken from the
    // descendant last in node order. Children arrive last to first, so the first one with a
    // strictly higher image is the one to keep. No room beside the records is needed.
    for (std::size_t position = records.size(); position-- > 0;) {
        cStatus& record = records[position];
        const std::int32_t own = record.m_Status;
        const std::optional<std::int32_t> below
            = record.m_StatusWasInherited ? std::optional(record.m_DesiredStatus) : std::nullopt;
        const bool raised = below && ImageOf(*below) > ImageOf(own);
        record.m_DesiredStatus = raised ? *below : own;
        record.m_StatusWasInherited = raised;
        // What the parent sees of this subtree: a descendant's value wins a tie with this
        // record's own, because the parent hears from the descendant first.
        const std::int32_t offered = below && ImageOf(*below) >= ImageOf(own) ? *below : own;
        const std::int32_t parent
            = position < parentPositions.size() ? parentPositions[position] : NoParentPosition;
        if (parent == NoParentPosition) {
            continue;
        }
        cStatus& parentRecord = records[static_cast<std::size_t>(parent)];
        if (!parentRecord.m_StatusWasInherited || ImageOf(parentRecord.m_DesiredStatus) < ImageOf(offered)) {
            parentRecord.m_DesiredStatus = offered;
            parentRecord.m_StatusWasInherited = true;
        }
    }
}

} // namespace vestrak
