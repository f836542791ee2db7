#pragma once

#include "../ports/signal.h"

#include <cstdint>
#include <memory>

namespace vestrak {

/// A repeating timer. Enabling it (again) starts a new interval from that moment; changing the
/// interval of an enabled timer starts a new interval too.
class Timer {
public:
    virtual ~Timer() = default;

    ///@{
    /// The interval in milliseconds.
    [[nodiscard]] virtual std::int32_t interval() const = 0;
    virtual void setInterval(std::int32_t milliseconds) = 0;
    ///@}
    ///@{
    /// Whether the timer runs.
    [[nodiscard]] virtual bool enabled() const = 0;
    virtual void setEnabled(bool enabled) = 0;
    ///@}

    /// Raised once per elapsed interval while enabled.
    Signal<> Tick;
};

/// Makes timers; the container chooses real or virtual time.
class TimerFactory {
public:
    virtual ~TimerFactory() = default;

    /// A timer with that interval, running or not.
    virtual std::unique_ptr<Timer> createTimer(std::int32_t intervalMilliseconds, bool enabled) = 0;
};

} // namespace vestrak
