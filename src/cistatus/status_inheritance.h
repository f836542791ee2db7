#pragma once

#include "cistatus/status_records.h"

#include <cstdint>
#include <span>

namespace vestrak {

constexpr std::int32_t NoParentPosition = -1;

// Sets every record's m_DesiredStatus to its m_Status and, when `inherit` is set, raises it to
// the highest image number (low byte) found among the record's descendants. Only a strictly
// higher image replaces; among descendants with the same image the one last in node order gives
// its whole value (flash bit and sub-state too), and m_StatusWasInherited marks a replaced value.
//
// The records are in node order, a pre-order of the tree, and parentPositions[i] is the position
// of record i's parent (NoParentPosition for a top node), so one pass from the last record to
// the first settles every subtree before its parent: linear time, however deep the tree.
void InheritStatuses(StatusRecords& records, std::span<const std::int32_t> parentPositions, bool inherit);

} // namespace vestrak
