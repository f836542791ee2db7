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
    while (!condition()) {
        if (!deadline.isActive())
            return false;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    return true;
}

} // namespace vestrak::testing
