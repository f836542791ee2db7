#include "page_host/closest_name.h"

#include "text/encoding.h"
#include "text/text.h"

#include <algorithm>
#include <numeric>

namespace vestrak {

namespace {

constexpr std::size_t MostEditsSuggested = 2;

std::size_t EditDistance(std::u16string_view from, std::u16string_view to)
{
    std::vector<std::size_t> previous(to.size() + 1);
    std::iota(previous.begin(), previous.end(), std::size_t { 0 });
    std::vector<std::size_t> current(to.size() + 1);
    for (std::size_t i = 1; i <= from.size(); ++i) {
        current[0] = i;
        for (std::size_t j = 1; j <= to.size(); ++j) {
            const std::size_t substitution = previous[j - 1] + (from[i - 1] == to[j - 1] ? 0 : 1);
            current[j] = std::min({ previous[j] + 1, current[j - 1] + 1, substitution });
        }
        std::swap(previous, current);
    }
    return previous[to.size()];
}

} // namespace

std::optional<std::u16string> ClosestName(
    std::u16string_view typed, const std::vector<std::u16string>& candidates)
{
    const std::u16string typedUpper = ToUpper(typed);
    std::optional<std::u16string> best;
    std::size_t bestDistance = MostEditsSuggested + 1;
    for (const std::u16string& candidate : candidates) {
        const std::size_t distance = ToUpper(candidate) == typedUpper ? 0 : EditDistance(typed, candidate);
        if (distance < bestDistance) {
            best = candidate;
            bestDistance = distance;
        }
    }
    return best;
}

std::string DidYouMean(std::u16string_view typed, const std::vector<std::u16string>& candidates)
{
    const std::optional<std::u16string> closest = ClosestName(typed, candidates);
    return closest ? " (did you mean " + ToUtf8(*closest) + "?)" : std::string();
}

} // namespace vestrak
