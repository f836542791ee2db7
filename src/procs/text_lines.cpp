#include "procs/encoding.h"

#include <utility>

namespace vestrak {

std::optional<std::u16string_view> TakeTextLine(std::u16string_view& rest)
{
    if (rest.empty()) {
        return std::nullopt;
    }
    const std::size_t end = rest.find_first_of(u"\r\n");
    if (end == std::u16string_view::npos) {
        return std::exchange(rest, {});
    }
    const std::u16string_view line = rest.substr(0, end);
    const bool crLf = rest[end] == u'\r' && end + 1 < rest.size() && rest[end + 1] == u'\n';
    rest.remove_prefix(end + (crLf ? 2 : 1));
    return line;
}

std::vector<std::u16string> SplitTextLines(std::u16string_view text)
{
    std::vector<std::u16string> lines;
    while (const auto line = TakeTextLine(text)) {
        lines.emplace_back(*line);
    }
    return lines;
}

} // namespace vestrak
