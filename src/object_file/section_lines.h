#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace vestrak {

// The data lines of a section as ReadIniSection gives them (each followed by NUL), kept in that
// one text: a line is a view into it. A section of tens of thousands of lines then takes two
// allocations instead of one per line.
class SectionLines {
public:
    SectionLines() = default;
    // Line i starts at starts[i] and ends at the NUL just before starts[i + 1], the last one at
    // the NUL that ends the text.
    SectionLines(std::u16string section, std::vector<std::size_t> starts);

    [[nodiscard]] std::size_t size() const { return m_Starts.size(); }
    [[nodiscard]] bool empty() const { return m_Starts.empty(); }
    [[nodiscard]] std::u16string_view operator[](std::size_t index) const;

private:
    std::u16string m_Text;
    // Where each line begins; it ends at the NUL before the next one begins.
    std::vector<std::size_t> m_Starts;
};

} // namespace vestrak
