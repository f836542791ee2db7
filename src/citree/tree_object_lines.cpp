#include "citree/tree_object_lines.h"

#include "citree/tree_line.h"
#include "text/line_key.h"
#include "text/text.h"

#include <array>
#include <charconv>

namespace vestrak {

namespace {

// The upper-cased code, "/" and the line index: unique in the tree.
void WriteNodeKey(std::u16string_view code, std::size_t lineIndex, std::u16string& key)
{
    std::array<char, 24> digits {};
    char* end = std::to_chars(digits.data(), digits.data() + digits.size(), lineIndex).ptr;
    key.assign(code);
    key += u'/';
    key.append(digits.data(), end);
}

} // namespace

void TreeObjectLines::keyAndText(std::uint32_t lineIndex, std::u16string& key, std::u16string& text) const
{
    TreeLine line;
    ReadTreeLine(m_Lines.line(lineIndex, text), line);
    WriteNodeKey(line.code, lineIndex, key);
    if (line.text.empty()) {
        text.clear();
        return;
    }
    // The text is a part of the line decoded into text: cut the rest away around it.
    const auto start = static_cast<std::size_t>(line.text.data() - text.data());
    text.erase(start + line.text.size());
    text.erase(0, start);
}

std::uint8_t TreeObjectLines::AsciiTextStart(std::string_view line, std::string_view text)
{
    // A line without "=" has no text in it.
    if (text.data() == nullptr) {
        return 0;
    }
    const auto start = static_cast<std::size_t>(text.data() - line.data());
    const std::size_t end = start + text.size();
    if (start > UINT8_MAX
        || (end != line.size() && line.find_first_not_of(' ', end) != std::string_view::npos)) {
        return 0;
    }
    return static_cast<std::uint8_t>(start);
}

// A node's reference is its line index, which its key ends with.
std::optional<std::uint32_t> TreeObjectLines::referenceOfKey(std::u16string_view key) const
{
    return LineIndexOfKey(key);
}

// The parents follow the rule the tree is built by, over every line: a line lies under the last line
// before it whose code list holds a prefix of its code and that the lines between have not closed.
void TreeObjectLines::findParentLines() const
{
    if (!m_ParentLines.empty() || m_Lines.size() == 0)
        return;
    m_ParentLines.reserve(m_Lines.size());
    std::vector<std::pair<std::uint32_t, std::u16string>> chain;
    std::u16string room;
    TreeLine line;
    for (std::size_t index = 0; index < m_Lines.size(); ++index) {
        ReadTreeLine(m_Lines.line(index, room), line);
        while (!chain.empty() && !IsInPrefixList(chain.back().second, line.code))
            chain.pop_back();
        m_ParentLines.push_back(chain.empty() ? NoParentLine : chain.back().first);
        chain.emplace_back(static_cast<std::uint32_t>(index), line.code);
    }
}

std::vector<std::u16string> TreeObjectLines::placeOf(std::uint32_t lineIndex) const
{
    findParentLines();
    std::vector<std::u16string> place;
    std::u16string key;
    std::u16string text;
    for (std::uint32_t above = lineIndex < m_ParentLines.size() ? m_ParentLines[lineIndex] : NoParentLine;
         above != NoParentLine; above = m_ParentLines[above]) {
        keyAndText(above, key, text);
        place.insert(place.begin(), text);
    }
    return place;
}

} // namespace vestrak
