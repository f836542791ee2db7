#include "cistatus/status_inheritance.h"

#include "cistatus/status_icon.h"

#include <algorithm>
#include <array>
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

// Records that already show it are only read: a tick after a few changes leaves most of their
// memory clean.
void ShowStatus(cStatus& record, ShownStatus& shown, std::int32_t desiredStatus, bool inherited)
{
    if (record.m_DesiredStatus != desiredStatus || record.m_StatusWasInherited != inherited) {
        record.m_DesiredStatus = desiredStatus;
        record.m_StatusWasInherited = inherited;
    }
    shown = { desiredStatus, inherited };
}

// A value a settled record offers its parent, kept until the parent's turn comes.
struct Offer {
    std::int32_t parent = NoParentPosition;
    std::int32_t status = 0;
};

// The offers still waiting for their records' turns, deepest last, above one for no record so
// that a last one always exists. Room is made before a run: giving an offer allocates nothing.
class WaitingOffers {
public:
    void makeRoom(std::size_t offers)
    {
        if (m_Offers.size() < m_Count + offers) {
            m_Offers.resize(std::max(2 * m_Offers.size(), m_Count + offers));
        }
    }
    [[nodiscard]] Offer& last() { return m_Offers[m_Count - 1]; }
    void dropLast() { --m_Count; }
    void add(Offer offer) { m_Offers[m_Count++] = offer; }

private:
    std::vector<Offer> m_Offers = std::vector<Offer>(1);
    std::size_t m_Count = 1;
};

// Settles the records of one run, last to first, for one way of ranking. Records in node order
// come in a pre-order, so the offers still waiting when a record's turn comes are for ancestors of
// the record after it, deepest last: the record's own offer, if any, is the last one, and its
// parent's, if any, is the last one after that. What the records showed before counts for
// nothing, so no pass clears it first, and the offers take no more room than the tree is deep.
template<Inheritance Ranking>
void SettleRun(StatusRecords& records, std::size_t first, std::span<const std::int32_t> parents,
    WaitingOffers& waiting, std::span<ShownStatus> shown)
{
    const auto rankOf = [](std::int32_t status) { return InheritanceRank(status, Ranking); };
    waiting.makeRoom(parents.size());
    for (std::size_t position = first + parents.size(); position-- > first;) {
        cStatus& record = records[position];
        const std::int32_t own = record.m_Status;
        std::int32_t offered = own;
        bool inherited = false;
        if (waiting.last().parent == static_cast<std::int32_t>(position)) {
            const std::int32_t below = waiting.last().status;
            waiting.dropLast();
            inherited = rankOf(below) > rankOf(own);
            // A descendant's value wins a tie with this record's own for the parent, because the
            // parent hears from the descendant first.
            offered = rankOf(below) >= rankOf(own) ? below : own;
        }
        ShowStatus(record, shown[position - first], inherited ? offered : own, inherited);
        const std::int32_t parent = parents[position - first];
        if (parent == NoParentPosition) {
            continue;
        }
        // Children come last to first, so among equal ranks the first offer stays.
        if (waiting.last().parent != parent) {
            waiting.add({ parent, offered });
        } else if (rankOf(waiting.last().status) < rankOf(offered)) {
            waiting.last().status = offered;
        }
    }
}

void ShowOwnStatuses(StatusRecords& records, std::size_t first, std::span<ShownStatus> shown)
{
    for (std::size_t position = first; position < first + shown.size(); ++position) {
        cStatus& record = records[position];
        ShowStatus(record, shown[position - first], record.m_Status, false);
    }
}

} // namespace

void InheritStatuses(StatusRecords& records, const ParentPositionsReader& readParentPositions,
    Inheritance inheritance, const SettledRecords& settled)
{
    // Small enough to stay in the cache with the records it covers.
    constexpr std::size_t RunRecords = 4096;
    std::array<std::int32_t, RunRecords> parentPositions {};
    std::array<ShownStatus, RunRecords> shownStatuses {};
    WaitingOffers waiting;
    for (std::size_t end = records.size(); end > 0;) {
        const std::size_t first = end > RunRecords ? end - RunRecords : 0;
        const std::span<std::int32_t> parents = std::span(parentPositions).first(end - first);
        const std::span<ShownStatus> shown = std::span(shownStatuses).first(end - first);
        if (inheritance != Inheritance::Off) {
            readParentPositions(first, parents);
        }
        switch (inheritance) {
        case Inheritance::Off:
            ShowOwnStatuses(records, first, shown);
            break;
        case Inheritance::ByImage:
            SettleRun<Inheritance::ByImage>(records, first, parents, waiting, shown);
            break;
        case Inheritance::UnknownAboveGood:
            SettleRun<Inheritance::UnknownAboveGood>(records, first, parents, waiting, shown);
            break;
        }
        if (settled) {
            settled(first, shown);
        }
        end = first;
    }
}

} // namespace vestrak
