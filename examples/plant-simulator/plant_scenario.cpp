#include "plant_scenario.h"

namespace vestrak {

namespace {

constexpr std::int32_t Green = 2;
constexpr std::int32_t Amber = 3;
constexpr std::int32_t Red = 4;
constexpr std::int32_t Blinking = 0x100;
constexpr std::int32_t Duty1 = 0x1000 | Green;
constexpr std::int32_t Duty2 = 0x2000 | Green;

bool Between(int second, int from, int to)
{
    return second >= from && second < to;
}

} // namespace

std::vector<std::pair<std::string, std::int32_t>> PlantScenario::StatusesAt(int second)
{
    second %= CycleSeconds;
    const bool intakeSwapped = Between(second, 22, 52);
    std::int32_t tankAlarm = Green;
    if (Between(second, 8, 16))
        tankAlarm = Red | Blinking;
    else if (Between(second, 16, 26))
        tankAlarm = Red;
    return {
        { "WW_SCREENS_ST", Green },
        { "WW_P101_ST", intakeSwapped ? Duty2 : Duty1 },
        { "WW_P102_ST", intakeSwapped ? Duty1 : Duty2 },
        { "WW_V101_ST", Between(second, 8, 26) ? Amber : Green },
        { "WW_T101_ST", Green },
        { "WW_LS101_ST", tankAlarm },
        { "WW_F201_ST", Green },
        { "WW_F202_ST", Between(second, 30, 40) ? Amber : Green },
        { "WW_M201_ST", Between(second, 34, 40) ? Duty1 : Green },
        { "WW_A201_ST", Between(second, 45, 52) ? Amber : Green },
        { "WW_AL201_ST", Green },
        { "WW_P301_ST", Duty1 },
        { "WW_P302_ST", Duty2 },
        { "WW_V301_ST", Green },
        { "WW_T301_ST", Green },
        { "WW_LS301_ST", Green },
    };
}

} // namespace vestrak
