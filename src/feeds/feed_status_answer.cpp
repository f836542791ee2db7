#include "feeds/feed_status_answer.h"

#include "cistatus/cistatus.h"
#include "feeds/tag_status_source.h"

#include <QString>

namespace vestrak {

void AnswerStatusesFromFeed(CiStatus& control, TagStatusSource& feed)
{
    for (std::u16string tag = control.ObjectTagName(); !tag.empty(); tag = control.ObjectTagName())
        control.setObjectStatus(feed.status(QString::fromStdU16String(tag)));
}

Connection AnswerGetStatusFromFeed(CiStatus& control, TagStatusSource& feed)
{
    return control.GetStatus.connect([&control, &feed] { AnswerStatusesFromFeed(control, feed); });
}

} // namespace vestrak
