#pragma once

#include "cistatus/status_records.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>

namespace vestrak {

constexpr std::int32_t NoParentPosition = -1;

// Whether statuses rise to the branches above, and how they are ranked on the way.
enum class Inheritance {
    // Every record shows its own status.
    Off,
    // The larger image number (low byte) wins.
    ByImage,
    // As ByImage, except that unknown (image 1) ranks above green (image 2, and the greens
    // marked through sub-states): lost data shows on a branch instead of hiding behind green.
    UnknownAboveGood,
};

// The rank of a status in an inheritance: a larger rank wins.
[[nodiscard]] std::int32_t InheritanceRank(std::int32_t status, Inheritance inheritance);

// Writes the parent positions of the records from first on into the span, which it fills.
using ParentPositionsReader = std::function<void(std::size_t first, std::span<std::int32_t> parents)>;
// What a record shows: its m_DesiredStatus and m_StatusWasInherited.
struct ShownStatus {
    std::int32_t status = 0;
    bool inherited = false;
};
// Told of the records from first on once their statuses to show are settled, with what each
// shows: a short run read again while it is at hand.
using SettledRecords = std::function<void(std::size_t first, std::span<const ShownStatus> shown)>;

// Sets every record's m_DesiredStatus to its m_Status and, unless inheritance is Off, raises it
// to the highest rank found among the record's descendants. Only a strictly higher rank
// replaces; among descendants of the same rank the one last in node order gives its whole value
// (flash bit and sub-state too), and m_StatusWasInherited marks a replaced value.
//
// The records are in node order, a pre-order of the tree, and each has the position of its
// parent (NoParentPosition for a top node), so one pass from the last record to the first
// settles every subtree before its parent: linear time, however deep the tree. The parents are
// read and the records told settled in runs, the last run first, so that what the records show
// is set while they are at hand.
void InheritStatuses(StatusRecords& records, const ParentPositionsReader& readParentPositions,
    Inheritance inheritance, const SettledRecords& settled);

} // namespace vestrak
