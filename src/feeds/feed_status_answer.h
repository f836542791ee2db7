#pragma once

#include <QMetaObject>

namespace vestrak {

class CiStatus;
class CiStatusWidget;
class MqttTagFeed;

// Answers one status query: every tagged object of the control gets its tag's status from the feed.
void AnswerStatusesFromFeed(CiStatus& control, MqttTagFeed& feed);

// Answers every GetStatus of the widget from the feed, until the connection is broken. The feed
// must outlive the connection.
QMetaObject::Connection AnswerGetStatusFromFeed(CiStatusWidget& widget, MqttTagFeed& feed);

} // namespace vestrak
