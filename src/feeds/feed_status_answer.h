#pragma once

#include <QMetaObject>

namespace vestrak {

class CiStatus;
class CiStatusWidget;
class TagStatusSource;

// Answers one status query: every tagged object of the control gets its tag's status from the feed.
void AnswerStatusesFromFeed(CiStatus& control, TagStatusSource& feed);

// Answers every GetStatus of the widget from the feed, until the connection is broken. The feed
// must outlive the connection.
QMetaObject::Connection AnswerGetStatusFromFeed(CiStatusWidget& widget, TagStatusSource& feed);

} // namespace vestrak
