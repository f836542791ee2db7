#pragma once

#include "../export.h"
#include "../ports/clock.h"

namespace vestrak {

/// The machine's clock in local time. Dates read YYYY-MM-DD and times HH:MM:SS, so log lines
/// sort by time whatever the user's locale.
class VESTRAK_CONTROLS_EXPORT SystemClock : public Clock {
public:
    double secondsSinceMidnight() override;
    std::u16string dateText() override;
    std::u16string timeText() override;
};

} // namespace vestrak
