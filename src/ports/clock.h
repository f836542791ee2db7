#pragma once

#include <string>

namespace vestrak {

/// The time of day, as the diagnostic log reads it.
class Clock {
public:
    virtual ~Clock() = default;

    /// Seconds since midnight, with fractions.
    virtual double secondsSinceMidnight() = 0;
    /// The current date and time of day as written in log lines.
    virtual std::u16string dateText() = 0;
    /// The current time of day as written in log lines.
    virtual std::u16string timeText() = 0;
};

} // namespace vestrak
