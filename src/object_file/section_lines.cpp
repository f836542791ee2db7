#include "object_file/section_lines.h"

#include <utility>

namespace vestrak {

SectionLines::SectionLines(std::u16string section, std::vector<std::size_t> starts)
    : m_Text(std::move(section))
    , m_Starts(std::move(starts))
{
}

std::u16string_view SectionLines::operator[](std::size_t index) const
{
    // Each line ends at the NUL just before the next line's start, the last one at the text's end.
    const std::size_t start = m_Starts[index];
    const std::size_t end = index + 1 < m_Starts.size() ? m_Starts[index + 1] : m_Text.size();
    return std::u16string_view(m_Text).substr(start, end - 1 - start);
}

} // namespace vestrak
