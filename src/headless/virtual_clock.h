#pragma once

#include "ports/clock.h"
#include "ports/timer.h"

#include <chrono>
#include <cstdint>
#include <vector>

namespace vestrak {

class VirtualTimer;

// Time that moves only when told to, with the timers that run on it, from a start date (by default
// 2000-01-01, so that pages run the same on every day) and time of day. Every enabled timer fires once per
// whole interval elapsed since it was enabled, in time order; timers due at the same moment fire in the order
// they were enabled.
class VirtualClock final : public Clock, public TimerFactory {
public:
    static constexpr std::chrono::sys_days DefaultStartDate { std::chrono::year { 2000 }
        / std::chrono::January / 1 };

    explicit VirtualClock(
        double startSecondsSinceMidnight = 12 * 3600.0, std::chrono::sys_days startDate = DefaultStartDate);
    ~VirtualClock() override;

    void advance(std::int64_t milliseconds);
    [[nodiscard]] std::int64_t elapsedMilliseconds() const { return m_Now; }

    double secondsSinceMidnight() override;
    std::u16string dateText() override;
    std::u16string timeText() override;
    std::unique_ptr<Timer> createTimer(std::int32_t intervalMilliseconds, bool enabled) override;

private:
    friend class VirtualTimer;

    [[nodiscard]] std::int64_t millisecondsSinceStartOfDate() const;
    [[nodiscard]] VirtualTimer* nextDueBy(std::int64_t deadline) const;

    std::int64_t m_StartMilliseconds;
    std::chrono::sys_days m_StartDate;
    std::int64_t m_Now = 0;
    std::uint64_t m_EnableCount = 0;
    std::vector<VirtualTimer*> m_Timers;
};

class VirtualTimer final : public Timer {
public:
    VirtualTimer(VirtualClock& clock, std::int32_t interval, bool enabled);
    ~VirtualTimer() override;

    [[nodiscard]] std::int32_t interval() const override { return m_Interval; }
    void setInterval(std::int32_t milliseconds) override;
    [[nodiscard]] bool enabled() const override { return m_Enabled; }
    void setEnabled(bool enabled) override;

private:
    friend class VirtualClock;

    void restart();

    VirtualClock& m_Clock;
    std::int32_t m_Interval;
    bool m_Enabled = false;
    std::int64_t m_NextDue = 0;
    std::uint64_t m_EnableOrder = 0;
};

} // namespace vestrak
