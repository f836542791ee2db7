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
    // For each record, the value its descendants offer it: the highest image below it, taken
    // from the descendant last in node order. Children arrive last to first, so the first one
    // with a strictly higher image is the one to keep. Until a record's turn comes, its desired
    // status holds that value, and "inherited" says whether any descendant offered one: a
    // million records need no table beside them.
    for (std::size_t position = records.size(); position-- > 0;) {
        cStatus& record = records[position];
        const std::int32_t own = record.m_Status;
        const std::optional<std::int32_t> below
            = record.m_StatusWasInherited ? std::optional(record.m_DesiredStatus) : std::nullopt;
        record.m_StatusWasInherited = below && ImageOf(*below) > ImageOf(own);
        record.m_DesiredStatus = record.m_StatusWasInherited ? *below : own;
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
