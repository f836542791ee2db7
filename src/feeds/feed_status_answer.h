#pragma once

namespace vestrak {

class CiStatus;
class TagStatusSource;

/// Answers one status query: every tagged object of the control gets its tag's status from the feed.
void AnswerStatusesFromFeed(CiStatus& control, TagStatusSource& feed);

/// Answers every GetStatus of the control from the feed; the feed must outlive the control.
void AnswerGetStatusFromFeed(CiStatus& control, TagStatusSource& feed);

} // namespace vestrak
