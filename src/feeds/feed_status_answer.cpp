#include "feeds/feed_status_answer.h"

#include "cistatus/cistatus.h"
#include "feeds/tag_status_source.h"
#include "qt/cistatus_widget.h"

namespace vestrak {

void AnswerStatusesFromFeed(CiStatus& control, TagStatusSource& feed)
{
    for (std::u16string tag = control.ObjectTagName(); !tag.empty(); tag = control.ObjectTagName())
        control.setObjectStatus(feed.status(QString::fromStdU16String(tag)));
}

QMetaObject::Connection AnswerGetStatusFromFeed(CiStatusWidget& widget, TagStatusSource& feed)
{
    return QObject::connect(&widget, &CiStatusWidget::GetStatus, &widget,
        [&widget, &feed] { AnswerStatusesFromFeed(widget.control(), feed); });
}

} // namespace vestrak
