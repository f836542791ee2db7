#pragma once

#include <QCoreApplication>
#include <QTimer>

namespace vestrak::testing {

// Runs the event loop until the condition holds, or false when it does not within the time.
template<typename Condition> bool WaitUntil(Condition condition, int milliseconds = 10000)
{
    QTimer deadline;
    deadline.setSingleShot(true);
    deadline.start(milliseconds);
    while (!condition() && deadline.isActive())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    return condition();
}

} // namespace vestrak::testing
