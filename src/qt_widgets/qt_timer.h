#pragma once

#include "ports/timer.h"

#include <QTimer>

namespace vestrak {

// A timer on the Qt event loop, for live applications. A timer without a positive interval never
// fires, as on every platform the controls know (a zero-interval QTimer would fire at every turn
// of the loop).
class QtTimer final : public Timer {
public:
    QtTimer(std::int32_t intervalMilliseconds, bool enabled);

    [[nodiscard]] std::int32_t interval() const override { return m_Interval; }
    void setInterval(std::int32_t milliseconds) override;
    [[nodiscard]] bool enabled() const override { return m_Enabled; }
    void setEnabled(bool enabled) override;

private:
    void restart();

    QTimer m_Timer;
    std::int32_t m_Interval;
    bool m_Enabled = false;
};

class QtTimerFactory final : public TimerFactory {
public:
    std::unique_ptr<Timer> createTimer(std::int32_t intervalMilliseconds, bool enabled) override;
};

} // namespace vestrak
