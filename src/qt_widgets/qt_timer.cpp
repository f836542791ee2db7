#include "qt_widgets/qt_timer.h"

namespace vestrak {

QtTimer::QtTimer(std::int32_t intervalMilliseconds, bool enabled)
    : m_Interval(intervalMilliseconds)
{
    m_Timer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&m_Timer, &QTimer::timeout, &m_Timer, [this] { Tick(); });
    setEnabled(enabled);
}

void QtTimer::restart()
{
    if (m_Enabled && m_Interval > 0)
        m_Timer.start(m_Interval);
    else
        m_Timer.stop();
}

void QtTimer::setInterval(std::int32_t milliseconds)
{
    m_Interval = milliseconds;
    restart();
}

void QtTimer::setEnabled(bool enabled)
{
    if (enabled == m_Enabled)
        return;
    m_Enabled = enabled;
    restart();
}

std::unique_ptr<Timer> QtTimerFactory::createTimer(std::int32_t intervalMilliseconds, bool enabled)
{
    return std::make_unique<QtTimer>(intervalMilliseconds, enabled);
}

} // namespace vestrak
