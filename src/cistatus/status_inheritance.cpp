#include "cistatus/status_inheritance.h"

#include "cistatus/status_icon.h"

#include <array>
#include <optional>
#include <vector>

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

// A value a settled record offers its parent, kept until the parent's turn comes.
struct Offer {
    std::int32_t parent = NoParentPosition;
    std::int32_t status = 0;
};

// Settles the records of one run, last to first, for one way of ranking. Records in node order
// come in a pre-order, so the offers still waiting when a record's turn comes are for ancestors of
// the record after it, deepest last: a record's own offer, if any, is the last one, and a record
// offers to its parent by raising the last one or adding one. The records' old values are never
// read, so no pass clears them first, and the offers take no more room than the tree is deep.
template<Inheritance Ranking>
void SettleRun(StatusRecords& records, std::size_t first, std::span<const std::int32_t> parents,
    std::vector<Offer>& waiting)
{
    const auto rankOf = [](std::int32_t status) { return InheritanceRank(status, Ranking); };
    for (std::size_t position = first + parents.size(); position-- > first;) {
        cStatus& record = records[position];
        const std::int32_t own = record.m_Status;
        const auto self = static_cast<std::int32_t>(position);
        std::optional<std::int32_t> below;
        if (!waiting.empty() && waiting.back().parent == self) {
            below = waiting.back().status;
            waiting.pop_back();
        }
        record.m_StatusWasInherited = below && rankOf(*below) > rankOf(own);
        record.m_DesiredStatus = record.m_StatusWasInherited ? *below : own;
        // What the parent sees of this subtree: a descendant's value wins a tie with this
        // record's own, because the parent hears from the descendant first.
        const std::int32_t offered = below && rankOf(*below) >= rankOf(own) ? *below : own;
        const std::int32_t parent = parents[position - first];
        if (parent == NoParentPosition) {
            continue;
        }
        // Children come last to first, so among equal ranks the first offer stays.
        if (waiting.empty() || waiting.back().parent != parent) {
            waiting.push_back({ parent, offered });
        } else if (rankOf(waiting.back().status) < rankOf(offered)) {
            waiting.back().status = offered;
        }
    }
}

void ShowOwnStatuses(StatusRecords& records, std::size_t first, std::size_t end)
{
    for (std::size_t position = first; position < end; ++position) {
        cStatus& record = records[position];
        record.m_DesiredStatus = record.m_Status;
        record.m_StatusWasInherited = false;
    }
}

} // namespace

void InheritStatuses(StatusRecords& records, const ParentPositionsReader& readParentPositions,
    Inheritance inheritance, const SettledRecords& settled)
{
    // Small enough to stay in the cache with the records it covers.
    constexpr std::size_t RunRecords = 4096;
    std::array<std::int32_t, RunRecords> parentPositions {};
    std::vector<Offer> waiting;
    for (std::size_t end = records.size(); end > 0;) {
        const std::size_t first = end > RunRecords ? end - RunRecords : 0;
        const std::span<std::int32_t> parents = std::span(parentPositions).first(end - first);
        if (inheritance != Inheritance::Off) {
            readParentPositions(first, parents);
        }
        switch (inheritance) {
        case Inheritance::Off:
            ShowOwnStatuses(records, first, end);
            break;
        case Inheritance::ByImage:
            SettleRun<Inheritance::ByImage>(records, first, parents, waiting);
            break;
        case Inheritance::UnknownAboveGood:
            SettleRun<Inheritance::UnknownAboveGood>(records, first, parents, waiting);
            break;
        }
        if (settled) {
            settled(first, end);
        }
        end = first;
    }
}

} // namespace vestrak
