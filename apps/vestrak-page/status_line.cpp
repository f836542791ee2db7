#include "status_line.h"

#include <QLabel>
#include <QStatusBar>
#include <QTime>

namespace vestrak {

StatusLine::StatusLine(QStatusBar& bar, Clock now)
    : m_Bar(bar)
    , m_FileProblems(new QLabel(&bar))
    , m_Now(std::move(now))
{
    m_FileProblems->setTextFormat(Qt::PlainText);
    m_FileProblems->hide();
    bar.addPermanentWidget(m_FileProblems);
}

void StatusLine::showFileProblems(const QStringList& problems)
{
    m_FileProblems->setText(problems.isEmpty()
            ? QString()
            : QStringLiteral("Cannot read ") + problems.join(QStringLiteral("; ")));
    m_FileProblems->setVisible(!problems.isEmpty());
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
