#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace vestrak {

// Both controls key a node made from a line "code/line index": the number after the last "/"
// names the line. Nullopt when the key ends in no such number.
inline std::optional<std::uint32_t> LineIndexOfKey(std::u16string_view key)
{
    const std::size_t slash = key.rfind(u'/');
    if (slash == std::u16string_view::npos || slash + 1 == key.size() || key.size() - slash > 11)
        return std::nullopt;
    std::uint64_t lineIndex = 0;
    for (const char16_t digit : key.substr(slash + 1)) {
        if (digit < u'0' || digit > u'9')
            return std::nullopt;
        lineIndex = lineIndex * 10 + (digit - u'0');
    }
    if (lineIndex > UINT32_MAX)
        return std::nullopt;
    return static_cast<std::uint32_t>(lineIndex);
}

} // namespace vestrak
