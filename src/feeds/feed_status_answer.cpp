#include "feeds/feed_status_answer.h"

#include "cistatus/cistatus.h"
#include "feeds/mqtt_tag_feed.h"
#include "qt/cistatus_widget.h"

namespace vestrak {

void AnswerStatusesFromFeed(CiStatus& control, MqttTagFeed& feed)
{
    for (std::u16string tag = control.ObjectTagName(); !tag.empty(); tag = control.ObjectTagName())
        control.setObjectStatus(feed.status(QString::fromStdU16String(tag)));
}

QMetaObject::Connection AnswerGetStatusFromFeed(CiStatusWidget& widget, MqttTagFeed& feed)
{
    return QObject::connect(&widget, &CiStatusWidget::GetStatus, &feed,
        [&widget, &feed] { AnswerStatusesFromFeed(widget.control(), feed); });
}

} // namespace vestrak
