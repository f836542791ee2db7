#include "cistatus/status_inheritance.h"

#include "cistatus/status_icon.h"

#include <optional>

namespace vestrak {

std::int32_t InheritanceRank(std::int32_t status, Inheritance inheritance)
{
    const std::int32_t image = status & StatusImageMask;
    if (inheritance != Inheritance::UnknownAboveGood) {
        return image;
    }
    // Unknown and green trade places; every other image keeps its rank.
    switch (image) {
    case UnknownImage:
        return GreenImage;
    case GreenImage:
        return UnknownImage;
    default:
        return image;
    }
}

void InheritStatuses(
    StatusRecords& records, std::span<const std::int32_t> parentPositions, Inheritance inheritance)
{
    for (std::size_t position = 0; position < records.size(); ++position) {
        cStatus& record = records[position];
        record.m_DesiredStatus = record.m_Status;
        record.m_StatusWasInherited = false;
    }
    if (inheritance == Inheritance::Off) {
        return;
    }
    const auto rankOf = [inheritance](std::int32_t status) { return InheritanceRank(status, inheritance); };
    // For each record, the value its descendants offer it: the highest rank below it, taken
    // from the descendant last in node order. Children arrive last to first, so the first one
    // with a strictly higher rank is the one to keep. Until a record's turn comes, its desired
    // status holds that value, and "inherited" says whether any descendant offered one: a
    // million records need no table beside them.
    for (std::size_t position = records.size(); position-- > 0;) {
        cStatus& record = records[position];
        const std::int32_t own = record.m_Status;
        const std::optional<std::int32_t> below
            = record.m_StatusWasInherited ? std::optional(record.m_DesiredStatus) : std::nullopt;
        record.m_StatusWasInherited = below && rankOf(*below) > rankOf(own);
        record.m_DesiredStatus = record.m_StatusWasInherited ? *below : own;
        // What the parent sees of this subtree: a descendant's value wins a tie with this
        // record's own, because the parent hears from the descendant first.
        const std::int32_t offered = below && rankOf(*below) >= rankOf(own) ? *below : own;
        const std::int32_t parent
            = position < parentPositions.size() ? parentPositions[position] : NoParentPosition;
        if (parent == NoParentPosition) {
            continue;
        }
        cStatus& parentRecord = records[static_cast<std::size_t>(parent)];
        if (!parentRecord.m_StatusWasInherited || rankOf(parentRecord.m_DesiredStatus) < rankOf(offered)) {
            parentRecord.m_DesiredStatus = offered;
            parentRecord.m_StatusWasInherited = true;
        }
    }
}

} // namespace vestrak
