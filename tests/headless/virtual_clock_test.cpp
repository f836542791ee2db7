#include "headless/virtual_clock.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <string>
#include <vector>

using namespace vestrak;

TEST(VirtualClock, TimersFireOncePerWholeIntervalInTimeThenEnableOrder)
{
    VirtualClock clock;
    std::vector<std::string> fired;
    auto flash = clock.createTimer(500, true);
    auto update = clock.createTimer(100, false);
    auto filter = clock.createTimer(200, true);
    update->setEnabled(true);
    Connections connections;
    for (const auto& [timer, name] : { std::pair { flash.get(), "flash@" },
             std::pair { update.get(), "update@" }, std::pair { filter.get(), "filter@" } })
        connections += timer->Tick.connect(
            [&, name] { fired.push_back(name + std::to_string(clock.elapsedMilliseconds())); });

    clock.advance(499);
    clock.advance(1);
    EXPECT_EQ(fired,
        (std::vector<std::string> { "update@100", "filter@200", "update@200", "update@300", "filter@400",
            "update@400", "flash@500", "update@500" }));
}

TEST(VirtualClock, HandlersMayChangeTimersWhileTimeMovesOn)
{
    VirtualClock clock;
    auto update = clock.createTimer(100, true);
    auto other = clock.createTimer(100, true);
    std::vector<std::int64_t> updates;
    Connections connections;
    connections += update->Tick.connect([&] {
        updates.push_back(clock.elapsedMilliseconds());
        // Switching off for the handler and on again starts a new interval from now.
        update->setEnabled(false);
        clock.advance(0);
        update->setEnabled(true);
        other.reset();
    });
    clock.advance(350);
    update->setEnabled(false);
    clock.advance(1000);
    update->setInterval(0);
    update->setEnabled(true);
    clock.advance(1000);
    EXPECT_EQ(updates, (std::vector<std::int64_t> { 100, 200, 300 }))
        << "a timer without interval never fires";

    auto slow = clock.createTimer(100, true);
    auto fast = clock.createTimer(30, true);
    std::vector<std::int64_t> seen;
    connections += slow->Tick.connect([&] {
        slow->setEnabled(false);
        clock.advance(200);
    });
    connections += fast->Tick.connect([&] { seen.push_back(clock.elapsedMilliseconds()); });
    clock.advance(120);
    EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end())) << "time passing in a handler never runs back";
    EXPECT_EQ(clock.elapsedMilliseconds(), 2650);
}

TEST(VirtualClock, ReadsTimeOfDayAcrossMidnight)
{
    VirtualClock clock(23 * 3600 + 59 * 60 + 59.5);
    EXPECT_EQ(clock.dateText() + u" " + clock.timeText(), u"2000-01-01 23:59:59");
    EXPECT_DOUBLE_EQ(clock.secondsSinceMidnight(), 86399.5);
    clock.advance(750);
    EXPECT_EQ(clock.dateText() + u" " + clock.timeText(), u"2000-01-02 00:00:00");
    EXPECT_DOUBLE_EQ(clock.secondsSinceMidnight(), 0.25);

    using namespace std::chrono;
    VirtualClock live(23 * 3600 + 59 * 60 + 59.5, sys_days(year { 2026 } / December / 31));
    EXPECT_EQ(live.dateText(), u"2026-12-31");
    live.advance(750);
    EXPECT_EQ(live.dateText(), u"2027-01-01");
}
