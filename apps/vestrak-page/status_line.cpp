#include "status_line.h"

#include <QStatusBar>
#include <QTime>

namespace vestrak {

StatusLine::StatusLine(QStatusBar& bar, Clock now)
    : m_Bar(bar)
    , m_Now(std::move(now))
{
}

void StatusLine::showPageMessage(const QString& text)
{
    m_PageMessageShownAt = m_Now();
    show(text);
}

void StatusLine::showEventLine(const QString& text)
{
    if (m_PageMessageShownAt && m_Now() - *m_PageMessageShownAt < PageMessageHoldMilliseconds)
        return;
    show(text);
}

// Each line with the time it came.
void StatusLine::show(const QString& text)
{
    m_Bar.showMessage(QTime::currentTime().toString(QStringLiteral("HH:mm:ss  ")) + text);
}

} // namespace vestrak
