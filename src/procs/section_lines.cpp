#include "procs/section_lines.h"

#include <utility>

namespace vestrak {

SectionLines::SectionLines(std::u16string section)
    : m_Text(std::move(section))
{
    std::size_t start = 0;
    for (std::size_t nul = m_Text.find(u'\0'); nul != std::u16string::npos; nul = m_Text.find(u'\0', start)) {
        m_Starts.push_back(start);
        start = nul + 1;
    }
    // Nothing after the last NUL is kept.
    m_Text.resize(start);
}

std::u16string_view SectionLines::operator[](std::size_t index) const
{
    const std::size_t start = m_Starts[index];
    const std::size_t end = m_Text.find(u'\0', start);
    return std::u16string_view(m_Text).substr(start, end - start);
}

} // namespace vestrak
