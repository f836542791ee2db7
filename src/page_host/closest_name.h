#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vestrak {

// The candidate a mistyped name most likely meant: one that differs only in case, or else the
// nearest one within two edits. Nothing when no candidate is that close.
std::optional<std::u16string> ClosestName(
    std::u16string_view typed, const std::vector<std::u16string>& candidates);

// " (did you mean NAME?)" for the closest candidate, or nothing; to close an error message.
std::string DidYouMean(std::u16string_view typed, const std::vector<std::u16string>& candidates);

} // namespace vestrak
