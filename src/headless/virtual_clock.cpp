#include "headless/virtual_clock.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>

namespace vestrak {

namespace {

constexpr std::int64_t MillisecondsPerDay = 86'400'000;

std::u16string asciiText(const char* text)
{
    std::u16string wide;
    for (; *text; ++text)
        wide += static_cast<char16_t>(*text);
    return wide;
}

} // namespace

VirtualClock::VirtualClock(double startSecondsSinceMidnight, std::chrono::sys_days startDate)
    : m_StartMilliseconds(std::llround(startSecondsSinceMidnight * 1000))
    , m_StartDate(startDate)
{
}

VirtualClock::~VirtualClock() = default;

std::int64_t VirtualClock::millisecondsSinceStartOfDate() const
{
    return m_StartMilliseconds + m_Now;
}

double VirtualClock::secondsSinceMidnight()
{
    return static_cast<double>(millisecondsSinceStartOfDate() % MillisecondsPerDay) / 1000.0;
}

std::u16string VirtualClock::dateText()
{
    using namespace std::chrono;
    const sys_days day = m_StartDate + days(millisecondsSinceStartOfDate() / MillisecondsPerDay);
    const year_month_day date(day);
    char text[16];
    std::snprintf(text, sizeof text, "%04d-%02u-%02u", static_cast<int>(date.year()),
        static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()));
    return asciiText(text);
}

std::u16string VirtualClock::timeText()
{
    const std::int64_t seconds = millisecondsSinceStartOfDate() % MillisecondsPerDay / 1000;
    char text[16];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d", static_cast<int>(seconds / 3600),
        static_cast<int>(seconds / 60 % 60), static_cast<int>(seconds % 60));
    return asciiText(text);
}

std::unique_ptr<Timer> VirtualClock::createTimer(std::int32_t intervalMilliseconds, bool enabled)
{
    return std::make_unique<VirtualTimer>(*this, intervalMilliseconds, enabled);
}

VirtualTimer* VirtualClock::nextDueBy(std::int64_t deadline) const
{
    VirtualTimer* next = nullptr;
    for (VirtualTimer* timer : m_Timers) {
        if (!timer->m_Enabled || timer->m_Interval <= 0 || timer->m_NextDue > deadline)
            continue;
        if (!next || timer->m_NextDue < next->m_NextDue
            || (timer->m_NextDue == next->m_NextDue && timer->m_EnableOrder < next->m_EnableOrder))
            next = timer;
    }
    return next;
}

void VirtualClock::advance(std::int64_t milliseconds)
{
    const std::int64_t deadline = m_Now + std::max<std::int64_t>(0, milliseconds);
    // Timers are looked up afresh before each tick: a handler may enable, disable or end timers,
    // or let time pass itself, and time never runs back.
    while (VirtualTimer* timer = nextDueBy(deadline)) {
        m_Now = std::max(m_Now, timer->m_NextDue);
        timer->m_NextDue += timer->m_Interval;
        timer->Tick();
    }
    m_Now = std::max(m_Now, deadline);
}

VirtualTimer::VirtualTimer(VirtualClock& clock, std::int32_t interval, bool enabled)
    : m_Clock(clock)
    , m_Interval(interval)
{
    m_Clock.m_Timers.push_back(this);
    setEnabled(enabled);
}

VirtualTimer::~VirtualTimer()
{
    std::erase(m_Clock.m_Timers, this);
}

void VirtualTimer::restart()
{
    m_NextDue = m_Clock.m_Now + m_Interval;
    m_EnableOrder = ++m_Clock.m_EnableCount;
}

void VirtualTimer::setInterval(std::int32_t milliseconds)
{
    m_Interval = milliseconds;
    if (m_Enabled)
        restart();
}

void VirtualTimer::setEnabled(bool enabled)
{
    if (enabled && !m_Enabled)
        restart();
    m_Enabled = enabled;
}

} // namespace vestrak
