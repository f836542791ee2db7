#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace vestrak {

// The example water works as it runs: every tag's status at a moment of the plant's minute-long
// cycle. The intake pumps change duty, the raw water tank's high level alarm comes, blinks, is
// acknowledged and clears, a filter loses flow for a while and the chlorine analyser drifts.
class PlantScenario {
public:
    static constexpr int CycleSeconds = 60;

    // Tag name and status, for the given second of the cycle (taken modulo its length).
    [[nodiscard]] static std::vector<std::pair<std::string, std::int32_t>> StatusesAt(int second);
};

} // namespace vestrak
