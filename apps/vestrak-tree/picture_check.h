#pragma once

#include <optional>
#include <string>

namespace vestrak {

// Why the status tree's picture box could not show the picture file; nothing when it can.
std::optional<std::u16string> PictureProblem(const std::u16string& path);

} // namespace vestrak
