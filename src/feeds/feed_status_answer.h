#pragma once

#include "../export.h"
#include "../ports/signal.h"

namespace vestrak {

class CiStatus;
class TagStatusSource;

/// Answers one status query: every tagged object of the control gets its tag's status from the feed.
VESTRAK_FEEDS_EXPORT void AnswerStatusesFromFeed(CiStatus& control, TagStatusSource& feed);

/// Answers every GetStatus of the control from the feed while the connection is kept; the feed and
/// the control must outlive it.
[[nodiscard]] VESTRAK_FEEDS_EXPORT Connection AnswerGetStatusFromFeed(
    CiStatus& control, TagStatusSource& feed);

} // namespace vestrak
