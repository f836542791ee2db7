#include "cistatus/status_inheritance.h"

#include "cistatus/status_icon.h"

#include <array>
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

namespace {

// Settles the record at position, whose descendants have all been, and offers its value to its
// parent's record.
template<typename RankOf>
void InheritInto(StatusRecords& records, std::size_t position, std::int32_t parent, const RankOf& rankOf)
{
    cStatus& record = records[position];
    const std::int32_t own = record.m_Status;
    const std::optional<std::int32_t> below
        = record.m_StatusWasInherited ? std::optional(record.m_DesiredStatus) : std::nullopt;
    record.m_StatusWasInherited = below && rankOf(*below) > rankOf(own);
    record.m_DesiredStatus = record.m_StatusWasInherited ? *below : own;
    // What the parent sees of this subtree: a descendant's value wins a tie with this record's
    // own, because the parent hears from the descendant first.
    const std::int32_t offered = below && rankOf(*below) >= rankOf(own) ? *below : own;
    if (parent == NoParentPosition) {
        return;
    }
    cStatus& parentRecord = records[static_cast<std::size_t>(parent)];
    if (!parentRecord.m_StatusWasInherited || rankOf(parentRecord.m_DesiredStatus) < rankOf(offered)) {
        parentRecord.m_DesiredStatus = offered;
        parentRecord.m_StatusWasInherited = true;
    }
}

} // namespace

void InheritStatuses(StatusRecords& records, const ParentPositionsReader& readParentPositions,
    Inheritance inheritance, const SettledRecords& settled)
{
    for (std::size_t position = 0; position < records.size(); ++position) {
        cStatus& record = records[position];
        record.m_DesiredStatus = record.m_Status;
        record.m_StatusWasInherited = false;
    }
    const auto rankOf = [inheritance](std::int32_t status) { return InheritanceRank(status, inheritance); };
    // Small enough to stay in the cache with the records it covers.
    constexpr std::size_t RunRecords = 4096;
    std::array<std::int32_t, RunRecords> parentPositions {};
    // For each record, the value its descendants offer it: the highest rank below it, taken
    // from the descendant last in node order. Children arrive last to first, so the first one
    // with a strictly higher rank is the one to keep. Until a record's turn comes, its desired
    // status holds that value, and "inherited" says whether any descendant offered one: a
    // million records need no table beside them.
    for (std::size_t end = records.size(); end > 0;) {
        const std::size_t first = end > RunRecords ? end - RunRecords : 0;
        if (inheritance != Inheritance::Off) {
            readParentPositions(first, std::span(parentPositions).first(end - first));
            for (std::size_t position = end; position-- > first;) {
                InheritInto(records, position, parentPositions[position - first], rankOf);
            }
        }
        if (settled) {
            settled(first, end);
        }
        end = first;
    }
}

} // namespace vestrak
