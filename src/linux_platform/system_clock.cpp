#include "linux_platform/system_clock.h"

#include <array>
#include <ctime>

namespace vestrak {

namespace {

struct LocalTime {
    std::tm calendar {};
    long nanoseconds = 0;
};

LocalTime now()
{
    timespec instant {};
    clock_gettime(CLOCK_REALTIME, &instant);
    LocalTime result;
    localtime_r(&instant.tv_sec, &result.calendar);
    result.nanoseconds = instant.tv_nsec;
    return result;
}

std::u16string formatted(const char* format)
{
    const LocalTime local = now();
    std::array<char, 32> text {};
    const std::size_t length = std::strftime(text.data(), text.size(), format, &local.calendar);
    // The formats give ASCII digits and separators only.
    return { text.data(), text.data() + length };
}

} // namespace

double SystemClock::secondsSinceMidnight()
{
    const LocalTime local = now();
    return local.calendar.tm_hour * 3600.0 + local.calendar.tm_min * 60.0 + local.calendar.tm_sec
        + static_cast<double>(local.nanoseconds) / 1e9;
}

std::u16string SystemClock::dateText()
{
    return formatted("%Y-%m-%d");
}

std::u16string SystemClock::timeText()
{
    return formatted("%H:%M:%S");
}

} // namespace vestrak
