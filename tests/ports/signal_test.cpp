#include "ports/signal.h"

#include <gtest/gtest.h>
#include <memory>
#include <string>

namespace vestrak {
namespace {

TEST(Signal, AConnectionDisconnectsWhenItGoes)
{
    auto signal = std::make_unique<Signal<int>>();
    std::string calls;
    Connection moved;
    {
        Connections group;
        group += signal->connect([&](int value) { calls += "g" + std::to_string(value); });
        Connection first = signal->connect([&](int value) { calls += "m" + std::to_string(value); });
        moved = std::move(first);
        (*signal)(1);
    }
    (*signal)(2);
    moved = Connection();
    (*signal)(3);
    EXPECT_EQ(calls, "g1m1m2");

    Connection outliving = signal->connect([&](int) { calls += "late"; });
    signal.reset();
    outliving.disconnect();
}

TEST(Signal, ARaiseSkipsHandlersDisconnectedDuringIt)
{
    auto signal = std::make_unique<Signal<>>();
    std::string calls;
    Connection second;
    Connection added;
    Connection first = signal->connect([&] {
        calls += "1";
        first.disconnect();
        second.disconnect();
        added = signal->connect([&] { calls += "A"; });
    });
    second = signal->connect([&] { calls += "2"; });
    Connection third = signal->connect([&] { calls += "3"; });
    (*signal)();
    (*signal)();
    EXPECT_EQ(calls, "133A");

    Connection ending = signal->connect([&] { signal.reset(); });
    Connection afterEnd = signal->connect([&] { calls += "!"; });
    (*signal)();
    EXPECT_EQ(signal, nullptr);
    EXPECT_EQ(calls, "133A3A");
}

} // namespace
} // namespace vestrak
